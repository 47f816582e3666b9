#include "data/DatabaseReader.h"
#include "data/DatasheetImport.h"
#include "data/TDatasheet.h"
#include "util/Errors.h"
#include "util/TUserPrompts.h"
#include "util/Text.h"

#include "ImportTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace qbm;
using qbm::test::Cells;
using qbm::test::DataRow;

namespace {

std::string Nwind() {
    return test::TestDataPath("samples/nwind.mdb");
}
std::string DateTest() {
    return test::TestDataPath("samples/DateTestDatabase.mdb");
}

const std::string kUmsaetze = "Ums\u00E4tze"; // the datasheet holds UTF-8

} // namespace

TEST(ImportDatabase, ListsUserTablesInDatabaseOrder) {
    EXPECT_EQ(DatabaseTableNames(Nwind()),
              (std::vector<std::string>{"Order Details", "Orders", "Products", "Shippers", "Categories",
                                        "Customers", "Employees", "Suppliers", kUmsaetze}));
    EXPECT_EQ(DatabaseTableNames(DateTest()), (std::vector<std::string>{"DateTest"}));
}

TEST(ImportDatabase, ChosenTableFillsFromDataColumnTwo) {
    TDatasheet sheet;
    TScriptedPrompts prompts;
    std::vector<std::string> offered;
    const TImportResult result =
        ImportData(sheet, Nwind(), prompts, [&](const std::vector<std::string>& names) {
            offered = names;
            return std::optional<std::string>("Shippers");
        });
    ASSERT_EQ(result.outcome, TImportOutcome::ioImported) << result.message;
    EXPECT_EQ(offered.size(), 9u);
    EXPECT_EQ(offered.front(), "Order Details");
    EXPECT_EQ(sheet.ColumnCount(), 5);
    EXPECT_EQ(sheet.RowCount(), 4);
    // The former row-number column becomes data column 1, blank; the fields follow.
    EXPECT_EQ(Trim(sheet.ColumnName(1)), "");
    EXPECT_EQ(DataRow(sheet, 0), (Cells{"", "ShipperID", "CompanyName", "Phone"}));
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"", "1", "Speedy Express", "(503) 555-9831"}));
    EXPECT_EQ(DataRow(sheet, 3), (Cells{"", "3", "Federal Shipping", "(503) 555-9931"}));
    EXPECT_TRUE(prompts.Messages().empty());
}

TEST(ImportDatabase, NamesAndValuesInUtf8) {
    TDatasheet sheet;
    ReadDatabaseTable(sheet, Nwind(), kUmsaetze);
    EXPECT_EQ(sheet.ColumnName(1), "OrderID");
    EXPECT_GT(sheet.RowCount(), 2);
    // Null fields are empty cells; texts come as UTF-8, dates as YYYY-MM-DD.
    TDatasheet orders;
    ReadDatabaseTable(orders, Nwind(), "Orders");
    ASSERT_EQ(orders.ColumnName(10), "ShipAddress");
    EXPECT_EQ(orders.Cell(10, 1), "Carrera 52 con Ave. Bol\u00EDvar #65-98 Llano Largo");
    EXPECT_EQ(orders.Cell(4, 1), "1994-11-16");
    EXPECT_EQ(orders.ColumnName(12), "ShipRegion");
    EXPECT_EQ(orders.Cell(12, 2), "");
}

TEST(ImportDatabase, DatesOutsideTheUsualRangeAreText) {
    TDatasheet sheet;
    ReadDatabaseTable(sheet, DateTest(), "DateTest");
    EXPECT_EQ(DataRow(sheet, 0),
              (Cells{"IDCol", "DateTimeCol", "DateCol", "TimeCol", "LongTextCol", "ShortTextCol"}));
    EXPECT_EQ(sheet.RowCount(), 7);
    EXPECT_EQ(DataRow(sheet, 1), (Cells{"1", "2021-12-02", "2021-12-02", "2021-12-02", "Hello", "Hello"}));
    EXPECT_EQ(DataRow(sheet, 2),
              (Cells{"2", "9999-01-01", "9999-01-01", "9999-01-01", "Year 9999", "Year 1999"}));
    EXPECT_EQ(DataRow(sheet, 3),
              (Cells{"3", "1898-01-01", "1899-01-01", "1900-01-01", "Pre-1900 years", "Pre-1900 years"}));
    EXPECT_EQ(DataRow(sheet, 4),
              (Cells{"4", "0632-01-01", "0633-01-01", "0634-01-01", "Pre-1000 years", "Pre-1000 years"}));
    EXPECT_EQ(sheet.Cell(5, 6), "New line\r\nin field");
}

TEST(ImportDatabase, CancelAndErrorsLeaveTheShape) {
    TDatasheet sheet;
    TScriptedPrompts prompts;
    EXPECT_EQ(ImportData(sheet, Nwind(), prompts,
                         [](const std::vector<std::string>&) { return std::optional<std::string>(); })
                  .outcome,
              TImportOutcome::ioCancelled);
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_EQ(sheet.ColumnName(1), "Data1");

    const std::string dir = test::MakeTempDir();
    const std::string notADatabase = test::WriteFile(dir, "notes.MDB", "just some text\n");
    const TImportResult bad = ImportData(sheet, notADatabase, prompts, nullptr);
    EXPECT_EQ(bad.outcome, TImportOutcome::ioFailed);
    EXPECT_EQ(bad.message, "Cannot read Access database " + notADatabase);
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_THROW_MSG(DatabaseTableNames(dir + "/none.mdb"), EInOutError,
                     "Cannot open file " + dir + "/none.mdb");
    EXPECT_THROW_MSG(ReadDatabaseTable(sheet, Nwind(), "NoSuchTable"), EInOutError,
                     "Table 'NoSuchTable' not found in Access database " + Nwind());
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].kind, TMsgKind::mkError);
}

TEST(ImportDatabase, CutShortDatabaseIsDamagedNotPartlyRead) {
    const std::string whole = test::ReadWholeFile(Nwind());
    const std::string dir = test::MakeTempDir();
    // Cut inside a page, at a page boundary before the catalogue's pages, and before a table's pages;
    // and so short that the catalogue reads as empty without a complaint from the library.
    for (const size_t size : {size_t{600000}, size_t{204800}, size_t{1599488}, size_t{12288}}) {
        const std::string path = dir + "/cut" + std::to_string(size) + ".mdb";
        test::WriteWholeFile(path, whole.substr(0, size));
        try {
            DatabaseTableNames(path);
            ADD_FAILURE() << size << ": the table list was read";
        } catch (const EInOutError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(
                          "Cannot read Access database " + path + ": the file is damaged", 0),
                      0u)
                << e.what();
        }
        TDatasheet sheet;
        EXPECT_THROW(ReadDatabaseTable(sheet, path, "Customers"), EInOutError) << size;
    }
}
