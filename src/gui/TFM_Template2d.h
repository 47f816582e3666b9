#pragma once
// "Barcode Templates" for the two 2D symbologies: a PDF417 page and a MaxiCode page, each with its
// test text, and the preview of the page shown. A view of T2DTemplateEditor; created once, its
// controls are the working copy of the library's 2D settings for the whole run.

#include "gui/EditorSupport.h"
#include "templates/T2DTemplateEditor.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;

namespace qbm {

class TExportOptions;

class TProblemLabel;
class TUserPrompts;

class TFM_Template2d : public QDialog {
    Q_OBJECT
public:
    TFM_Template2d(const std::string& libraryPath, TUserPrompts& prompts, QWidget* parent = nullptr);

    T2DTemplateEditor& Editor() { return m_editor; }
    // The opener's choice: the page to open on, its test text and the project's settings.
    void OpenOnPage(T2DTemplateEditor::TPage page, const std::string& testText, const T2DSettings& settings);
    // The same keeping the settings the controls hold.
    void OpenOnPage(T2DTemplateEditor::TPage page, const std::string& testText);
    void ShowExportButton();
    void SetSavePathChooser(TSavePathChooser chooser) { m_chooseSavePath = std::move(chooser); }

    static QStringList ExportFilters();

public slots:
    // "&Cancel", Esc and the close box: the settings go back to what they were at opening.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Connect();
    void Refresh();
    void RefreshPreview();
    void Export();
    void Accept();
    void ShowProblem();

    TUserPrompts& m_prompts;
    T2DTemplateEditor m_editor;
    TSavePathChooser m_chooseSavePath = ChooseSavePathWithDialog;
    bool m_updating = false;

    QTabWidget* m_pages = nullptr;
    QPlainTextEdit* m_pdfText = nullptr;
    QComboBox* m_ecc = nullptr;
    QCheckBox* m_truncated = nullptr;
    QSpinBox* m_barWidth = nullptr;
    QSpinBox* m_heightToWidth = nullptr;
    QSpinBox* m_columns = nullptr;
    QSpinBox* m_rows = nullptr;
    QLineEdit* m_maxiText = nullptr;
    QComboBox* m_mode = nullptr;
    QSpinBox* m_country = nullptr;
    QSpinBox* m_service = nullptr;
    QLineEdit* m_postal = nullptr;
    QCheckBox* m_autoScale = nullptr;
    QSpinBox* m_moduleSize = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_preview = nullptr;
    QPushButton* m_export = nullptr;
    TExportOptions* m_exportOptions = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    // Beside the fields: why the page cannot be drawn.
    TProblemLabel* m_pdfTextProblem = nullptr;
    TProblemLabel* m_maxiTextProblem = nullptr;
    TProblemLabel* m_postalProblem = nullptr;
    TProblemLabel* m_countryProblem = nullptr;
    TProblemLabel* m_serviceProblem = nullptr;
};

} // namespace qbm
