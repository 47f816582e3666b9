#pragma once
// The print dialog's "Labels" tab: reading every label back before printing, the first free cell of
// the first sheet, the label to start at (after a jam) and the pages of the run to print.

#include "app/TPrinterChoice.h"
#include "project/TPrintPreferences.h"

#include <QWidget>

class QCheckBox;
class QSpinBox;

namespace qbm {

class TPrintRunTab : public QWidget {
    Q_OBJECT
public:
    // `cells`: rows x columns of a sheet; `labels`: labels of the run; `verify`: the box's first state.
    TPrintRunTab(int cells, long long labels, bool verify, QWidget* parent = nullptr);

    // The tab's choices written into `choice`; the printer and its name are the dialog's.
    void FillIn(TPrinterChoice& choice) const;
    // The project's print options shown, and read back as the user left them (the journal is not
    // the tab's).
    void Show(const TPrintPreferences& preferences);
    TPrintPreferences Preferences(const TPrintPreferences& base) const;

private:
    QCheckBox* m_verify;
    QSpinBox* m_startCell;
    QSpinBox* m_fromLabel;
    QSpinBox* m_firstPage;
    QSpinBox* m_lastPage;
};

} // namespace qbm
