#pragma once
// The "2D Barcode " tab: the 2D format, the code list with its commands, the fixed text and amount.

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qbm {

class TProblemLabel;

class TLabelDocument;
class SymbolOptionsBox;

class Code2DPage : public QWidget {
    Q_OBJECT
public:
    explicit Code2DPage(QWidget* parent = nullptr);
    void SetDocument(TLabelDocument* doc);

    QPlainTextEdit* TextEdit() const { return m_text; }
    QMenu* ListMenu() const { return m_listMenu; }

signals:
    void modifyTemplateRequested();
    // The "Serial " button: the window runs the sequence dialog and hands the codes to the document.
    void serialRequested();

private:
    void RefreshValues();
    void UpdateEnabled();

    TLabelDocument* m_doc = nullptr;
    QComboBox* m_format;
    SymbolOptionsBox* m_options;
    QPushButton* m_modify;
    QRadioButton* m_listSource;
    QListWidget* m_list;
    QPushButton* m_import;
    QPushButton* m_serial;
    QPushButton* m_clear;
    QLabel* m_amountLabel;
    QRadioButton* m_textSource;
    TProblemLabel* m_textProblem = nullptr;
    QPlainTextEdit* m_text;
    QLabel* m_amountTitle;
    QSpinBox* m_amount;
    QMenu* m_listMenu;
    bool m_refreshing = false;
};

} // namespace qbm
