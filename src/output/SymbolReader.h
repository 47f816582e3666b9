#pragma once
// A barcode reader for label pictures: the general reader for the symbologies it knows, our own bar
// pattern reader for the others. What it reads is the data a scanner would hand on, as bytes.

#include "barcode/TBarcodeTypes.h"
#include "output/TGreyPicture.h"
#include "symbols/TSymbology.h"

#include <optional>
#include <string>

namespace qbm {

// Whether labels of the type can be read back at all (the UPC supplements only scan behind a main
// symbol, which this product never prints with them).
bool CanReadLinear(TBarcodeType type);

// The data of the linear symbol in the picture; `checksum` says whether the Code 39 check character
// is to be checked and left out, as a scanner set up for it does.
std::optional<std::string> ReadLinearSymbol(const TGreyPicture& picture, TBarcodeType type, bool checksum);

// Whether symbols of the symbology can be read back (Micro QR cannot, by this reader).
bool CanReadSymbology(TSymbology symbology);

// The text (UTF-8, as its ECI says) of the QR Code, Data Matrix, Aztec or GS1 DataBar symbol in the
// picture; GS1 data comes with its identifiers run together.
std::optional<std::string> ReadSymbologyText(const TGreyPicture& picture, TSymbology symbology);

// The data of the PDF417 or MaxiCode symbol in the picture.
std::optional<std::string> Read2DSymbol(const TGreyPicture& picture, bool maxiCode);

} // namespace qbm
