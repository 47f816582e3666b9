#include "app/TSourceFeed.h"
#include "project/TLabelProject.h"

#include "SheetProject.h"

#include <gtest/gtest.h>

namespace qbm {
namespace {

TEST(LabelSources, FeedWalksTheDatasheetFromIndexOneAsThePrintLoopDoes) {
    TLabelProject project = test::ProjectWithThreeRowSheet();
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
