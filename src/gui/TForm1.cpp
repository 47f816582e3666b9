#include "gui/TForm1.h"

#include <QTabWidget>

namespace qbm {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("Form1");
    setWindowTitle("Quirbel Barcode Maker - Untitled Project");
    m_pages = new QTabWidget(this);
    m_pages->setObjectName("PG_Pro");
    m_pages->setTabPosition(QTabWidget::South);
    for (const auto& [name, caption] : {std::pair{"TB_Code", "1D Barcode "}, std::pair{"TS_2d", "2D Barcode "},
                                        std::pair{"TS_Pnt", "Print Layout"}}) {
        auto* page = new QWidget(m_pages);
        page->setObjectName(name);
        page->setAccessibleName(caption);
        m_pages->addTab(page, caption);
    }
    setCentralWidget(m_pages);
}

TForm1::~TForm1() = default;

} // namespace qbm
