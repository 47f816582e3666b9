#include "symbols/DataMatrixSymbol.h"

#include "symbols/DataMatrixEncoder.h"
#include "symbols/MatrixSymbolGeometry.h"

namespace qbm {
namespace {

constexpr int kQuietZone = 1;

} // namespace

TSymbolGeometry EncodeDataMatrixSymbol(const TSymbolSettings& settings, std::string_view text) {
    const TDataMatrix symbol =
        EncodeDataMatrix(text, settings.shape, settings.rows, settings.columns, settings.gs1);
    return MatrixSymbolGeometry(symbol.modules.bits, symbol.modules.columns, kQuietZone);
}

} // namespace qbm
