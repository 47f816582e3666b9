#pragma once
// The datasheet's text stream (how a project file carries the table) and its hexadecimal form.

#include <string>
#include <string_view>

namespace qbm {

class TDatasheet;
class TProgress;

// Lines ended by CR LF: "columns,rows", one "cw i,width" per column, then "column,row,text" for each
// non-empty cell, row by row. A text holding a CR is written with tabs for CRs and backspaces for LFs.
std::string DatasheetToStream(const TDatasheet& sheet);

// Resizes and refills the sheet from a stream: cells the stream does not name end up empty, only the
// first line of a multi-line cell is kept, and reading stops at a line that has no "," where one is
// needed. A count or index that is not an integer throws EConvertError. Lines naming cells or columns
// outside the table are skipped, and counts are held to the sheet's limits, so a damaged stream
// cannot make the sheet grow without bound. A long stream reports to `progress`, which may stop the
// reading (EOperationCancelled; the sheet is then partly filled, so callers read into a fresh one).
void DatasheetFromStream(TDatasheet& sheet, std::string_view stream, TProgress* progress = nullptr);

// Why a stream stored in a project cannot be what the product wrote, or empty when it can be: the
// product ends every line with CR LF, writes a width line for every column, and a sheet gains empty
// rows one at a time, so a stream cut short inside a line or before its widths, or one that declares
// far more rows than it names, is a damaged file whose missing cells must not be printed as blanks.
std::string DatasheetStreamDamage(std::string_view stream);

// The empty rows a sound stream may declare after the last row it names.
inline constexpr long long kMaxTrailingEmptyRows = 1 << 20;

// The text a cell holds after it has been written to a stream and read back. It differs from the
// text when the stream cannot carry it: a second line, or tabs and backspaces read as line breaks.
std::string CellAfterStream(std::string_view text);

// Two upper-case hexadecimal digits per byte, no separators.
std::string StreamToHex(std::string_view bytes);

// Pairs of characters back to bytes; a lone last character is a byte of its own, and a piece that is
// not hexadecimal gives 0.
std::string HexToStream(std::string_view text);

} // namespace qbm
