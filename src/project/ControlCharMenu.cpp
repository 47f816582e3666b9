#include "project/ControlCharMenu.h"

namespace qbm {
namespace {

constexpr std::string_view kCaptions[32] = {
    "00 - NULL", "01 - SOH", "02 - STX", "03 - ETX", "04 - EOT", "05 - ENQ", "06 - ACK", "07 - BEL",
    "08 - BS",   "09 - HT",  "10 - LF",  "11 - VT",  "12 - FF",  "13 - CR",  "14 - SO",  "15 - SI",
    "16 - DLE",  "17 - DC1", "18 - DC2", "19 - DC3", "20 - DC4", "21 - NAK", "22 - SYN", "23 - ETB",
    "24 - CAN",  "25 - EM",  "26 - SUB", "27 - ESC", "28 - FS",  "29 - GS",  "30 - RS",  "31 - US",
};

// Code 128 and Code 39 Extended read character 128 as NUL, since a real NUL cannot live in the text.
constexpr char kNulStandIn = static_cast<char>(128);

std::vector<TControlCharEntry> Entries(int first, int last) {
    std::vector<TControlCharEntry> entries;
    for (int code = first; code <= last; ++code)
        entries.push_back({kCaptions[code], code == 0 ? kNulStandIn : static_cast<char>(code)});
    return entries;
}

} // namespace

TControlCharMenu ControlCharMenuFor(TBarcodeType type) {
    switch (type) {
    case bcCode39Extended:
    case bcCode128A:
        return {true, kControlCharHint, true, false};
    case bcCode128B:
        return {true, kControlCharHint, false, true};
    default:
        return {};
    }
}

const std::array<TControlCharSubmenu, 3>& ControlCharSubmenus() {
    static const std::array<TControlCharSubmenu, 3> submenus = {
        TControlCharSubmenu{"ASCII 00-10", Entries(0, 10)},
        TControlCharSubmenu{"ASCII 11-20", Entries(11, 20)},
        TControlCharSubmenu{"ASCII 21-31", Entries(21, 31)},
    };
    return submenus;
}

const TControlCharEntry& ControlCharDel() {
    static const TControlCharEntry del{"DEL", static_cast<char>(127)};
    return del;
}

std::string AppendControlChar(std::string_view text, const TControlCharEntry& entry) {
    std::string result(text);
    result.push_back(entry.appends);
    return result;
}

} // namespace qbm
