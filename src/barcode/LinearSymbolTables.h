#pragma once
// Character tables of the Code 39, Code 93, Codabar and PostNet encoders.

namespace qbm {

struct TCode39Row {
    char ch;
    const char* pattern; // nine elements: "5" narrow bar, "6" wide bar, "0" narrow gap, "1" wide gap
    int checkValue;      // modulo-43 value
};
constexpr int kCode39RowCount = 44;
extern const TCode39Row Code39Table[kCode39RowCount];

// Row index = value of the character in the check sums. "[", "]", "{", "}" stand for the four
// shift characters ($), (%), (/), (+).
struct TCode93Row {
    char ch;
    const char* widths; // six element widths in modules, bar first
};
constexpr int kCode93RowCount = 47;
extern const TCode93Row Code93Table[kCode93RowCount];

struct TCodabarRow {
    char ch;
    const char* pattern; // seven elements, same notation as Code 39
};
constexpr int kCodabarRowCount = 20;
extern const TCodabarRow CodabarTable[kCodabarRowCount];

// Five bars per digit, "1" full height and "0" half height.
extern const char* const PostNetBars[10];

// The two-character Code 39 sequence for an ASCII code 0..127 in Full ASCII mode.
const char* Code39ExtendedMap(int code);

} // namespace qbm
