#pragma once
// The project file (.bpj): an INI text with the settings, the 2D code list and the datasheet in
// hexadecimal, read and written through TBigIniFile.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

class TLabelProject;
class TPrinter;
class TProgress;

inline constexpr std::string_view kProjectFilter = "Barcode Projects (*.bpj)|*.bpj|All Files (*.*)|*.*";
inline constexpr std::string_view kProjectExtension = "bpj";
inline constexpr std::string_view kNoTemplateError = "You must choose one barcode template for this project!";
inline constexpr std::string_view kAskSaveModified = "Current project has been modified, Save it? ";

// What a save could not keep exactly. Every value lives on one line of the file, so a value with a
// line break (or the character 26, which ends an INI text) is written up to that character; a
// datasheet cell keeps only its first line, and a cell holding tabs and backspaces reads back with
// line breaks. The 2D code list and the fixed 2D text are always kept whole (see SaveProject).
struct TSaveReport {
    std::vector<std::string> unstored; // names of the values, "FixedCode", "Datasheet cell (2, 5)" ...
    bool Complete() const { return unstored.empty(); }
    // The warning for the user, naming the values; empty when the save kept everything.
    std::string Message() const;
};

// Writes the project. The file is replaced in one step (temporary file and rename): a failed save
// throws EInOutError and leaves the previous file whole. "PaperZX" is written only when a printer is
// installed, from the printer's orientation.
//
// 2D list entries that the old line form cannot hold (empty, holding "=" or a line break, or equal to
// an earlier entry ignoring letter case) make the writer add a section "Var2DCodeList" after the
// others, one key "Item<n>" per entry with the entry in hexadecimal; "Var2DCodeValue" still carries
// the entries it can hold for older readers. A fixed 2D text of several lines is written the same way:
// its first line as "Code", the whole text in hexadecimal as "Data" of a last section "B2DCodeText".
// The 2D formats beyond PDF417 and MaxiCode (QR Code, Data Matrix, Aztec, Micro QR) leave "B2DFormat"
// at "PDF417 Format", which older readers know, and keep their format ("Format") and options in a
// section "Symbol2D" of their own.
TSaveReport SaveProject(const std::string& path, const TLabelProject& project, const TPrinter* printer);

struct TProjectEnvironment {
    // The items of the template list; without a list the stored name is taken as it is.
    std::optional<std::vector<std::string>> templateNames;
    // Its orientation follows the file when a printer is installed.
    TPrinter* printer = nullptr;
    // A long datasheet reports here while it is read, and may be stopped (EOperationCancelled).
    TProgress* progress = nullptr;
};

// Reads a project into the model and returns the warnings to show, such as
// "Template: \"name\" has been removed!". Missing keys take their load defaults, and spin values are
// held to their controls' ranges. A damaged datasheet stream throws EConvertError with the values set
// so far kept. Applying the template or the 2D settings afterwards is the caller's part.
std::vector<std::string> LoadProject(const std::string& path, TLabelProject& project,
                                     const TProjectEnvironment& env = {});

} // namespace qbm
