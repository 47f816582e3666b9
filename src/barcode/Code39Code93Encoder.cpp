// PLACEHOLDER until the encoder lands: every symbology here reports that it is not built yet.
#include "barcode/Encoders.h"
#include "barcode/TBarcode.h"

namespace qbm {
std::string EncodeCode39(TBarcode&) { throw EBarcodeError("EncodeCode39 is not built yet"); }
std::string EncodeCode39Extended(TBarcode&) { throw EBarcodeError("EncodeCode39Extended is not built yet"); }
std::string EncodeCode93(TBarcode&) { throw EBarcodeError("EncodeCode93 is not built yet"); }
std::string EncodeCode93Extended(TBarcode&) { throw EBarcodeError("EncodeCode93Extended is not built yet"); }
} // namespace qbm
