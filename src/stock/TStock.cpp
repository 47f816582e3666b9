#include "stock/TStock.h"

#include <cstdio>

namespace qbm {
namespace {
std::string Millimetres(double a, double b) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f x %.1f mm", a, b);
    return text;
}
} // namespace

int TStock::LabelsPerSheet() const {
    int n = 0;
    for (const TStockLayout& l : layouts) n += l.nx * l.ny;
    return n;
}

std::string TStock::LabelSizeText() const {
    return Millimetres(labelWidth, labelHeight);
}

std::string TStock::GridText() const {
    if (!IsSheet()) return "roll";
    if (layouts.size() == 1) return std::to_string(layouts[0].nx) + " x " + std::to_string(layouts[0].ny);
    return std::to_string(layouts.size()) + " layouts, " + std::to_string(LabelsPerSheet()) + " labels";
}

std::string TStock::PaperText() const {
    if (!IsSheet()) return "roll";
    if (paperName == "Other") return Millimetres(pageWidth, pageHeight);
    return paperName;
}

} // namespace qbm
