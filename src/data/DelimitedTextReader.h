#pragma once
// Reading a delimited text file (.txt, .csv) into the datasheet: the delimiter is guessed from the
// first two lines, the first line gives the column names.

#include <string>
#include <string_view>
#include <vector>

namespace qbm {

class TDatasheet;
class TProgress;

// The delimiter the first two lines suggest among , ; # tab | @ * - + &, or '\0' when none occurs.
char DetectDelimiter(std::string_view firstLine, std::string_view secondLine);

// The fields of one line; with delimiter '\0' the whole line is one field.
std::vector<std::string> SplitDelimitedLine(std::string_view line, char delimiter);
// The same into `fields`, reusing its strings; returns how many fields the line has.
size_t SplitDelimitedLineInto(std::string_view line, char delimiter, std::vector<std::string>& fields);

// The lines of a file's text: line ends are CR LF, LF or a lone CR; a final line end adds no line.
std::vector<std::string_view> SplitTextLines(std::string_view text);

// Empties the sheet; line i goes to row i from column 0; the row count becomes the number of lines and
// the column count that of the widest line.
void LoadDelimitedText(TDatasheet& sheet, std::string_view text);

// The same from a file, read in pieces. Throws EInOutError "Cannot open file <path>"; a long file
// reports to `progress`, which may stop it (EOperationCancelled). With `firstColumn` 1 each line's
// fields start in column 1 and column 0 stays empty (room for the row numbers, without moving every
// cell afterwards).
void ReadDelimitedTextFile(TDatasheet& sheet, const std::string& path, TProgress* progress = nullptr,
                           int firstColumn = 0);

} // namespace qbm
