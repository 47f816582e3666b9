#include "barcode2d/Pdf417Encoder.h"

#include "barcode2d/E2DBarcodeError.h"
#include "util/IntConversion.h"

#include <algorithm>
#include <string>

namespace qbm {
namespace {

constexpr uint16_t kLatchText = 900;
constexpr uint16_t kLatchByte = 901;
constexpr uint16_t kLatchByteSix = 924;
constexpr uint16_t kLatchNumeric = 902;
constexpr int kPadValue = 29; // ps/al: completes an odd count of text values
constexpr int kNumericGroup = 44;

enum TSubMode { smAlpha, smLower, smMixed, smPunct };

struct TTextEntry {
    int value = -1;
    int mask = 0;
};

// The four sub-mode tables of the standard merged: a character found in two sub-modes has the same
// value in both.
const std::array<TTextEntry, 128>& TextTable() {
    static const std::array<TTextEntry, 128> table = [] {
        std::array<TTextEntry, 128> t{};
        const std::string_view rows[4] = {
            "ABCDEFGHIJKLMNOPQRSTUVWXYZ ",
            "abcdefghijklmnopqrstuvwxyz ",
            "0123456789&\r\t,:#-.$/+%*=^\x01 ", // \x01 marks the latch at value 25
            ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'",
        };
        for (int mode = 0; mode < 4; ++mode)
            for (size_t v = 0; v < rows[mode].size(); ++v) {
                const auto c = static_cast<unsigned char>(rows[mode][v]);
                if (c == 0x01) continue;
                t[c].value = static_cast<int>(v);
                t[c].mask |= 1 << mode;
            }
        return t;
    }();
    return table;
}

bool Contains(TSubMode mode, int c) {
    return c >= 0 && c < 128 && (TextTable()[c].mask & (1 << mode)) != 0;
}

bool TextEncodable(int c) {
    return c >= 0 && c < 128 && TextTable()[c].value >= 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// One result of reading the text: a character, or codewords that go into the symbol unchanged.
struct TRead {
    bool isCharacter = true;
    int character = 0;
    std::array<uint16_t, 3> codewords{};
    int codewordCount = 0;
};

class TEncoder {
public:
    TEncoder(std::string_view code, TPdf417Codewords& out)
        : m_code(code), m_n(static_cast<int>(code.size())), m_out(out) {}

    void Run() {
        if (m_n == 0) return;
        enum class TMode { Numeric, Text, Byte };
        TMode mode = GoodForNumeric(1) ? TMode::Numeric : GoodForText(1) ? TMode::Text : TMode::Byte;
        bool first = true;
        while (m_pos <= m_n) {
            switch (mode) {
            case TMode::Byte:
                ByteCompaction();
                break;
            case TMode::Numeric:
                NumericCompaction();
                break;
            case TMode::Text:
                // A text segment of a later pass already ran when its mode was chosen.
                if (first) TextCompaction();
                break;
            }
            if (GoodForNumeric(m_pos)) {
                mode = TMode::Numeric;
            } else if (GoodForText(m_pos)) {
                // Text is in force at the start of the symbol and after a text segment (which
                // ends in text mode). Behind a byte or numeric segment the decoder must be told,
                // also in the first pass; later passes latch in any case.
                if (!first || mode != TMode::Text) AddCodeword(kLatchText);
                mode = TMode::Text;
                TextCompaction();
            } else {
                mode = TMode::Byte;
            }
            first = false;
        }
    }

private:
    // Positions are 1-based as the look-ahead rules count them.
    unsigned char At(int p) const { return static_cast<unsigned char>(m_code[p - 1]); }
    std::string_view Slice(int p, int length) const {
        if (p > m_n) return {};
        return m_code.substr(p - 1, std::min(length, m_n - p + 1));
    }

    // Neither test counts the last character.
    bool GoodForNumeric(int p) const {
        int count = 0;
        for (int q = p; q < m_n && IsDigit(static_cast<char>(At(q))); ++q) ++count;
        return count >= 14;
    }

    bool GoodForText(int p) const {
        int count = 0;
        int q = p;
        while (q < m_n && TextEncodable(At(q)) && count < 6) {
            ++count;
            ++q;
        }
        return count == 6 || (count >= 1 && q >= m_n);
    }

    void CheckRoom() const {
        if (m_out.count >= kPdf417BufferSize) throw E2DBarcodeError("Code too large for barcode");
    }

    void AddCodeword(int v) {
        CheckRoom();
        m_out.values[m_out.count++] = static_cast<uint16_t>(v);
    }

    void AddTextValue(int v) {
        CheckRoom();
        if (!m_pending) {
            m_out.values[m_out.count] = static_cast<uint16_t>(30 * v);
            m_pending = true;
        } else {
            m_out.values[m_out.count] = static_cast<uint16_t>(m_out.values[m_out.count] + v);
            ++m_out.count;
            m_pending = false;
        }
    }

    void ByteCompaction() {
        int k = 0;
        while (m_pos + k <= m_n && !GoodForNumeric(m_pos + k) && !GoodForText(m_pos + k)) ++k;
        AddCodeword(k % 6 == 0 ? kLatchByteSix : kLatchByte);
        int i = 0;
        while (i < k) {
            if (k - i < 6) {
                AddCodeword(At(m_pos + i));
                ++i;
            } else {
                for (int d : ConvertBytesToBase900(Slice(m_pos + i, 6))) AddCodeword(d);
                i += 6;
            }
        }
        m_pos += k;
    }

    void NumericCompaction() {
        AddCodeword(kLatchNumeric);
        for (;;) {
            std::string group = "1"; // keeps leading zeros of the group
            while (m_pos <= m_n && IsDigit(static_cast<char>(At(m_pos))) &&
                   static_cast<int>(group.size()) <= kNumericGroup) {
                group += static_cast<char>(At(m_pos));
                ++m_pos;
            }
            if (group.size() == 1) return;
            for (int d : ConvertToBase900(group)) AddCodeword(d);
        }
    }

    static std::array<uint16_t, 3> GliCodewords(int g, int& count) {
        if (g >= 0 && g <= 899) {
            count = 2;
            return {927, static_cast<uint16_t>(g), 0};
        }
        if (g >= 900 && g < 810900) {
            count = 3;
            return {926, static_cast<uint16_t>(g / 900 - 1), static_cast<uint16_t>(g % 900)};
        }
        if (g >= 810900 && g < 811800) {
            count = 2;
            return {925, static_cast<uint16_t>(g - 810900), 0};
        }
        throw E2DBarcodeError("GLI value out of range");
    }

    // One character or escape at the current position.
    TRead GetNextChar() {
        TRead r;
        const unsigned char c = At(m_pos);
        if (c != '\\' || m_pos == m_n) {
            r.character = c;
            ++m_pos;
            return r;
        }
        const int next = m_pos + 1;
        const unsigned char e = At(next);
        if (IsDigit(static_cast<char>(e))) {
            r.character = TryStrToInt(Slice(next, 3)).value_or(0);
            m_pos += 4;
        } else if (e == 'C' || e == 'c') {
            r.isCharacter = false;
            r.codewords[0] = static_cast<uint16_t>(TryStrToInt(Slice(next + 1, 3)).value_or(0));
            r.codewordCount = 1;
            m_pos += 5;
        } else if (e == 'X' || e == 'x') {
            r.character = TryStrToInt("$" + std::string(Slice(next + 1, 2))).value_or(0);
            m_pos += 4;
        } else if (e == '\\') {
            r.character = '\\';
            m_pos += 2;
        } else if (e == 'G' || e == 'g') {
            const int g = StrToInt(Slice(next + 1, 6));
            r.isCharacter = false;
            r.codewords = GliCodewords(g, r.codewordCount);
            m_pos += 8;
        } else {
            r.character = '\\';
            m_pos += 1;
        }
        m_pos = std::min(m_pos, m_n + 1);
        return r;
    }

    TSubMode SwitchSubMode(TSubMode from, TSubMode to, bool shift) {
        switch (from) {
        case smAlpha:
            if (to == smLower) return AddValues({27}), smLower;
            if (to == smMixed) return AddValues({28}), smMixed;
            if (shift) return AddValues({29}), smAlpha;
            return AddValues({28, 25}), smPunct;
        case smLower:
            if (to == smAlpha) {
                if (shift) return AddValues({27}), smLower;
                return AddValues({28, 28}), smAlpha;
            }
            if (to == smMixed) return AddValues({28}), smMixed;
            if (shift) return AddValues({29}), smLower;
            return AddValues({28, 25}), smPunct;
        case smMixed:
            if (to == smAlpha) return AddValues({28}), smAlpha;
            if (to == smLower) return AddValues({27}), smLower;
            if (shift) return AddValues({29}), smMixed;
            return AddValues({25}), smPunct;
        case smPunct:
            if (to == smAlpha) return AddValues({29}), smAlpha;
            if (to == smLower) return AddValues({29, 27}), smLower;
            return AddValues({29, 28}), smMixed;
        }
        return from;
    }

    void AddValues(std::initializer_list<int> values) {
        for (int v : values) AddTextValue(v);
    }

    void TextCompaction() {
        m_pending = false;
        TSubMode mode = smAlpha;
        bool lastEncodable = true;
        while (m_pos <= m_n && lastEncodable) {
            const TRead r = GetNextChar();
            if (!r.isCharacter) {
                if (m_pending) AddTextValue(kPadValue);
                for (int i = 0; i < r.codewordCount; ++i) AddCodeword(r.codewords[i]);
            } else {
                const int c = r.character;
                if (TextEncodable(c) && !Contains(mode, c)) {
                    const int mask = TextTable()[c].mask;
                    const TSubMode target = (mask & 1)   ? smAlpha
                                            : (mask & 2) ? smLower
                                            : (mask & 4) ? smMixed
                                                         : smPunct;
                    // A shift only when the character after the next one stays in the current sub-mode.
                    const bool shift = m_pos >= m_n || Contains(mode, At(m_pos + 1));
                    mode = SwitchSubMode(mode, target, shift);
                }
                if (!TextEncodable(c)) {
                    if (m_pending) AddTextValue(kPadValue);
                    AddCodeword(kLatchByte);
                    if (c < 256) AddCodeword(c);
                    AddCodeword(kLatchText);
                    lastEncodable = false;
                } else {
                    AddTextValue(TextTable()[c].value);
                }
            }
            if (GoodForNumeric(m_pos)) break;
        }
        if (m_pending) AddTextValue(kPadValue);
    }

    std::string_view m_code;
    int m_n;
    TPdf417Codewords& m_out;
    int m_pos = 1;
    bool m_pending = false;
};

} // namespace

TPdf417Codewords EncodePdf417Data(std::string_view code) {
    TPdf417Codewords out;
    TEncoder(code, out).Run();
    return out;
}

std::vector<int> ConvertToBase900(std::string_view digits) {
    std::vector<int> d(digits.size());
    for (size_t i = 0; i < digits.size(); ++i) d[i] = digits[i] - '0';
    std::vector<int> out;
    if (d.empty()) return out;
    // Two decimal digits and one division by 9 give one base-900 digit (900 = 9 x 100), so no
    // big-number arithmetic is needed.
    size_t first = 0;
    size_t last = d.size() - 1;
    while (last - first > 8) {
        const int low = 10 * d[last - 1] + d[last];
        last -= 2;
        int r = 0;
        for (size_t i = first; i <= last; ++i) {
            r = 10 * r + d[i];
            d[i] = r / 9;
            r %= 9;
        }
        out.push_back(r * 100 + low);
        if (d[first] == 0) ++first;
    }
    int64_t v = 0;
    for (size_t i = first; i <= last; ++i) v = 10 * v + d[i];
    while (v != 0) {
        out.push_back(static_cast<int>(v % 900));
        v /= 900;
    }
    std::reverse(out.begin(), out.end());
    return out;
}

std::array<int, 5> ConvertBytesToBase900(std::string_view sixBytes) {
    uint64_t v = 0;
    for (size_t i = 0; i < 6 && i < sixBytes.size(); ++i)
        v = (v << 8) | static_cast<unsigned char>(sixBytes[i]);
    std::array<int, 5> out{};
    for (int i = 4; i >= 0; --i) {
        out[i] = static_cast<int>(v % 900);
        v /= 900;
    }
    return out;
}

int Pdf417TextValue(int c) {
    return c >= 0 && c < 128 ? TextTable()[c].value : -1;
}

int Pdf417TextSubModes(int c) {
    return c >= 0 && c < 128 ? TextTable()[c].mask : 0;
}

} // namespace qbm
