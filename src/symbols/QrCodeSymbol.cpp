#include "symbols/QrCodeSymbol.h"

#include "symbols/ESymbolError.h"
#include "symbols/MatrixSymbolGeometry.h"
#include "symbols/QrCodeEncoder.h"

#include <string>

namespace qbm {
namespace {

constexpr int kQuietZone = 4;

} // namespace

TSymbolGeometry QrCodeGeometry(const TQrMatrix& modules) {
    return MatrixSymbolGeometry(modules.rows, modules.size, kQuietZone);
}

TSymbolGeometry EncodeQrCodeSymbol(const TSymbolSettings& settings, std::string_view text) {
    if (settings.version < 0 || settings.version > kQrMaxVersion)
        throw ESymbolError("QR Code version must be 1 to 40");
    if (text.empty()) throw ESymbolError("QR Code: there is no text to encode");
    try {
        return QrCodeGeometry(EncodeQrCode(text, settings.qrEcc, settings.version).modules);
    } catch (const ESymbolError& e) {
        throw ESymbolError(std::string("QR Code: ") + e.what());
    }
}

} // namespace qbm
