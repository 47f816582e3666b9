#pragma once
// A spreadsheet number format code ("0000000000000", "#,##0.00 [$€-407]", "dd.mm.yyyy", "0.0%",
// "[h]:mm") applied to a cell's number, giving the text the office suite shows in the cell.

#include <string>
#include <string_view>

namespace qbm {

// `code` as the workbook stores it; "General" (or an empty code) shows the number in the general
// form. Dates count days from 30 December 1899 in the 1900 system (as LibreOffice shows them: Excel's
// own count adds a 29 February 1900 that never was, so its dates before 1 March 1900 are a day
// later), and from 1 January 1904 in the 1904 system (`date1904`). Separators are the English ones
// ("." decimal, "," thousands) and month and day names English.
std::string FormatNumber(double value, std::string_view code, bool date1904 = false);

// Whether the code shows dates or times (a value shown through it is a serial date).
bool IsDateFormat(std::string_view code);

// The format codes of the built-in format numbers every workbook may use without stating them; empty
// for a number with none ("General").
std::string_view BuiltInFormatCode(int id);

} // namespace qbm
