#pragma once
// The document a project command works on: the same one the window uses, with the console's prompts,
// no file dialogs, and the project read from the command line.

#include "app/TFileDialogs.h"
#include "app/TLabelDocument.h"
#include "cli/CliCommand.h"
#include "cli/CliPrompts.h"

#include <memory>
#include <string>

namespace qbm::cli {

// The options of every command that opens a project: --library and --kind.
Options ProjectOptions();

// --kind linear|2d (linear when absent); a project file does not store the tab shown last.
TBarcodeKind KindOption(const Args& args);

struct TCliDocument {
    TConsolePrompts prompts;
    TScriptedFileDialogs dialogs; // never answered: a run names its files on the command line
    std::unique_ptr<TLabelDocument> document;
};

// Opens the library (--library or the program's own) and reads the project for the kind --kind
// names, with `printer` as the page's device (nullptr: A4 at 300 dpi). Errors and warnings of the
// load go to stderr; false when the project could not be read, or (linear kind) its template is no
// longer in the library or its first code cannot be drawn.
bool OpenForRun(const Args& args, const std::string& path, TCliDocument& run, TPrinter* printer = nullptr,
                bool previewShown = true);

} // namespace qbm::cli
