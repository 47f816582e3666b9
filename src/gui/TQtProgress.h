#pragma once
// Progress of long work as a dialog with a Cancel button, shown only when the work takes a while.

#include "util/TProgress.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace qbm {

class TQtProgress : public TProgress {
public:
    // kWhenSlow: the dialog appears once the work has run a moment. kAtFirstReport: it appears with the
    // first report, for work that reports only once it is known to be long.
    enum class TShow { kWhenSlow, kAtFirstReport };
    TQtProgress(QWidget* parent, const QString& label, TShow show = TShow::kWhenSlow);
    ~TQtProgress() override;
    bool Update(int64_t done, int64_t total) override;
    QProgressDialog* Dialog() const { return m_dialog.get(); }

private:
    std::unique_ptr<QProgressDialog> m_dialog;
    QElapsedTimer m_sinceEvents;
    TShow m_show;
    bool m_reported = false;
};

} // namespace qbm
