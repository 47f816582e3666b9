#pragma once
// "Barcode Templates": the linear template editor. A view of TTemplateEditor: each control forwards
// its changes there, leaving a control writes the template, and the preview shows what the editor
// drew. Created once and reused; its values stay between openings.

#include "gui/EditorSupport.h"
#include "templates/TTemplateEditor.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace qbm {

class TExportOptions;

class TProblemLabel;

class TUserPrompts;

class TFM_Template : public QDialog {
    Q_OBJECT
public:
    TFM_Template(const std::string& libraryPath, TUserPrompts& prompts, QWidget* parent = nullptr);

    // The opener sets the test code, caption and preselected template here before showing.
    TTemplateEditor& Editor() { return m_editor; }
    // "Export Image ..." shows the "&Export" button; closing the dialog hides it again.
    void ShowExportButton();

    void SetFontChooser(TFontChooser chooser) { m_chooseFont = std::move(chooser); }
    void SetSavePathChooser(TSavePathChooser chooser) { m_chooseSavePath = std::move(chooser); }

    static QStringList ExportFilters();

    // Cancel, Esc and the close button: the library is put back as it was when the editor showed.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Connect();
    void Refresh();
    void RefreshPreview();
    void ChooseFont(bool codeFont);
    void Export();
    void Accept();

    TUserPrompts& m_prompts;
    TTemplateEditor m_editor;
    TFontChooser m_chooseFont = ChooseFontWithDialog;
    TSavePathChooser m_chooseSavePath = ChooseSavePathWithDialog;
    bool m_updating = false;

    QListWidget* m_list = nullptr;
    QPushButton* m_addNew = nullptr;
    QPushButton* m_delete = nullptr;
    QLineEdit* m_testCode = nullptr;
    TProblemLabel* m_codeProblem = nullptr;
    QToolButton* m_codeFont = nullptr;
    QComboBox* m_textLayout = nullptr;
    QLineEdit* m_testCaption = nullptr;
    QToolButton* m_captionFont = nullptr;
    QComboBox* m_captionPosition = nullptr;
    QComboBox* m_format = nullptr;
    QSpinBox* m_height = nullptr;
    QCheckBox* m_checkSum = nullptr;
    QSpinBox* m_barWidth = nullptr;
    QLabel* m_preview = nullptr;
    QPushButton* m_export = nullptr;
    TExportOptions* m_exportOptions = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace qbm
