#include "gui/TForm1.h"

#include <QTabWidget>

#include <gtest/gtest.h>

TEST(MainWindow, OpensOnTheLinearTabOfAnUntitledProject)
{
    qbm::TForm1 window;
    EXPECT_EQ(window.windowTitle(), "Quirbel Barcode Maker - Untitled Project");
    auto* pages = window.findChild<QTabWidget*>("PG_Pro");
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 3);
    EXPECT_EQ(pages->tabText(0), "1D Barcode ");
    EXPECT_EQ(pages->tabText(1), "2D Barcode ");
    EXPECT_EQ(pages->tabText(2), "Print Layout");
    EXPECT_EQ(pages->currentIndex(), 0);
}
