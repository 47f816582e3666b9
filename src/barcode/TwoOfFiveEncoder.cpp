// PLACEHOLDER until the encoder lands: every symbology here reports that it is not built yet.
#include "barcode/Encoders.h"
#include "barcode/TBarcode.h"

namespace qbm {
std::string EncodeCode_2_5_interleaved(TBarcode&) { throw EBarcodeError("EncodeCode_2_5_interleaved is not built yet"); }
std::string EncodeCode_2_5_industrial(TBarcode&) { throw EBarcodeError("EncodeCode_2_5_industrial is not built yet"); }
std::string EncodeCode_2_5_matrix(TBarcode&) { throw EBarcodeError("EncodeCode_2_5_matrix is not built yet"); }
} // namespace qbm
