#include "project/ProjectFile.h"
#include "project/TLabelProject.h"

#include "CliRun.h"
#include "TestSupport.h"

namespace qbm {
namespace {

using TRun = test::TCliRun;

// Against a library of the default templates in the test's folder.
TRun Labels(const std::string& dir, const std::string& args) {
    return test::RunQbm(dir, "labels " + args + " --library " + dir + "/Templates.dat");
}

TEST(QbmLabels, PrintsCountThenEachLabelOfTheChosenKind) {
    const std::string dir = test::MakeTempDir();
    TLabelProject project;
    project.SetTemplateName("EAN13 (ISBN)");
    TDatasheet& sheet = project.Datasheet();
    sheet.AddColumn("Caption");
    sheet.SetRowCount(4);
    sheet.SetCell(1, 1, " 4006381333931 ");
    sheet.SetCell(2, 1, "Pens");
    sheet.SetCell(1, 3, "back\\slash\ttab");
    sheet.SetCell(2, 3, "\xE4");
    project.RebuildFieldList(kFieldPlaceholderDatasheet);
    project.SetLinearSource(TLinearSource::lsDatasheet);
    project.SetCodeField(1);
    project.SetCapField(2);
    project.SetSource2D(T2DSource::tsFixedText);
    project.SetText2D(" two\tparts ");
    project.SetAmount2D(2);
    SaveProject(dir + "/p.bpj", project, nullptr);

    const TRun linear = Labels(dir, dir + "/p.bpj");
    EXPECT_EQ(linear.exitCode, 0) << linear.err;
    EXPECT_EQ(linear.out, "3\n4006381333931\tPens\n\t\nback\\\\slash\\x09tab\t\xC3\xA4\n");

    const TRun twoD = Labels(dir, dir + "/p.bpj --kind 2d");
    EXPECT_EQ(twoD.exitCode, 0) << twoD.err;
    EXPECT_EQ(twoD.out, "2\ntwo\\x09parts\ntwo\\x09parts\n");

    EXPECT_EQ(Labels(dir, dir + "/p.bpj --kind 3d").exitCode, 2);
    const TRun missing = Labels(dir, dir + "/missing.bpj");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("missing.bpj"), std::string::npos);
}

} // namespace
} // namespace qbm
