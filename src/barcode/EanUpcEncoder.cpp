// PLACEHOLDER until the encoder lands: every symbology here reports that it is not built yet.
#include "barcode/Encoders.h"
#include "barcode/TBarcode.h"

namespace qbm {
std::string EncodeEAN8(TBarcode&) { throw EBarcodeError("EncodeEAN8 is not built yet"); }
std::string EncodeEAN13(TBarcode&) { throw EBarcodeError("EncodeEAN13 is not built yet"); }
std::string EncodeUPC_A(TBarcode&) { throw EBarcodeError("EncodeUPC_A is not built yet"); }
std::string EncodeUPC_E0(TBarcode&) { throw EBarcodeError("EncodeUPC_E0 is not built yet"); }
std::string EncodeUPC_E1(TBarcode&) { throw EBarcodeError("EncodeUPC_E1 is not built yet"); }
std::string EncodeUPC_Supp2(TBarcode&) { throw EBarcodeError("EncodeUPC_Supp2 is not built yet"); }
std::string EncodeUPC_Supp5(TBarcode&) { throw EBarcodeError("EncodeUPC_Supp5 is not built yet"); }
} // namespace qbm
