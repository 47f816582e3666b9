#include "gui/THelpViewer.h"

#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace qbm {
namespace {

TEST(HelpViewer, ShowsTheTopicAndFollowsLinksAndPicturesInsideTheFile) {
    THelpViewer viewer;
    EXPECT_EQ(viewer.ShowTopic(QBM_HELP_FILE, "\\help.chm::/html\\plovet.htm"), "");
    EXPECT_EQ(viewer.CurrentTopic(), "/html/plovet.htm");
    EXPECT_EQ(viewer.Browser()->documentTitle(), "Quirbel Barcode Maker");

    // What a click on the link "The datasheet" hands the browser: a name relative to the page.
    emit viewer.Browser()->anchorClicked(QUrl("datasheet.htm"));
    EXPECT_EQ(viewer.CurrentTopic(), "/html/datasheet.htm");
    EXPECT_TRUE(viewer.Browser()->toPlainText().contains("Importing"));
    const QVariant picture =
        viewer.Browser()->loadResource(QTextDocument::ImageResource, QUrl("../images/grid.png"));
    EXPECT_TRUE(picture.toByteArray().startsWith("\x89PNG"));

    viewer.Browser()->backward();
    EXPECT_EQ(viewer.CurrentTopic(), "/html/plovet.htm");
}

TEST(HelpViewer, NamesTheFileOrTopicItCannotShowAndKeepsThePage) {
    THelpViewer viewer;
    ASSERT_EQ(viewer.ShowTopic(QBM_HELP_FILE, "html/plovet.htm"), "");

    const QString missing = viewer.ShowTopic("/nowhere/help.chm", "html/plovet.htm");
    EXPECT_TRUE(missing.contains("/nowhere/help.chm")) << missing.toStdString();
    const QString noTopic = viewer.ShowTopic(QBM_HELP_FILE, "html/nothing.htm");
    EXPECT_TRUE(noTopic.contains("/html/nothing.htm")) << noTopic.toStdString();
    EXPECT_EQ(viewer.CurrentTopic(), "/html/plovet.htm");
}

} // namespace
} // namespace qbm
