#pragma once
// What the project commands share: reading the project file and which code tab (--kind) a run uses.

#include "project/ProjectFile.h"
#include "project/TLabelProject.h"

#include <string>

namespace qbm::cli {

class Args;

// --kind linear|2d (linear when absent); a project file does not store the tab shown last.
TBarcodeKind KindOption(const Args& args);

// Loads the project and sets its kind from --kind; the load's warnings go to stderr. A missing file
// is an error here (the INI engine would read it as an empty project).
void LoadProjectForRun(const Args& args, const std::string& path, TLabelProject& project,
                       const TProjectEnvironment& env = {});

} // namespace qbm::cli
