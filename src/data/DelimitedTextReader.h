#pragma once
// Reading a delimited text file (.txt, .csv) into the datasheet: the delimiter is guessed from the
// first two lines, the first line gives the column names.

#include "data/TextEncoding.h"

#include <optional>
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

// Whether a record that starts with `line` goes on in the next line: a quoted field in it is still
// open at the line's end (a line break inside quotes is part of the field).
bool EndsInsideQuotes(std::string_view line, char delimiter);

// How a text file is read; what the import dialog lets the user change. Unset choices are detected.
struct TTextImportChoices {
    std::optional<TTextEncoding> encoding;
    std::optional<char> delimiter; // '\0': each line is one field
    bool firstRowHoldsNames = true;
};

// What a read found and did.
struct TTextImportInfo {
    TTextEncoding encoding = TTextEncoding::teUtf8;
    char delimiter = '\0';
    int emptyRowsSkipped = 0;
};

// Empties the sheet and fills it with the records of UTF-8 text: record i goes to row i from column 0
// (a quoted field may hold line breaks, so a record may span lines); rows with no text are skipped;
// the row count becomes the number of records and the column count that of the widest one.
TTextImportInfo LoadDelimitedText(TDatasheet& sheet, std::string_view text,
                                  const TTextImportChoices& choices = {});

// The same from a file, read in pieces and decoded from its encoding into UTF-8. Throws EInOutError
// "Cannot open file <path>"; a long file reports to `progress`, which may stop it
// (EOperationCancelled). With `firstColumn` 1 each record's fields start in column 1 and column 0
// stays empty (room for the row numbers, without moving every cell afterwards). Without
// `firstRowHoldsNames` the header row is "Column 1", "Column 2", ... and the file's first record is
// data.
TTextImportInfo ReadDelimitedTextFile(TDatasheet& sheet, const std::string& path,
                                      TProgress* progress = nullptr, int firstColumn = 0,
                                      const TTextImportChoices& choices = {});

// The first records of a file as they would be imported (from column 1, as the datasheet holds them),
// for a live preview: at most `maxRows` rows, the header included.
TTextImportInfo PreviewDelimitedTextFile(TDatasheet& sheet, const std::string& path, int maxRows,
                                         const TTextImportChoices& choices = {});

} // namespace qbm
