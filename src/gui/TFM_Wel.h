#pragma once
// The welcome dialog of the first start: new project, open a project, or modify the templates.

#include <QDialog>

class QListWidget;

namespace qbm {

class TFM_Wel : public QDialog {
    Q_OBJECT
public:
    explicit TFM_Wel(QWidget* parent = nullptr);
    // Shows the dialog modally; the chosen entry's index, -1 for "&Cancel" (and Esc).
    int Choose();

private:
    QListWidget* m_list;
};

} // namespace qbm
