#include "barcode/Encoders.h"

namespace qbm {
namespace {

// Wide ("1") and narrow ("0") flags of the five elements of each digit, shared by the 2 of 5 family.
constexpr const char* kTwoOfFiveFlags[10] = {"00110", "10001", "01001", "11000", "00101",
                                             "10100", "01100", "00011", "10010", "01010"};

const char* Flags(char digit) {
    return kTwoOfFiveFlags[digit - '0'];
}

} // namespace

std::string EncodeCode_2_5_interleaved(const TLinearInput& in) {
    // Digits go in pairs; an odd text is encoded with a leading zero (see CompletedText).
    const std::optional<std::string> completed = CompletedText(in);
    const std::string_view text = completed ? std::string_view(*completed) : in.text;
    std::string r = "5050";
    r.reserve(4 + text.size() * 5 + 3);
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        const char* bars = Flags(text[i]);
        const char* gaps = Flags(text[i + 1]);
        for (int k = 0; k < 5; ++k) {
            r += bars[k] == '1' ? '6' : '5';
            r += gaps[k] == '1' ? '1' : '0';
        }
    }
    r += "605";
    return r;
}

std::string EncodeCode_2_5_industrial(const TLinearInput& in) {
    // Only the bars carry information; every gap is narrow.
    std::string r = "606050";
    r.reserve(6 + in.text.size() * 10 + 6);
    for (const char c : in.text) {
        const char* flags = Flags(c);
        for (int k = 0; k < 5; ++k) {
            r += flags[k] == '1' ? '6' : '5';
            r += '0';
        }
    }
    r += "605060";
    return r;
}

std::string EncodeCode_2_5_matrix(const TLinearInput& in) {
    // Start and stop open with a W3 bar, which is why this type keeps a ratio of at least 2.25.
    std::string r = "705050";
    r.reserve(6 + in.text.size() * 6 + 5);
    for (const char c : in.text) {
        const char* flags = Flags(c);
        for (int k = 0; k < 5; ++k) {
            const bool wide = flags[k] == '1';
            r += k % 2 == 0 ? (wide ? '6' : '5') : (wide ? '1' : '0');
        }
        r += '0';
    }
    r += "70505";
    return r;
}

} // namespace qbm
