#pragma once
// How a workbook's values read as datasheet text: numbers as the sheet shows them, dates the same way
// whatever program wrote the workbook.

#include <string>
#include <string_view>

namespace qbm {

// A number in the sheet's general format: whole numbers without a decimal point, at most 15
// significant digits.
std::string NumberText(double value);

// A number in a fixed format: `decimals` places, thousands separated by commas, as a percentage.
std::string FormattedNumberText(double value, int decimals, bool thousands, bool percent);

// Days since 30 December 1899, the fraction of a day as the time: "YYYY-MM-DD", with " HH:MM:SS"
// when there is a time. Values outside years 100 to 9999 come back as numbers.
std::string SerialDateText(double serial);
// The time of day of a fraction of a day, "HH:MM:SS".
std::string SerialTimeText(double serial);

} // namespace qbm
