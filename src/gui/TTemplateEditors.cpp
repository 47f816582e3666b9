#include "gui/TTemplateEditors.h"

#include "barcode/TBarcodeTypes.h"
#include "gui/TDialogs.h"
#include "gui/TFM_Template.h"
#include "gui/TFM_Template2d.h"

namespace qbm {

TFM_Template* TTemplateEditors::Linear() const {
    return m_linear;
}
TFM_Template2d* TTemplateEditors::TwoD() const {
    return m_2d;
}

void TTemplateEditors::OpenLinear(QWidget* parent, const std::string& libraryPath,
                                  const TLinearEditorRequest& request) {
    if (!m_linear || m_linear->Editor().LibraryPath() != libraryPath) {
        delete m_linear;
        m_linear = new TFM_Template(libraryPath, m_linearPrompts, parent);
        m_linearPrompts.SetParent(m_linear);
    }
    TTemplateEditor& editor = m_linear->Editor();
    editor.PrepareOpening(request.preselect, request.testCode, request.testCaption);
    if (request.symbology >= 0 && request.symbology < kBarcodeTypeCount)
        editor.Barcode().SetTyp(static_cast<TBarcodeType>(request.symbology));
    if (request.showExport) m_linear->ShowExportButton();
    m_linear->exec();
}

std::optional<T2DSettings> TTemplateEditors::Open2D(QWidget* parent, const std::string& libraryPath,
                                                    const T2DEditorRequest& request) {
    if (!m_2d || m_2d->Editor().LibraryPath() != libraryPath) {
        delete m_2d;
        m_2d = new TFM_Template2d(libraryPath, m_2dPrompts, parent);
        m_2dPrompts.SetParent(m_2d);
    }
    m_2d->OpenOnPage(request.page == 1 ? T2DTemplateEditor::TPage::MaxiCode
                                       : T2DTemplateEditor::TPage::Pdf417,
                     request.testText, request.settings);
    if (request.showExport) m_2d->ShowExportButton();
    if (m_2d->exec() != QDialog::Accepted) return std::nullopt;
    return m_2d->Editor().Settings();
}

} // namespace qbm
