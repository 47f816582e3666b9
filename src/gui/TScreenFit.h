#pragma once
// Keeps every window and dialog of the program on the screen it opens on: one larger than the
// screen's free area (a high scale factor, a small screen) is made as large as the area and moved
// into it, so that no button ends up off-screen.

#include <QObject>

class QWidget;

namespace qbm {

class TScreenFit : public QObject {
public:
    // Watches every window of the application from now on; calling it again changes nothing.
    static void InstallForApplication();
    // Makes `window` no larger than the free area of its screen and moves it inside.
    static void Fit(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace qbm
