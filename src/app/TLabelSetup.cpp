#include "app/TLabelSetup.h"

#include "ini/TIniFile.h"
#include "project/CodeValueSources.h"
#include "project/TLabelProject.h"
#include "symbols/TSymbology.h"
#include "templates/Apply2DSettings.h"
#include "templates/ApplyTemplate.h"

namespace qbm {

TStCustom2DBarcode& TLabelSetup::Symbol2D(const TLabelProject& project) {
    if (project.Format2D() == 1) return maxiCode;
    if (const auto settings = project.Symbol2DSettings()) {
        symbols.SetSettings(*settings);
        return symbols;
    }
    return pdf417;
}

void ApplyProjectLabel2D(TLabelSetup& setup, const TLabelProject& project, const T2DSettings& settings) {
    Apply2DSettings(settings, std::string(project.Format2DName()), Current2DText(project), setup.pdf417,
                    setup.maxiCode, setup.label);
    if (!project.Symbol2DSettings()) return;
    // The options first, without a text: the last text may not fit the new options.
    setup.symbols.SetCode("");
    Paint2DLabel(setup.Symbol2D(project), Current2DText(project), setup.label);
    setup.label.StatusText = "Barcode Type: " + SymbologyName(project.Symbol2DSettings()->symbology) + " ";
}

void ApplyProjectLabel(TLabelSetup& setup, TLabelProject& project, const TIniFile& library, int dpiX,
                       int dpiY) {
    if (project.Kind() == TBarcodeKind::bk2D) {
        // The project's own copy of the 2D settings, else (an older file) the library's.
        ApplyProjectLabel2D(setup, project,
                            project.Settings2D() ? *project.Settings2D() : Read2DSettings(library));
        return;
    }
    const TCodeValue first = LabelValue(project, 0);
    setup.bcdMain.SetText(first.code);
    setup.bcdMain.ExtCaption = first.caption;
    ApplyTemplate(library, project.TemplateName(), setup.bcdMain, setup.label, dpiX, dpiY);
}

} // namespace qbm
