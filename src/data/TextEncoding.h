#pragma once
// Which encoding a text file is written in, and its text as the datasheet holds it.

#include <string>
#include <string_view>

namespace qbm {

enum class TTextEncoding {
    teUtf8,        // valid UTF-8, with or without a byte-order mark
    teUtf16LE,     // only with its byte-order mark
    teUtf16BE,     // only with its byte-order mark
    teWindows1252, // everything else: the Western code page that office suites write
};

struct TDetectedEncoding {
    TTextEncoding encoding = TTextEncoding::teUtf8;
    size_t bomLength = 0; // bytes of the byte-order mark at the start, skipped when reading
};

// A byte-order mark decides; otherwise `sample` (the start of the file) is UTF-8 when it is valid
// UTF-8, and Windows-1252 when it is not. A sequence cut off at the sample's end still counts as valid.
TDetectedEncoding DetectTextEncoding(std::string_view sample);

// "UTF-8", "UTF-16 LE", "UTF-16 BE", "Windows-1252": the names the import shows.
std::string_view EncodingName(TTextEncoding encoding);

// Whether `text` is entirely valid UTF-8 (an incomplete sequence at its very end counts as valid when
// `allowCutEnd`).
bool IsValidUtf8(std::string_view text, bool allowCutEnd = false);

// Text in the given encoding as UTF-8 (the byte-order mark not included). Invalid UTF-8 sequences are
// read as Windows-1252, so a file that mixes the two loses nothing; an unpaired UTF-16 surrogate
// becomes U+FFFD.
std::string DecodeToUtf8(std::string_view bytes, TTextEncoding encoding);

} // namespace qbm
