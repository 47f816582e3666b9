#pragma once
// The datasheet window's find bar (Ctrl+F): a text box, Find Next and Find Previous, and a word on
// the result. It finds in the sheet and asks the window to show the cell it found.

#include <QWidget>

class QLabel;
class QLineEdit;

namespace qbm {

class TDatasheet;

class TDatasheetFindBar : public QWidget {
    Q_OBJECT
public:
    explicit TDatasheetFindBar(QWidget* parent = nullptr);

    void SetDatasheet(const TDatasheet* sheet) { m_sheet = sheet; }
    // Shown with the text box focused and its text selected, ready to type over.
    void Open();
    // Finds from the sheet's current cell; true when a cell was found (and CellFound given).
    bool FindNext(bool backwards = false);
    QLineEdit* TextBox() const { return m_text; }
    QString Result() const;

signals:
    void CellFound(int column, int row);
    void Closed();

private:
    const TDatasheet* m_sheet = nullptr;
    QLineEdit* m_text;
    QLabel* m_result;
};

} // namespace qbm
