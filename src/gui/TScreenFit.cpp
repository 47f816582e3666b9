#include "gui/TScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace qbm {

void TScreenFit::InstallForApplication() {
    static TScreenFit* installed = nullptr;
    if (installed || !qApp) return;
    installed = new TScreenFit(qApp);
    qApp->installEventFilter(installed);
}

void TScreenFit::Fit(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    // The frame the window manager adds is not known before the window is mapped; leave room for it.
    const QSize room = free.size() - QSize(16, 40);
    const QSize size = window->size().boundedTo(room).expandedTo(window->minimumSize());
    if (size != window->size()) window->resize(size);
    QPoint at = window->pos();
    at.setX(std::clamp(at.x(), free.left(), std::max(free.left(), free.right() - size.width())));
    at.setY(std::clamp(at.y(), free.top(), std::max(free.top(), free.bottom() - size.height())));
    if (at != window->pos()) window->move(at);
}

bool TScreenFit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && !(widget->windowFlags() & Qt::Popup)) Fit(widget);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qbm
