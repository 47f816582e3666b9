#include "data/TextEncoding.h"

#include "util/Text.h"

#include <array>
#include <cstdint>

namespace qbm {
namespace {

// Windows-1252 0x80 to 0x9F; the five codes the code page leaves unassigned read as the C1 controls
// of the same number, as Windows itself maps them.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendWindows1252(std::string& out, unsigned char b) {
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : b);
}

// The length of the valid UTF-8 sequence at `at`, 0 when there is none; `cut` tells whether the
// bytes end inside a sequence that is valid so far.
size_t Utf8SequenceLength(std::string_view s, size_t at, bool* cut = nullptr) {
    const auto b0 = static_cast<unsigned char>(s[at]);
    if (b0 < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // bounds of the second byte: no overlong forms, no surrogates
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) low = 0xA0;
        if (b0 == 0xED) high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        if (at + k >= s.size()) {
            if (cut) *cut = true;
            return 0;
        }
        const auto b = static_cast<unsigned char>(s[at + k]);
        if (k == 1 ? (b < low || b > high) : (b & 0xC0) != 0x80) return 0;
    }
    return length;
}

std::string DecodeUtf16(std::string_view bytes, bool littleEndian) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](size_t i) -> char16_t {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(littleEndian ? a | (b << 8) : (a << 8) | b);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char16_t v = unit(i + 2);
            if (v >= 0xDC00 && v <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (v - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? 0xFFFD : u);
    }
    return out;
}

} // namespace

bool IsValidUtf8(std::string_view text, bool allowCutEnd) {
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        bool cut = false;
        const size_t length = Utf8SequenceLength(text, i, &cut);
        if (length == 0) return allowCutEnd && cut;
        i += length;
    }
    return true;
}

TDetectedEncoding DetectTextEncoding(std::string_view sample) {
    if (sample.starts_with("\xEF\xBB\xBF")) return {TTextEncoding::teUtf8, 3};
    if (sample.starts_with("\xFF\xFE")) return {TTextEncoding::teUtf16LE, 2};
    if (sample.starts_with("\xFE\xFF")) return {TTextEncoding::teUtf16BE, 2};
    return {IsValidUtf8(sample, true) ? TTextEncoding::teUtf8 : TTextEncoding::teWindows1252, 0};
}

std::string_view EncodingName(TTextEncoding encoding) {
    switch (encoding) {
    case TTextEncoding::teUtf8:
        return "UTF-8";
    case TTextEncoding::teUtf16LE:
        return "UTF-16 LE";
    case TTextEncoding::teUtf16BE:
        return "UTF-16 BE";
    case TTextEncoding::teWindows1252:
        break;
    }
    return "Windows-1252";
}

std::string DecodeToUtf8(std::string_view bytes, TTextEncoding encoding) {
    switch (encoding) {
    case TTextEncoding::teUtf16LE:
    case TTextEncoding::teUtf16BE:
        return DecodeUtf16(bytes, encoding == TTextEncoding::teUtf16LE);
    case TTextEncoding::teWindows1252: {
        std::string out;
        out.reserve(bytes.size() + bytes.size() / 8);
        for (const char c : bytes) AppendWindows1252(out, static_cast<unsigned char>(c));
        return out;
    }
    case TTextEncoding::teUtf8:
        break;
    }
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            AppendWindows1252(out, static_cast<unsigned char>(bytes[i++]));
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

} // namespace qbm
