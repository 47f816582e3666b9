#pragma once
// The pop-up menu of the constant-code field that appends ASCII control characters, as data: which
// symbologies get it, its submenus and entries, and the character each entry appends.

#include "barcode/TBarcodeTypes.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

inline constexpr std::string_view kControlCharMenuTitle = "Insert ASCII Control CHR";
inline constexpr std::string_view kControlCharHint = "Right Click to Inser Special Code";

struct TControlCharEntry {
    std::string_view caption;
    char appends;
};

struct TControlCharSubmenu {
    std::string_view caption;
    std::vector<TControlCharEntry> entries;
};

// What the field offers for a symbology.
struct TControlCharMenu {
    bool attached = false;     // no menu and no hint when false
    std::string_view hint;     // kControlCharHint when attached
    bool showSubmenus = false; // "ASCII 00-10", "ASCII 11-20", "ASCII 21-31"
    bool showDel = false;      // the top-level "DEL"
};

TControlCharMenu ControlCharMenuFor(TBarcodeType type);

// The three submenus in order; "00 - NULL" appends character 128, the engines' stand-in for NUL.
const std::array<TControlCharSubmenu, 3>& ControlCharSubmenus();

// The top-level entry "DEL", appending character 127.
const TControlCharEntry& ControlCharDel();

// The entry's character appended at the end of the text, wherever the caret was.
std::string AppendControlChar(std::string_view text, const TControlCharEntry& entry);

} // namespace qbm
