#pragma once
// A folder for runs of qbm that write pages: a template library and a project of `amount` Code 39
// labels with the constant code "ABC", read-back off (these runs are about writing pages, not
// reading them back).

#include "ini/TIniFile.h"
#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "templates/TemplateLibrary.h"

#include "CliRun.h"
#include "TestSupport.h"

#include <string>

namespace qbm::test {

struct TCode39Workspace {
    std::string dir = MakeTempDir();
    std::string library = dir + "/Templates.dat";
    std::string project = dir + "/p.bpj";

    // `barWidth` (hundredths of a millimetre) narrows the template's bars, for runs at resolutions where
    // the default bars would be wider than a bar may be.
    explicit TCode39Workspace(int amount, int barWidth = 0) {
        WriteDefaultTemplates(library);
        if (barWidth > 0) TIniFile(library).WriteInteger("Code39", "BarWidth", barWidth);
        TLabelProject p;
        p.SetTemplateName("Code39");
        p.SetLinearSource(TLinearSource::lsConstant);
        p.SetFixedCode("ABC");
        p.SetFixedCodeAmount(amount);
        p.SetVerifyLabels(false);
        SaveProject(project, p, nullptr);
    }
};

} // namespace qbm::test
