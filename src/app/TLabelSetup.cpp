#include "app/TLabelSetup.h"

#include "ini/TIniFile.h"
#include "project/CodeValueSources.h"
#include "project/TLabelProject.h"
#include "templates/Apply2DSettings.h"
#include "templates/ApplyTemplate.h"

namespace qbm {

TStCustom2DBarcode& TLabelSetup::Symbol2D(const TLabelProject& project) {
    if (project.Format2D() == 1) return maxiCode;
    return pdf417;
}

void ApplyProjectLabel(TLabelSetup& setup, TLabelProject& project, const TIniFile& library, int dpiX,
                       int dpiY) {
    if (project.Kind() == TBarcodeKind::bk2D) {
        // The project's own copy of the 2D settings, else (an older file) the library's.
        Apply2DSettings(project.Settings2D() ? *project.Settings2D() : Read2DSettings(library),
                        std::string(project.Format2DName()), Current2DText(project), setup.pdf417,
                        setup.maxiCode, setup.label);
        return;
    }
    const TCodeValue first = LabelValue(project, 0);
    setup.bcdMain.SetText(first.code);
    setup.bcdMain.ExtCaption = first.caption;
    ApplyTemplate(library, project.TemplateName(), setup.bcdMain, setup.label, dpiX, dpiY);
}

} // namespace qbm
