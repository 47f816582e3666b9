#pragma once
// A label design in the project file: its JSON form and its pictures in sections of their own, which
// older readers pass over (they print the classic label the file also describes).

#include "design/TLabelDesign.h"

#include <optional>
#include <string>

namespace qbm {

class TBigIniFile;

void WriteDesignSections(TBigIniFile& ini, const TLabelDesign& design);
// The design the file holds; nullopt for a classic label. A design section that does not read is an
// EInOutError naming the file and the fault, never a label printed without what it lost.
std::optional<TLabelDesign> ReadDesignSections(TBigIniFile& ini, const std::string& path);

// Puts `design` (none: the classic label) into the project file, leaving every other line of it as
// it is; the file is replaced in one step.
void ReplaceDesignInFile(const std::string& path, const std::optional<TLabelDesign>& design);

} // namespace qbm
