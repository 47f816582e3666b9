#pragma once
// PDF417 data compaction: the text of a symbol cut into text, byte and numeric segments by
// look-ahead, written as data codewords behind the free slot of the length descriptor.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qbm {

inline constexpr int kPdf417BufferSize = 2701;
inline constexpr uint16_t kPdf417PadCodeword = 900;

struct TPdf417Codewords {
    // Entries nothing wrote hold 900, the pad codeword the symbol needs there anyway.
    std::array<uint16_t, kPdf417BufferSize> values;
    // Used entries, entry 0 (the length descriptor's place) included.
    int count = 1;
    TPdf417Codewords() { values.fill(kPdf417PadCodeword); }
};

// Encodes a Code text (with its backslash escapes). Throws E2DBarcodeError "Code too large for
// barcode" when the buffer overflows, "GLI value out of range", and EConvertError for a GLI escape
// that is not a number.
TPdf417Codewords EncodePdf417Data(std::string_view code);

// Base-900 digits of a decimal number (1 to 45 digits, no leading 0), most significant first.
std::vector<int> ConvertToBase900(std::string_view digits);

// Six bytes as a 48-bit big-endian number: exactly five base-900 digits, most significant first.
std::array<int, 5> ConvertBytesToBase900(std::string_view sixBytes);

// Text compaction of characters 0..127: the value (-1: not encodable) and the sub-modes holding it
// (bit 0 Alpha, bit 1 Lower, bit 2 Mixed, bit 3 Punctuation).
int Pdf417TextValue(int c);
int Pdf417TextSubModes(int c);

} // namespace qbm
