#include "symbols/ZintSymbolEncoder.h"

#include "surface/TModuleRectBuilder.h"
#include "symbols/DataMatrixSymbol.h"
#include "symbols/ESymbolError.h"
#include "symbols/Gs1ElementString.h"
#include "symbols/QrCodeSymbol.h"

#include <zint.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace qbm {
namespace {

struct TZintDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
using TZintSymbol = std::unique_ptr<zint_symbol, TZintDeleter>;

// The encoder's symbol of this thread, cleared and with the options of a new one: a new symbol is
// some 30 KB zeroed, a tenth of the time a Data Matrix label takes. Nothing of one text reaches the
// next.
zint_symbol& ReusedSymbol() {
    thread_local const TZintSymbol symbol(ZBarcode_Create());
    if (!symbol) throw std::bad_alloc();
    zint_symbol& s = *symbol;
    ZBarcode_Clear(&s);
    s.height = 0;
    s.scale = 1;
    s.whitespace_width = s.whitespace_height = 0;
    s.border_width = 0;
    s.output_options = 0;
    s.option_1 = -1;
    s.option_2 = s.option_3 = 0;
    s.show_hrt = 1;
    s.input_mode = DATA_MODE;
    s.eci = 0;
    s.primary[0] = '\0';
    return s;
}

// Texts beyond ASCII are marked with their character set: readers guess at unmarked bytes (a Latin-1
// accent often comes back as a Japanese character). ECI 3 is Latin-1, a byte a character; ECI 26 is
// UTF-8, for everything beyond.
constexpr int kLatin1Eci = 3;
constexpr int kUtf8Eci = 26;
// libzint's vector unit is twice the module at this scale.
constexpr float kModulesScale = 0.5f;
// Where a text's baseline lies in its cell, as a share of the cell height from the top.
constexpr double kBaselineInCell = 0.8;

int ZintType(TSymbology symbology) {
    switch (symbology) {
    case TSymbology::QrCode:
        return BARCODE_QRCODE;
    case TSymbology::MicroQr:
        return BARCODE_MICROQR;
    case TSymbology::DataMatrix:
        return BARCODE_DATAMATRIX;
    case TSymbology::Aztec:
        return BARCODE_AZTEC;
    case TSymbology::DataBar:
        return BARCODE_DBAR_OMN;
    case TSymbology::DataBarStacked:
        return BARCODE_DBAR_STK;
    case TSymbology::DataBarLimited:
        return BARCODE_DBAR_LTD;
    case TSymbology::DataBarExpanded:
        return BARCODE_DBAR_EXP;
    case TSymbology::IntelligentMail:
        return BARCODE_USPS_IMAIL;
    }
    return BARCODE_QRCODE;
}

// The ECI the UTF-8 text needs, 0 for ASCII: lead bytes from 0xC4 on start characters beyond U+00FF.
int EciFor(std::string_view utf8) {
    int eci = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xC4) return kUtf8Eci;
        if (byte >= 0x80) eci = kLatin1Eci;
    }
    return eci;
}

std::string ZintElementString(std::string_view text) {
    std::string out;
    for (const TGs1Element& e : ParseGs1ElementString(text)) out += "[" + e.ai + "]" + e.data;
    return out;
}

// A GTIN for the DataBar symbols that hold one: 13 digits (the check digit is added), 14 with the
// check digit, or the element string "(01)" and 14 digits. libzint takes the 13 digits.
std::string DataBarGtin(std::string_view text) {
    std::string digits(text.starts_with("(01)") ? text.substr(4) : text);
    const bool allDigits = !digits.empty() && std::all_of(digits.begin(), digits.end(),
                                                          [](char c) { return c >= '0' && c <= '9'; });
    if (!allDigits || (digits.size() != 13 && digits.size() != 14))
        throw ESymbolError("GS1 DataBar holds a GTIN: 13 digits, or 14 with the check digit");
    if (digits.size() == 14) ParseGs1ElementString("(01)" + digits);
    return digits.substr(0, 13);
}

// Intelligent Mail takes the 20 digits of the tracking code and the 5, 9 or 11 of the routing code run
// together (25, 29 or 31 digits); the encoder wants a hyphen between the two.
std::string ImbTrackingAndRouting(std::string_view text) {
    constexpr size_t kTrackingDigits = 20;
    const bool digits = std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || text.size() <= kTrackingDigits) return std::string(text);
    return std::string(text.substr(0, kTrackingDigits)) + "-" + std::string(text.substr(kTrackingDigits));
}

int AztecLevel(int percent) {
    if (percent < 0 || percent > 50) throw ESymbolError("Aztec error correction must be 1 to 50 per cent");
    if (percent == 0) return 0;
    // The four levels the encoder has: 10, 23, 36 and 50 % of the data, each plus three codewords.
    constexpr int kLevels[] = {10, 23, 36, 50};
    int level = 1;
    while (kLevels[level - 1] < percent) ++level;
    return level;
}

std::string ZintMessage(const zint_symbol& sym) {
    std::string text = sym.errtxt;
    // "Error 773: Input too long ..." - the number means nothing to a user.
    const size_t colon = text.find(": ");
    if (colon != std::string::npos && colon < 14) text.erase(0, colon + 2);
    return text;
}

// Sets the options; gives the data libzint is to encode.
std::string Configure(zint_symbol& sym, const TSymbolSettings& s, std::string_view text) {
    sym.symbology = ZintType(s.symbology);
    sym.output_options |= BARCODE_QUIET_ZONES;
    sym.scale = kModulesScale;
    sym.show_hrt = s.showText ? 1 : 0;
    sym.input_mode = UNICODE_MODE;
    const int eci = EciFor(text);
    switch (s.symbology) {
    case TSymbology::QrCode:
        if (s.version < 0 || s.version > 40) throw ESymbolError("QR Code version must be 1 to 40");
        sym.option_1 = static_cast<int>(s.qrEcc);
        sym.option_2 = s.version;
        sym.eci = eci;
        return std::string(text);
    case TSymbology::MicroQr:
        if (s.version < 0 || s.version > 4) throw ESymbolError("Micro QR version must be M1 to M4");
        if (s.qrEcc == TQrEcc::H) throw ESymbolError("Micro QR has no error correction level H");
        sym.option_1 = static_cast<int>(s.qrEcc);
        sym.option_2 = s.version;
        return std::string(text);
    case TSymbology::Aztec:
        sym.option_1 = AztecLevel(s.aztecEccPercent);
        sym.eci = eci;
        return std::string(text);
    case TSymbology::DataBar:
    case TSymbology::DataBarStacked:
    case TSymbology::DataBarLimited:
        return DataBarGtin(text);
    case TSymbology::DataBarExpanded:
        sym.input_mode = GS1_MODE;
        return ZintElementString(text);
    case TSymbology::IntelligentMail:
        return ImbTrackingAndRouting(text);
    case TSymbology::DataMatrix: // our own encoder's (DataMatrixSymbol.h)
        return std::string(text);
    }
    return std::string(text);
}

// The quiet zone of the matrix symbols, in modules on every side: ISO/IEC 18004 (QR Code: 4, Micro
// QR: 2), ISO/IEC 16022 (Data Matrix: 1); Aztec needs none, its finder is in the middle.
int MatrixQuietZone(TSymbology symbology) {
    switch (symbology) {
    case TSymbology::QrCode:
        return 4;
    case TSymbology::MicroQr:
        return 2;
    case TSymbology::DataMatrix:
        return 1;
    default:
        return 0;
    }
}

// A matrix symbol straight from the encoder's modules, its dark runs gathered into rectangles: the
// encoder's vector output would take longer to make than the whole encoding.
TSymbolGeometry FromMatrix(const zint_symbol& sym, TSymbology symbology) {
    const int quiet = MatrixQuietZone(symbology);
    TSymbolGeometry g;
    g.width = sym.width + 2 * quiet;
    g.height = sym.rows + 2 * quiet;
    g.quietX = g.quietY = quiet;
    const auto isSet = [&](int row, int column) {
        return (sym.encoded_data[row][column >> 3] >> (column & 7)) & 1;
    };
    // About one run in every four modules of a row, a third of them below an equal one.
    g.rects.reserve(static_cast<size_t>(sym.rows) * (sym.width / 6 + 1));
    TModuleRectBuilder rects(g.rects, sym.width, quiet);
    TModuleRows& m = g.modules;
    m = {sym.width, sym.rows, (sym.width + 7) / 8, quiet, quiet, {}};
    m.bits.resize(static_cast<size_t>(m.rows) * m.bytesPerRow);
    for (int row = 0; row < sym.rows; ++row, rects.NextRow()) {
        // The encoder's row as it is: its bits are in the same order.
        std::memcpy(m.bits.data() + static_cast<size_t>(row) * m.bytesPerRow, sym.encoded_data[row],
                    static_cast<size_t>(m.bytesPerRow));
        if (sym.width % 8 != 0)
            m.bits[static_cast<size_t>(row + 1) * m.bytesPerRow - 1] &= (1u << (sym.width % 8)) - 1;
        for (int column = 0; column < sym.width;) {
            if (!isSet(row, column)) {
                // Eight light modules at a time.
                if ((column & 7) == 0 && sym.encoded_data[row][column >> 3] == 0)
                    column += 8;
                else
                    ++column;
                continue;
            }
            const int start = column;
            while (column < sym.width && isSet(row, column)) ++column;
            rects.AddRun(start, column);
        }
    }
    return g;
}

TSymbolGeometry FromVector(const zint_symbol& sym) {
    const zint_vector& v = *sym.vector;
    TSymbolGeometry g;
    g.width = v.width;
    g.height = v.height;
    g.quietX = std::max(0.0, (v.width - sym.width) / 2.0);
    for (const zint_vector_rect* r = v.rectangles; r; r = r->next)
        if (r->colour != 0) g.rects.push_back({r->x, r->y, r->width, r->height});
    for (const zint_vector_hexagon* h = v.hexagons; h; h = h->next)
        g.hexagons.push_back({h->x, h->y, h->diameter});
    for (const zint_vector_circle* c = v.circles; c; c = c->next)
        g.rings.push_back({c->x, c->y, c->diameter, c->width});
    for (const zint_vector_string* t = v.strings; t; t = t->next) {
        const TTextAlign align = t->halign == 1   ? TTextAlign::Left
                                 : t->halign == 2 ? TTextAlign::Right
                                                  : TTextAlign::Centre;
        g.texts.push_back({reinterpret_cast<const char*>(t->text), t->x, t->y - kBaselineInCell * t->fsize,
                           t->fsize, align});
    }
    return g;
}

} // namespace

TSymbolGeometry EncodeSymbol(const TSymbolSettings& settings, std::string_view text) {
    // Our own encoders: libzint spends most of a QR Code label choosing the mask, and most of a Data
    // Matrix label in its encodation.
    if (settings.symbology == TSymbology::QrCode) return EncodeQrCodeSymbol(settings, text);
    if (settings.symbology == TSymbology::DataMatrix) return EncodeDataMatrixSymbol(settings, text);
    zint_symbol* const sym = &ReusedSymbol();
    const std::string data = Configure(*sym, settings, text);
    const std::string name = SymbologyName(settings.symbology);
    if (data.empty()) throw ESymbolError(name + ": there is no text to encode");
    const int rc = ZBarcode_Encode(sym, reinterpret_cast<const unsigned char*>(data.data()),
                                   static_cast<int>(data.size()));
    if (rc >= ZINT_ERROR) throw ESymbolError(name + ": " + ZintMessage(*sym));
    if (IsMatrixSymbology(settings.symbology)) return FromMatrix(*sym, settings.symbology);
    // The linear symbols' bar heights, separators and text positions are the encoder's to know.
    if (ZBarcode_Buffer_Vector(sym, 0) >= ZINT_ERROR) throw ESymbolError(name + ": " + ZintMessage(*sym));
    return FromVector(*sym);
}

} // namespace qbm
