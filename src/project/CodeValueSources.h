#pragma once
// Where the labels' values come from: the constant code, a datasheet column, the 2D code list or the
// fixed 2D text; how many labels each gives and what each label carries; checking a typed value
// against the chosen linear symbology.

#include "barcode/TBarcodeTypes.h"

#include <string>
#include <string_view>

namespace qbm {

class TDatasheet;
class TLabelProject;

// What one label carries: its code and, for linear labels, its extended caption.
struct TCodeValue {
    std::string code;    // Latin-1, as the symbologies encode it
    std::string caption; // UTF-8, any script
};

// The column (1 or more) whose header, with blanks and control characters around it removed, equals
// `name` treated the same way, comparing letter case; -1 when there is none.
int FindFieldColumn(const TDatasheet& sheet, std::string_view name);

// The trimmed cell in `row` of the column FindFieldColumn finds, which also becomes the datasheet's
// current column; "" when no column matches. FieldText gives the datasheet's UTF-8 (captions);
// FieldValue the engines' Latin-1 ('?' for a character Latin-1 lacks), as codes take it.
std::string FieldText(TDatasheet& sheet, std::string_view name, int row);
std::string FieldValue(TDatasheet& sheet, std::string_view name, int row);

// Whether a typed value suits the symbology: trimmed, then digits only for numeric symbologies, the
// Code 93 encoder's consent for Code93, and the table's maximum length.
bool ValidateCode(std::string_view text, TBarcodeType type);

// Why a code cannot be printed by a barcode of this type and check-digit setting, in words for the
// user (a wrong EAN/UPC check digit is named: "The check digit of 5901234123458 should be 7."), or
// empty when it can: shown beside the field while typing, in a box when the user confirms. An empty
// code can be printed (the constant source tests for it apart).
std::string CodeProblem(std::string_view text, TBarcodeType type, bool checksum);

// "Invild code data of " + the symbology's name + " format!", shown for an invalid value.
std::string InvalidCodeMessage(TBarcodeType type);

// The number of labels of the current kind and source; empty rows and entries count like any other.
long long LabelCount(const TLabelProject& project);

// The label with the given number (0 for the first): the constant code as typed with its caption,
// the code and caption fields of datasheet row number + 1, or the trimmed 2D entry or fixed text.
TCodeValue LabelValue(TLabelProject& project, long long number);

// The text the on-screen 2D symbol shows: the first list entry when the code-list source is selected
// and the list has entries, else the fixed text.
std::string Current2DText(const TLabelProject& project);

// The project holds 2D texts as UTF-8; this is one as the project's 2D format encodes it: UTF-8 for
// QR Code and the other symbols of libzint, the engines' Latin-1 for PDF417 and MaxiCode ('?' for a
// character Latin-1 lacks). LabelValue and Current2DText give their texts so.
std::string Engine2DText(const TLabelProject& project, std::string_view text);

// For PDF417 and MaxiCode, the first text the labels would print with a character beyond Latin-1
// (which they would print as '?'), named with the formats that carry it; "" when there is none.
std::string Latin1Problem2D(const TLabelProject& project);

// The chosen code and caption fields, noted by name before the datasheet window opens (trimmed; empty
// when the list's selection is below 1).
struct TNotedFields {
    std::string code;
    std::string caption;
};
TNotedFields NoteFieldChoices(const TLabelProject& project);

// After the datasheet window closes: both lists refilled from the header row with the placeholder
// "Please choose the data field ...", each selecting its noted field where it still exists by that
// name and the placeholder otherwise.
void RestoreFieldChoices(TLabelProject& project, const TNotedFields& noted);

} // namespace qbm
