#pragma once
// "Print Options": the project's print options outside the print dialog, the same as its "Labels"
// tab, and whether each run is written to the journal beside the project.

#include "project/TPrintPreferences.h"

#include <QDialog>

class QCheckBox;

namespace qbm {

class TPrintRunTab;

class TFM_PrintOptions : public QDialog {
    Q_OBJECT
public:
    // `cells`: rows x columns of a sheet; `labels`: labels of the run.
    TFM_PrintOptions(const TPrintPreferences& preferences, int cells, long long labels,
                     QWidget* parent = nullptr);
    // The options as the user left them.
    TPrintPreferences Preferences() const;

private:
    TPrintPreferences m_base;
    TPrintRunTab* m_labels;
    QCheckBox* m_journal;
};

} // namespace qbm
