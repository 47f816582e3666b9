#pragma once
// The "1D Barcode " tab: the template list, the constant code with its caption and amount, the
// datasheet fields, and the control-character menu of the constant code.

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qbm {

class TProblemLabel;

class TLabelDocument;

class LinearCodePage : public QWidget {
    Q_OBJECT
public:
    explicit LinearCodePage(QWidget* parent = nullptr);
    void SetDocument(TLabelDocument* doc);

    QLineEdit* FixedCodeEdit() const { return m_fixedCode; }

signals:
    void modifyTemplateRequested();
    void datasheetRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RefreshTemplates();
    void RefreshFields();
    void RefreshValues();
    void UpdateEnabled();
    void AttachControlCharMenu();

    TLabelDocument* m_doc = nullptr;
    QComboBox* m_templates;
    QPushButton* m_modify;
    QRadioButton* m_constant;
    QLabel* m_codeLabel;
    TProblemLabel* m_codeProblem = nullptr;
    QLineEdit* m_fixedCode;
    QLabel* m_captionLabel;
    QLineEdit* m_extCaption;
    QLabel* m_amountTitle;
    QSpinBox* m_amount;
    QRadioButton* m_datasheet;
    QLabel* m_codeFieldLabel;
    QComboBox* m_codeField;
    QPushButton* m_codeFieldData;
    QLabel* m_capFieldLabel;
    QComboBox* m_capField;
    QPushButton* m_capFieldData;
    QLabel* m_amountLabel;
    QMenu* m_controlChars;
};

} // namespace qbm
