#pragma once
// libzint's QR Code as the oracle for our encoder, and the standard's mask patterns and penalty
// rules written out module by module, to check the bit-parallel ones against.

#include "symbols/QrCodeMatrix.h"
#include "symbols/TSymbolSettings.h"

#include <zint.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace qbm::test {

// libzint's symbol for the text with the options EncodeSymbol gave it before we had our own encoder;
// size 0 where libzint refuses the text.
inline TQrMatrix ZintQrCode(std::string_view text, TQrEcc ecc, int version) {
    const std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> s(ZBarcode_Create(), ZBarcode_Delete);
    s->symbology = BARCODE_QRCODE;
    s->input_mode = UNICODE_MODE;
    s->option_1 = static_cast<int>(ecc);
    s->option_2 = version;
    s->eci = 0;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0xC4) {
            s->eci = 26;
            break;
        }
        if (b >= 0x80) s->eci = 3;
    }
    if (ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(text.data()),
                        static_cast<int>(text.size())) >= ZINT_ERROR)
        return TQrMatrix();
    TQrMatrix m(s->width);
    for (int r = 0; r < s->rows; ++r)
        for (int c = 0; c < s->width; ++c) m.Set(r, c, (s->encoded_data[r][c >> 3] >> (c & 7)) & 1);
    return m;
}

inline bool StandardMask(int mask, int i, int j) {
    switch (mask) {
    case 0:
        return (i + j) % 2 == 0;
    case 1:
        return i % 2 == 0;
    case 2:
        return j % 3 == 0;
    case 3:
        return (i + j) % 3 == 0;
    case 4:
        return (i / 2 + j / 3) % 2 == 0;
    case 5:
        return (i * j) % 2 + (i * j) % 3 == 0;
    case 6:
        return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    default:
        return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    }
}

// The four rules module by module: runs of five and more (3, plus 1 a module beyond five), 2 x 2
// blocks (3), 1:1:3:1:1 with four light modules before or after, the light quiet zone counting (40),
// and 10 for every full 5 % of dark modules away from half.
inline int ReferencePenalty(const TQrMatrix& m) {
    const int n = m.size;
    int score = 0;
    for (const bool columns : {false, true}) {
        const auto at = [&](int line, int k) {
            if (k < 0 || k >= n) return false;
            return columns ? m.Dark(k, line) : m.Dark(line, k);
        };
        for (int line = 0; line < n; ++line) {
            for (int k = 0; k < n;) {
                int end = k;
                while (end < n && at(line, end) == at(line, k)) ++end;
                if (end - k >= 5) score += end - k - 2;
                k = end;
            }
            for (int k = 0; k + 7 <= n; ++k) {
                constexpr bool kFinder[] = {true, false, true, true, true, false, true};
                bool match = true;
                for (int d = 0; d < 7; ++d) match = match && at(line, k + d) == kFinder[d];
                if (!match) continue;
                bool before = true, after = true;
                for (int d = 1; d <= 4; ++d) {
                    before = before && !at(line, k - d);
                    after = after && !at(line, k + 6 + d);
                }
                if (before || after) score += 40;
            }
        }
    }
    int dark = 0;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            dark += m.Dark(r, c);
            if (r + 1 < n && c + 1 < n && m.Dark(r, c) == m.Dark(r, c + 1) &&
                m.Dark(r, c) == m.Dark(r + 1, c) && m.Dark(r, c) == m.Dark(r + 1, c + 1))
                score += 3;
        }
    return score + 10 * static_cast<int>(std::abs(dark * 100.0 / (n * n) - 50) / 5);
}

} // namespace qbm::test
