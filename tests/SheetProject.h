#pragma once
// A project whose datasheet has the columns " Code " and "Caption" and three rows, with blanks and a
// tab around values and one empty code, as hand-made sheets have them.

#include "project/TLabelProject.h"

namespace qbm::test {

inline TLabelProject ProjectWithThreeRowSheet() {
    TLabelProject project;
    TDatasheet& sheet = project.Datasheet();
    sheet.Reset(3, 4);
    sheet.SetRow(0, {"", " Code ", "Caption"});
    sheet.SetRow(1, {"", " 123 ", "first"});
    sheet.SetRow(2, {"", "", "second"});
    sheet.SetRow(3, {"", "456\t", " third "});
    project.RebuildFieldList(kFieldPlaceholderDatasheet);
    return project;
}

} // namespace qbm::test
