#include "CliRun.h"
#include "TestSupport.h"

#include <fstream>

namespace qbm {
namespace {

test::TCliRun Qbm(const std::vector<std::string>& args) {
    static const std::string dir = test::MakeTempDir();
    return test::RunQbm(dir, args);
}

TEST(QbmImport, PrintsTheDataColumnsHeaderFirst) {
    const std::string dir = test::MakeTempDir();
    const std::string csv = dir + "/codes.csv";
    std::ofstream(csv, std::ios::binary) << "Code;Name\r\n123;\"Box; big\"\r\n7;Tape\vRoll\r\n";
    const auto run = Qbm({"import", csv});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Code\tName\n123\tBox; big\n7\tTape\\r\\nRoll\n");

    const auto xls = Qbm({"import", test::TestDataPath("import/labels.xls")});
    EXPECT_EQ(xls.exitCode, 0) << xls.err;
    EXPECT_EQ(xls.out.substr(0, xls.out.find('\n', xls.out.find('\n') + 1) + 1),
              "Code\tName\tQty\tPrice\n4006381333931\tB\xC3\xBCrste\t12\t1.5\n");
}

TEST(QbmImport, DatabaseTablesByName) {
    const std::string nwind = test::TestDataPath("samples/nwind.mdb");
    const auto list = Qbm({"import", nwind, "--list-tables"});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("Shippers\n"), std::string::npos);
    EXPECT_NE(list.out.find("Ums\xC3\xA4tze\n"), std::string::npos);

    const auto shippers = Qbm({"import", nwind, "--table", "Shippers"});
    EXPECT_EQ(shippers.exitCode, 0) << shippers.err;
    // The blank data column 1 is the database import's: the table starts empty, so it holds nothing.
    EXPECT_EQ(shippers.out, "\tShipperID\tCompanyName\tPhone\n"
                            "\t1\tSpeedy Express\t(503) 555-9831\n"
                            "\t2\tUnited Package\t(503) 555-3199\n"
                            "\t3\tFederal Shipping\t(503) 555-9931\n");

    const auto missing = Qbm({"import", nwind, "--table", "Nope"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "no table 'Nope' in " + nwind + "\n");
    const auto unreadable = Qbm({"import", "/nonexistent/codes.csv"});
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_NE(unreadable.err.find("Cannot open file /nonexistent/codes.csv"), std::string::npos)
        << unreadable.err;

    // A database cut short is refused whole: no partial table list, and nothing of the library's own
    // complaints on the output.
    const std::string cut = test::MakeTempDir() + "/cut.mdb";
    test::WriteWholeFile(cut, test::ReadWholeFile(nwind).substr(0, 204800));
    const auto damaged = Qbm({"import", cut, "--list-tables"});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_EQ(damaged.out, "");
    EXPECT_EQ(damaged.err, "Cannot read Access database " + cut +
                               ": the file is damaged (offset 1495040 is beyond EOF)\n");
}

} // namespace
TEST(QbmImport, WorkbookSheetsStoredValuesAndTextChoices) {
    const std::string xlsx = test::TestDataPath("import/formats.xlsx");
    const auto shown = Qbm({"import", xlsx});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_TRUE(shown.out.starts_with(
        "GTIN\tArticle\tName\tPrice\tShare\tDue\tTwice\tJoined\n"
        "0012345678905\t00123\tK\u00E4se \u03B1\u03B2\u03B3 \u65E5\u672C\t1,234.50 \u20AC\t15.5%\t"
        "15.02.1900\t246\tx\n"))
        << shown.out.substr(0, 200);
    EXPECT_EQ(shown.err, "2 rows imported\n");
    const auto raw = Qbm({"import", xlsx, "--raw", "--sheet", "Labels"});
    EXPECT_TRUE(raw.out.find("\n12345678905\t123\t") != std::string::npos) << raw.out.substr(0, 200);
    const auto other = Qbm({"import", xlsx, "--sheet", "Other"});
    EXPECT_EQ(other.out, "other sheet\n\n"); // the datasheet keeps one data row
    const auto missing = Qbm({"import", xlsx, "--sheet", "Nope"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("it has no sheet \"Nope\"; its sheets are \"Labels\", \"Hidden\", \"Other\""),
              std::string::npos)
        << missing.err;
    // Options for another kind of file are refused, not passed over.
    EXPECT_EQ(Qbm({"import", xlsx, "--table", "Labels"}).exitCode, 2);
    const std::string dir = test::MakeTempDir();
    const std::string csv = dir + "/ansi.csv";
    std::ofstream(csv, std::ios::binary) << "A;B\n\x80;2\n\n";
    const auto text = Qbm({"import", csv});
    EXPECT_EQ(text.out, "A\tB\n\u20AC\t2\n");
    EXPECT_EQ(text.err, "1 row imported; 1 empty row skipped (Windows-1252, delimiter ';')\n");
    EXPECT_EQ(Qbm({"import", csv, "--sheet", "A"}).exitCode, 2);
    const auto chosen = Qbm({"import", csv, "--encoding", "utf-8", "--delimiter", "none", "--no-header"});
    EXPECT_EQ(chosen.out, "Column 1\nA;B\n\u20AC;2\n");
    EXPECT_EQ(Qbm({"import", csv, "--encoding", "ebcdic"}).exitCode, 2);
}

} // namespace qbm
