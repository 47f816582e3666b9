#pragma once
// The encoders: each turns a barcode's text into its bar pattern. BuildPattern picks one by type.

#include <string>

namespace qbm {

class TBarcode;

// 2 of 5
std::string EncodeCode_2_5_interleaved(TBarcode& bc);
std::string EncodeCode_2_5_industrial(TBarcode& bc);
std::string EncodeCode_2_5_matrix(TBarcode& bc);
// Code 39 and Code 93
std::string EncodeCode39(TBarcode& bc);
std::string EncodeCode39Extended(TBarcode& bc);
std::string EncodeCode93(TBarcode& bc);
std::string EncodeCode93Extended(TBarcode& bc);
// Codabar, MSI, PostNet
std::string EncodeCodabar(TBarcode& bc);
std::string EncodeMSI(TBarcode& bc);
std::string EncodePostNet(TBarcode& bc);
// Code 128 family: Code128A/B/C, EAN128A/B/C and Code128Auto share one entry.
std::string EncodeCode128(TBarcode& bc);
// EAN and UPC
std::string EncodeEAN8(TBarcode& bc);
std::string EncodeEAN13(TBarcode& bc);
std::string EncodeUPC_A(TBarcode& bc);
std::string EncodeUPC_E0(TBarcode& bc);
std::string EncodeUPC_E1(TBarcode& bc);
std::string EncodeUPC_Supp2(TBarcode& bc);
std::string EncodeUPC_Supp5(TBarcode& bc);

} // namespace qbm
