#include "symbols/TSymbology.h"

#include <array>

namespace qbm {
namespace {

struct TNames {
    const char* name;
    const char* valueName;
};

constexpr std::array<TNames, kSymbologyCount> kNames{{
    {"QR Code", ""},
    {"Micro QR", ""},
    {"Data Matrix", ""},
    {"Aztec", ""},
    {"GS1 DataBar", "bcCodeDataBar"},
    {"GS1 DataBar Stacked", "bcCodeDataBarStacked"},
    {"GS1 DataBar Limited", "bcCodeDataBarLimited"},
    {"GS1 DataBar Expanded", "bcCodeDataBarExpanded"},
    {"Intelligent Mail", "bcCodeIMb"},
}};

} // namespace

std::string SymbologyName(TSymbology symbology) {
    return kNames[static_cast<size_t>(symbology)].name;
}

std::string SymbologyValueName(TSymbology symbology) {
    return kNames[static_cast<size_t>(symbology)].valueName;
}

std::optional<TSymbology> SymbologyByValueName(std::string_view valueName) {
    for (size_t i = 0; i < kNames.size(); ++i)
        if (*kNames[i].valueName && valueName == kNames[i].valueName) return static_cast<TSymbology>(i);
    return std::nullopt;
}

bool IsMatrixSymbology(TSymbology symbology) {
    return symbology <= TSymbology::Aztec;
}

} // namespace qbm
