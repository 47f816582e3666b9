#include "cli/SymbolCommand.h"
#include "util/IntConversion.h"

#include <string>

namespace qbm::cli {
namespace {

TQrEcc ParseQrEcc(const std::string& value, bool micro) {
    if (value == "L") return TQrEcc::L;
    if (value == "M") return TQrEcc::M;
    if (value == "Q") return TQrEcc::Q;
    if (value == "H" && !micro) return TQrEcc::H;
    throw UsageError(std::string("--ecc takes ") + (micro ? "L, M or Q" : "L, M, Q or H") + ", not '" +
                     value + "'");
}

int Version(const Args& args, int last) {
    const auto value = args.Value("--version");
    if (!value) return 0;
    const auto n = TryStrToInt(*value);
    if (!n || *n < 1 || *n > last) throw UsageError("--version must be 1 to " + std::to_string(last));
    return *n;
}

int RunQrCode(const Args& args) {
    TSymbolSettings settings;
    settings.symbology = TSymbology::QrCode;
    if (const auto ecc = args.Value("--ecc")) settings.qrEcc = ParseQrEcc(*ecc, false);
    settings.version = Version(args, 40);
    return DrawSymbol(args, 0, settings, 4);
}

int RunMicroQr(const Args& args) {
    TSymbolSettings settings;
    settings.symbology = TSymbology::MicroQr;
    if (const auto ecc = args.Value("--ecc")) settings.qrEcc = ParseQrEcc(*ecc, true);
    settings.version = Version(args, 4);
    return DrawSymbol(args, 0, settings, 4);
}

Options QrOptions(const char* ecc, const char* eccHelp, const char* versionHelp) {
    return Join({{{"--ecc", ecc, eccHelp}, {"--version", "N", versionHelp}}, SymbolOptionTable()});
}

} // namespace

QBM_REGISTER_COMMAND(Command{
    .name = "qrcode",
    .summary = "draw a QR Code symbol",
    .synopsis = "TEXT --out FILE [OPTIONS]",
    .description = "Draws TEXT (UTF-8; text beyond ASCII tells the reader its character set by an ECI) as a\n"
                   "QR Code with its quiet zone of four modules.",
    .options = QrOptions("L|M|Q|H",
                         "error correction: 7, 15, 25 or 30 % of the symbol may be lost (default M)",
                         "symbol size 1 (21 x 21 modules) to 40 (177 x 177); by default the\n"
                         "smallest that holds the text"),
    .run = RunQrCode});
QBM_REGISTER_COMMAND(Command{
    .name = "microqr",
    .summary = "draw a Micro QR symbol",
    .synopsis = "TEXT --out FILE [OPTIONS]",
    .description = "Draws TEXT as a Micro QR symbol (up to 35 digits or 21 characters) with its quiet zone\n"
                   "of two modules.",
    .options = QrOptions("L|M|Q", "error correction (M1 has error detection only)",
                         "M1 to M4 as 1 to 4; by default the smallest that holds the text"),
    .run = RunMicroQr});

} // namespace qbm::cli
