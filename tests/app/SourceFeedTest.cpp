#include "app/TSourceFeed.h"
#include "project/TLabelProject.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

// A project whose datasheet has the columns " Code " and "Caption" and three rows.
TLabelProject WithSheet() {
    TLabelProject project;
    TDatasheet& sheet = project.Datasheet();
    sheet.Reset(3, 4);
    sheet.SetRow(0, {"", " Code ", "Caption"});
    sheet.SetRow(1, {"", " 123 ", "first"});
    sheet.SetRow(2, {"", "", "second"});
    sheet.SetRow(3, {"", "456\t", " third "});
    project.RebuildFieldList(kFieldPlaceholderDatasheet);
    return project;
}

TEST(LabelSources, FeedWalksTheDatasheetFromIndexOneAsThePrintLoopDoes) {
    TLabelProject project = WithSheet();
    project.SetLinearSource(TLinearSource::lsDatasheet);
    project.SetCodeField(1);
    project.SetCapField(2);
    TSourceFeed feed(project);
    EXPECT_EQ(feed.FirstIndex(), 1);
    EXPECT_EQ(feed.Count(), 4);
    EXPECT_EQ(feed.Value(1).code, "123");
    EXPECT_EQ(feed.Value(3).caption, "third");

    project.SetKind(TBarcodeKind::bk2D);
    project.SetSource2D(T2DSource::tsCodeList);
    project.CodeList2D() = {"x", "y"};
    EXPECT_EQ(feed.FirstIndex(), 0);
    EXPECT_EQ(feed.Count(), 2);
    EXPECT_EQ(feed.Value(1).code, "y");
}

} // namespace
} // namespace qbm
