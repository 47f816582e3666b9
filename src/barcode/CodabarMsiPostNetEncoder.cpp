// PLACEHOLDER until the encoder lands: every symbology here reports that it is not built yet.
#include "barcode/Encoders.h"
#include "barcode/TBarcode.h"

namespace qbm {
std::string EncodeCodabar(TBarcode&) { throw EBarcodeError("EncodeCodabar is not built yet"); }
std::string EncodeMSI(TBarcode&) { throw EBarcodeError("EncodeMSI is not built yet"); }
std::string EncodePostNet(TBarcode&) { throw EBarcodeError("EncodePostNet is not built yet"); }
} // namespace qbm
