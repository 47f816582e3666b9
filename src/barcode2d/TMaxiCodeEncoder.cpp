#include "barcode2d/TMaxiCodeEncoder.h"

#include "barcode2d/E2DBarcodeError.h"
#include "barcode2d/TMaxiCodeCarrier.h"
#include "util/IntConversion.h"

namespace qbm {
namespace {

constexpr int kCodeSetCount = 5;
constexpr int kPad = 33;
constexpr int kPadSetE = 28;
constexpr int kEci = 27;
constexpr int kNumericShift = 31; // NS
constexpr int kShiftAB = 59;      // A: shift B; B: shift A
constexpr int kLatchAB = 63;      // A: latch B; B: latch A; C, D, E: latch B
constexpr int kLatchA = 58;       // from C, D, E
constexpr int kShiftC = 60;       // 61 shift D, 62 shift E
constexpr int kPrimaryLength = 9;
constexpr int kMaxMessage = 84;
constexpr int kMaxMessageMode5 = 68;

using TCodeSetTable = std::array<std::array<int8_t, 256>, kCodeSetCount>;

// The character assignments of the five code sets of ISO/IEC 16023 (Latin-1 character codes).
constexpr TCodeSetTable MakeCodeSets() {
    TCodeSetTable t{};
    for (auto& set : t)
        for (auto& v : set) v = -1;
    auto put = [&t](int set, int c, int v) { t[set][c] = static_cast<int8_t>(v); };
    auto range = [&put](int set, int from, int to, int first) {
        for (int c = from; c <= to; ++c) put(set, c, first + c - from);
    };
    for (int s = 0; s < 4; ++s) range(s, 28, 30, 28); // FS, GS, RS in A to D
    // A
    put(0, 13, 0);
    range(0, 'A', 'Z', 1);
    put(0, ' ', 32);
    range(0, 34, 58, 34);
    // B
    put(1, 96, 0);
    range(1, 'a', 'z', 1);
    put(1, '{', 32);
    // Set B holds full stop 49 and slash 50, as scanners read them; the hyphen is in set A only.
    const int setB[] = {'}', '~', 127, ';', '<', '=', '>', '?', '[', '\\', ']',
                        '^', '_', ' ', ',', '.', '/', ':', '@', '!', '|'};
    for (int i = 0; i < 21; ++i) put(1, setB[i], 34 + i);
    // C
    range(2, 192, 218, 0);
    range(2, 219, 223, 32);
    const int setC[] = {170, 172, 177, 178, 179, 181, 185, 186, 188, 189, 190};
    for (int i = 0; i < 11; ++i) put(2, setC[i], 37 + i);
    range(2, 128, 137, 48);
    put(2, ' ', 59);
    // D
    range(3, 224, 250, 0);
    range(3, 251, 255, 32);
    const int setD[] = {161, 168, 171, 175, 176, 180, 183, 184, 187, 191};
    for (int i = 0; i < 10; ++i) put(3, setD[i], 37 + i);
    range(3, 138, 148, 47);
    put(3, ' ', 59);
    // E
    range(4, 0, 26, 0);
    put(4, 27, 30);
    range(4, 28, 31, 32);
    put(4, 159, 36);
    put(4, 160, 37);
    range(4, 162, 167, 38);
    put(4, 169, 44);
    put(4, 173, 45);
    put(4, 174, 46);
    put(4, 182, 47);
    range(4, 149, 158, 48);
    put(4, ' ', 59);
    return t;
}

constexpr TCodeSetTable kCodeSets = MakeCodeSets();

int SetIndex(TMaxiCodeEncoder::TCodeSet s) {
    return static_cast<int>(s);
}

bool IsShiftedSet(TMaxiCodeEncoder::TCodeSet s) {
    return SetIndex(s) >= 2;
}

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

[[noreturn]] void Fail(const char* message) {
    throw E2DBarcodeError(message);
}

} // namespace

bool TMaxiCodeEncoder::IsNumericPostalCode(const std::string& postalCode) {
    for (char c : postalCode)
        if (c < '0' || c > '9') return false;
    return true;
}

int TMaxiCodeEncoder::CodewordInSet(TCodeSet set, int c) {
    if (c < 0 || c > 255) return -1;
    return kCodeSets[SetIndex(set)][c];
}

TMaxiCodeEncoder::TCodeSet TMaxiCodeEncoder::FirstCodeSet(int c) {
    for (int s = 0; s < kCodeSetCount; ++s)
        if (CodewordInSet(static_cast<TCodeSet>(s), c) >= 0) return static_cast<TCodeSet>(s);
    return TCodeSet::csA;
}

void TMaxiCodeEncoder::AddMessageCodeword(int v) {
    if (m_messageLength < kBufferSize) m_message[m_messageLength] = static_cast<uint8_t>(v);
    ++m_messageLength;
}

void TMaxiCodeEncoder::Encode(const TInput& input) {
    m_codewords.fill(0);
    m_message.fill(0);
    m_messageLength = 0;
    switch (input.mode) {
    case cmMode2:
    case cmMode3:
        m_codewords[0] = IsNumericPostalCode(input.postalCode) ? 2 : 3;
        break;
    case cmMode4:
        m_codewords[0] = 4;
        break;
    case cmMode5:
        m_codewords[0] = 5;
        break;
    case cmMode6:
        m_codewords[0] = 6;
        break;
    }
    if (m_codewords[0] <= 3) EncodePrimary(input);
    EncodeMessage(input);
    PlaceMessage(input.mode);
}

void TMaxiCodeEncoder::EncodePrimary(const TInput& input) {
    // A carrier value beyond what the primary message holds would be cut or wrapped.
    if (const TCarrierProblem p =
            CheckCarrier({input.mode, input.postalCode, input.countryCode, input.serviceClass}))
        throw E2DBarcodeError(p.message);
    const int mode = m_codewords[0] & 15;
    for (int i = 1; i <= 9; ++i) m_codewords[i] = 0;
    const uint32_t country = static_cast<uint32_t>(input.countryCode) & 0x3FF;
    const uint32_t service = static_cast<uint32_t>(input.serviceClass) & 0x3FF;
    auto& cw = m_codewords;
    if (mode == 2) {
        const auto parsed = TryStrToInt(input.postalCode);
        if (!parsed) Fail("Invalid Postal Code");
        const uint32_t p = static_cast<uint32_t>(*parsed);
        const uint32_t len = static_cast<uint32_t>(input.postalCode.size());
        cw[0] = static_cast<uint8_t>(((p & 3) << 4) | 2);
        cw[1] = (p >> 2) & 63;
        cw[2] = (p >> 8) & 63;
        cw[3] = (p >> 14) & 63;
        cw[4] = (p >> 20) & 63;
        cw[5] = static_cast<uint8_t>(((len & 3) << 4) | ((p >> 26) & 15));
        cw[6] = static_cast<uint8_t>(((country & 3) << 4) | ((len >> 2) & 15));
    } else {
        // Six characters of set A, upper-cased and padded with spaces.
        std::string text = input.postalCode + "      ";
        int p[7] = {};
        for (int i = 1; i <= 6; ++i) {
            const int v = CodewordInSet(TCodeSet::csA, static_cast<unsigned char>(UpperAscii(text[i - 1])));
            p[i] = v >= 0 ? v : 32;
        }
        cw[0] = static_cast<uint8_t>(((p[6] & 3) << 4) | 3);
        cw[1] = static_cast<uint8_t>(((p[5] & 3) << 4) | (p[6] >> 2));
        cw[2] = static_cast<uint8_t>(((p[4] & 3) << 4) | (p[5] >> 2));
        cw[3] = static_cast<uint8_t>(((p[3] & 3) << 4) | (p[4] >> 2));
        cw[4] = static_cast<uint8_t>(((p[2] & 3) << 4) | (p[3] >> 2));
        cw[5] = static_cast<uint8_t>(((p[1] & 3) << 4) | (p[2] >> 2));
        cw[6] = static_cast<uint8_t>(((country & 3) << 4) | (p[1] >> 2));
    }
    cw[7] = (country >> 2) & 63;
    cw[8] = static_cast<uint8_t>(((service & 15) << 2) | ((country >> 8) & 3));
    cw[9] = (service >> 4) & 63;
}

std::optional<int> TMaxiCodeEncoder::GetNextChar(const std::string& code, size_t& pos) {
    const size_t n = code.size();
    const unsigned char ch = static_cast<unsigned char>(code[pos]);
    if (ch != '\\' || pos + 1 >= n) {
        ++pos;
        return ch;
    }
    const char e = code[pos + 1];
    auto backslashOnly = [&pos]() {
        ++pos;
        return std::optional<int>('\\');
    };
    if (e >= '0' && e <= '9') {
        const std::string digits = code.substr(pos + 1, 3);
        pos += 1 + digits.size();
        const int v = TryStrToInt(digits).value_or(0);
        // A character code beyond 8 bits has no place in any code set.
        if (v < 0 || v > 255) Fail("Invalid Codeword");
        return v;
    }
    switch (e) {
    case 'C':
    case 'c': {
        const std::string digits = code.substr(pos + 2, 2);
        pos += 2 + digits.size();
        const int v = TryStrToInt(digits).value_or(0);
        // A MaxiCode codeword has six bits.
        if (v < 0 || v > 63) Fail("Invalid Codeword");
        AddMessageCodeword(v);
        return std::nullopt;
    }
    case 'X':
    case 'x': {
        const std::string digits = code.substr(pos + 2, 2);
        pos += 2 + digits.size();
        return TryStrToInt("$" + digits).value_or(0);
    }
    case '\\':
        pos += 2;
        return '\\';
    case 'E':
    case 'e': {
        if (pos + 3 < n && UpperAscii(code[pos + 2]) == 'O' && UpperAscii(code[pos + 3]) == 'T') {
            pos += 4;
            return 4;
        }
        const std::string digits = code.substr(pos + 2, 6);
        const auto eci = TryStrToInt(digits);
        if (!eci) return backslashOnly();
        pos += 2 + digits.size();
        AddEci(*eci);
        return std::nullopt;
    }
    case 'F':
    case 'f':
    case 'G':
    case 'g':
    case 'R':
    case 'r':
    case 'N':
    case 'n': {
        if (pos + 2 >= n || UpperAscii(code[pos + 2]) != 'S') return backslashOnly();
        pos += 3;
        switch (UpperAscii(e)) {
        case 'F':
            return 28;
        case 'G':
            return 29;
        case 'R':
            return 30;
        default:
            AddMessageCodeword(kNumericShift);
            return std::nullopt;
        }
    }
    default:
        return backslashOnly();
    }
}

void TMaxiCodeEncoder::AddEci(int32_t g) {
    if (g < 0 || g > 999999) Fail("GLI value out of range");
    AddMessageCodeword(kEci);
    if (g <= 31) {
        AddMessageCodeword(g);
    } else if (g <= 1023) {
        AddMessageCodeword(32 + ((g >> 6) & 15));
        AddMessageCodeword(g & 63);
    } else if (g <= 32767) {
        AddMessageCodeword(48 + ((g >> 12) & 7));
        AddMessageCodeword((g >> 6) & 63);
        AddMessageCodeword(g & 63);
    } else {
        AddMessageCodeword(56 + ((g >> 18) & 3));
        AddMessageCodeword((g >> 12) & 63);
        AddMessageCodeword((g >> 6) & 63);
        AddMessageCodeword(g & 63);
    }
}

TMaxiCodeEncoder::TCodeSet TMaxiCodeEncoder::SwitchCodeSet(TCodeSet from, TCodeSet to, bool shift) {
    if (IsShiftedSet(to)) {
        const int shiftCodeword = kShiftC + SetIndex(to) - SetIndex(TCodeSet::csC);
        AddMessageCodeword(shiftCodeword);
        if (shift) return from;
        AddMessageCodeword(shiftCodeword); // two shifts in a row lock the set in
        return to;
    }
    if (IsShiftedSet(from)) {
        AddMessageCodeword(to == TCodeSet::csA ? kLatchA : kLatchAB);
        return to;
    }
    // Between A and B.
    AddMessageCodeword(shift ? kShiftAB : kLatchAB);
    return shift ? from : to;
}

void TMaxiCodeEncoder::EncodeMessage(const TInput& input) {
    const std::string& code = input.code;
    if (code.empty()) {
        for (int i = 0; i < kBufferSize; ++i) AddMessageCodeword(kPad);
        return;
    }
    const size_t n = code.size();
    TCodeSet set = TCodeSet::csA;
    size_t pos = 0;
    while (pos < n) {
        const std::optional<int> c = GetNextChar(code, pos);
        if (!c) continue;
        const int inSet = CodewordInSet(set, *c);
        if (inSet >= 0) {
            AddMessageCodeword(inSet);
            continue;
        }
        const TCodeSet target = FirstCodeSet(*c);
        // The look-ahead skips the next character and asks about the one after it: a shift is
        // used when the set in force can take that character again.
        const bool shift = pos + 1 < n && CodewordInSet(set, static_cast<unsigned char>(code[pos + 1])) >= 0;
        set = SwitchCodeSet(set, target, shift);
        AddMessageCodeword(CodewordInSet(target, *c));
    }
    if (m_messageLength > kMaxMessage || (input.mode == cmMode5 && m_messageLength > kMaxMessageMode5))
        Fail("Code too large for barcode");
    if (set == TCodeSet::csC || set == TCodeSet::csD) {
        AddMessageCodeword(kLatchA);
        set = TCodeSet::csA;
    }
    const int pad = set == TCodeSet::csE ? kPadSetE : kPad;
    while (m_messageLength <= kBufferSize - 1) AddMessageCodeword(pad);
}

void TMaxiCodeEncoder::PlaceMessage(TStMaxiCodeMode mode) {
    const int indicator = m_codewords[0] & 15;
    auto copy = [this](int from, int to, int count) {
        for (int i = 0; i < count; ++i) m_codewords[to + i] = m_message[from + i];
    };
    if (indicator == 2 || indicator == 3) {
        copy(0, 20, 84);
        return;
    }
    copy(0, 1, kPrimaryLength);
    copy(kPrimaryLength, 20, mode == cmMode5 ? 68 : 84);
}

} // namespace qbm
