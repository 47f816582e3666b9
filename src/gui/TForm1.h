#pragma once
// The main window: the code tabs, the print layout tab, the page preview, menus and toolbar.

#include <QMainWindow>

class QTabWidget;

namespace qbm {

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

private:
    QTabWidget* m_pages = nullptr;
};

} // namespace qbm
