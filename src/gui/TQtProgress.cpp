#include "gui/TQtProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace qbm {

TQtProgress::TQtProgress(QWidget* parent, const QString& label, TShow show)
    : m_dialog(std::make_unique<QProgressDialog>(label, QStringLiteral("&Cancel"), 0, 1000, parent)),
      m_show(show) {
    m_dialog->setObjectName(QStringLiteral("Dlg_Progress"));
    m_dialog->setWindowTitle(QStringLiteral("Quirbel Barcode Maker"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(300);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
    m_sinceEvents.start();
}

TQtProgress::~TQtProgress() = default;

bool TQtProgress::Update(int64_t done, int64_t total) {
    // Events are let through a few times a second: often enough for Cancel, rare enough to cost nothing.
    const bool first = !m_reported;
    m_reported = true;
    if (first && m_show == TShow::kAtFirstReport) m_dialog->show();
    if (first || m_sinceEvents.elapsed() >= 50) {
        if (total > 0) m_dialog->setValue(static_cast<int>(std::min<int64_t>(1000, done * 1000 / total)));
        QCoreApplication::processEvents();
        m_sinceEvents.restart();
    }
    return !m_dialog->wasCanceled();
}

} // namespace qbm
