// PLACEHOLDER until drawing lands.
#include "barcode/TBarcode.h"

namespace qbm {
void TBarcode::Draw(TCanvas&) { BuildPattern(); }
void TBarcode::PaintBars(const std::string&, TCanvas&) {}
void TBarcode::PaintText(TCanvas&) {}
} // namespace qbm
