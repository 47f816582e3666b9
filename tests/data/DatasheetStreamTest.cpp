#include "data/DatasheetStream.h"

#include "data/TDatasheet.h"
#include "util/Errors.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace qbm;

TEST(DatasheetStream, WritesSizeWidthsAndNonEmptyCellsRowByRow) {
    TDatasheet sheet;
    sheet.AddColumn("Caption");
    sheet.SetRowCount(4);
    sheet.SetCell(2, 3, "x,y");
    sheet.SetCell(1, 1, "A1");
    sheet.SetColumnWidth(2, 80);
    EXPECT_EQ(DatasheetToStream(sheet), "3,4\r\n"
                                        "cw 0,50\r\n"
                                        "cw 1,115\r\n"
                                        "cw 2,80\r\n"
                                        "0,0, \r\n"
                                        "1,0,Data1\r\n"
                                        "2,0,Caption\r\n"
                                        "0,1, \r\n"
                                        "1,1,A1\r\n"
                                        "2,3,x,y\r\n");
}

TEST(DatasheetStream, LineBreaksTravelAsTabAndBackspaceAndOnlyTheFirstLineComesBack) {
    TDatasheet sheet;
    sheet.SetCell(1, 1, "first\r\nsecond");
    const std::string stream = DatasheetToStream(sheet);
    EXPECT_NE(stream.find("1,1,first\t\bsecond\r\n"), std::string::npos);
    TDatasheet loaded;
    DatasheetFromStream(loaded, stream);
    EXPECT_EQ(loaded.Cell(1, 1), "first");

    EXPECT_EQ(CellAfterStream("first\r\nsecond"), "first");
    EXPECT_EQ(CellAfterStream("tab\there"), "tab\there");
    EXPECT_EQ(CellAfterStream("lf\nonly"), "lf\nonly");
    EXPECT_EQ(CellAfterStream("cr\ronly"), "cr\tonly"); // no backspace, so the tab stays a tab
    EXPECT_EQ(CellAfterStream("a\tb\bc"), "a");         // read as a line break
    EXPECT_EQ(CellAfterStream("bs\bonly"), "bs\nonly");
}

TEST(DatasheetStream, RoundTripKeepsOddCellsSizesAndWidths) {
    TDatasheet sheet;
    sheet.Reset(5, 7);
    const std::vector<std::string> texts = {
        "tab\there", "a=b",   "\"quoted\"",         std::string("\xE4\xF6\xFC\x80\xFF", 5),
        "trailing ", ",lead", std::string(300, 'w')};
    int i = 0;
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 5; ++c)
            if ((r * 5 + c) % 3 == 0) sheet.SetCell(c, r, texts[i++ % texts.size()]);
    for (int c = 0; c < 5; ++c) sheet.SetColumnWidth(c, 10 + c * 7);

    TDatasheet loaded;
    loaded.AddColumn("leftover");
    loaded.SetCell(2, 1, "leftover");
    DatasheetFromStream(loaded, DatasheetToStream(sheet));
    ASSERT_EQ(loaded.ColumnCount(), 5);
    ASSERT_EQ(loaded.RowCount(), 7);
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(loaded.ColumnWidth(c), 10 + c * 7);
        for (int r = 0; r < 7; ++r) EXPECT_EQ(loaded.Cell(c, r), sheet.Cell(c, r)) << c << "," << r;
    }
    EXPECT_EQ(DatasheetToStream(loaded), DatasheetToStream(sheet));
}

TEST(DatasheetStreamReading, ConversionErrorsAndMalformedLines) {
    TDatasheet sheet;
    EXPECT_THROW_MSG(DatasheetFromStream(sheet, "x,2\r\n"), EConvertError,
                     "'x' is not a valid integer value");
    EXPECT_THROW_MSG(DatasheetFromStream(sheet, "22\r\n"), EConvertError, "'' is not a valid integer value");
    EXPECT_THROW_MSG(DatasheetFromStream(sheet, "2,2\r\nq,1,v\r\n"), EConvertError,
                     "'q' is not a valid integer value");
    EXPECT_THROW_MSG(DatasheetFromStream(sheet, "2,2\r\ncw 1,wide\r\n"), EConvertError,
                     "'wide' is not a valid integer value");

    // Reading stops at a line without its commas; what came before stays.
    DatasheetFromStream(sheet, "3,3\r\n1,1,kept\r\n2,1\r\n2,2,lost\r\n");
    EXPECT_EQ(sheet.Cell(1, 1), "kept");
    EXPECT_EQ(sheet.Cell(2, 2), "");
    DatasheetFromStream(sheet, "3,3\r\n1,,x\r\n2,2,lost\r\n");
    EXPECT_EQ(sheet.Cell(2, 2), "");
    DatasheetFromStream(sheet, "3,3\r\n\r\n2,2,lost\r\n");
    EXPECT_EQ(sheet.Cell(2, 2), "");
}

TEST(DatasheetStreamReading, DamagedCountsAndIndexesCannotHurtTheSheet) {
    TDatasheet sheet;
    // Cells outside the table and widths of missing columns are skipped, not stored.
    DatasheetFromStream(sheet, "3,3\r\ncw 9,40\r\ncw -1,40\r\n7,1,out\r\n1,-2,out\r\n1,9,out\r\n2,2,in\r\n");
    EXPECT_EQ(sheet.Cell(2, 2), "in");
    EXPECT_EQ(DatasheetToStream(sheet).find("out"), std::string::npos);
    // Counts below the table's minimum become the minimum; enormous ones cost nothing until used.
    DatasheetFromStream(sheet, "-4,0\r\n");
    EXPECT_EQ(sheet.ColumnCount(), 2);
    EXPECT_EQ(sheet.RowCount(), 2);
    DatasheetFromStream(sheet, "2147483647,2147483647\r\n5,2000000000,far\r\n");
    EXPECT_EQ(sheet.ColumnCount(), TDatasheet::kMaxColumns);
    EXPECT_EQ(sheet.RowCount(), 2147483647);
    EXPECT_EQ(sheet.Cell(5, 2000000000), "far");
    // Rows named out of order keep their earlier cells.
    DatasheetFromStream(sheet, "3,3\r\n1,2,a\r\n1,1,b\r\n2,2,c\r\n");
    EXPECT_EQ(sheet.Cell(1, 2), "a");
    EXPECT_EQ(sheet.Cell(2, 2), "c");
    EXPECT_EQ(sheet.Cell(1, 1), "b");
}

TEST(DatasheetStreamReading, EmptyStreamEmptiesTheCellsAndLastLineNeedsNoEnd) {
    TDatasheet sheet;
    sheet.SetCell(1, 1, "x");
    DatasheetFromStream(sheet, "");
    EXPECT_EQ(sheet.Cell(1, 0), "");
    EXPECT_EQ(sheet.Cell(1, 1), "");
    EXPECT_EQ(sheet.ColumnCount(), 2);
    DatasheetFromStream(sheet, "2,2\r\n1,1,end");
    EXPECT_EQ(sheet.Cell(1, 1), "end");
    // Whatever byte follows a CR is taken as its LF.
    DatasheetFromStream(sheet, "2,2\rX1,1,v\rY");
    EXPECT_EQ(sheet.Cell(1, 1), "v");
}

TEST(HexStream, BytesBecomeUpperCasePairsAndBack) {
    const std::string bytes("\x00\x0f\xa5\xff"
                            "Az",
                            6);
    EXPECT_EQ(StreamToHex(bytes), "000FA5FF417A");
    EXPECT_EQ(HexToStream("000FA5FF417A"), bytes);
    EXPECT_EQ(HexToStream("000fa5ff417a"), bytes);
    EXPECT_EQ(StreamToHex(""), "");
    EXPECT_EQ(HexToStream(""), "");
    EXPECT_EQ(HexToStream("41A"), std::string("A\x0A", 2)); // a lone last digit is a byte
    EXPECT_EQ(HexToStream("G1 1-1"), std::string(3, '\0')); // pieces that are not hex give 0
}

TEST(DatasheetStreamDamage, StreamsTheProductCannotHaveWrittenAreNamed) {
    const std::string widths = "cw 0,50\r\ncw 1,115\r\n";
    const struct {
        std::string stream;
        std::string damage; // empty: sound
    } cases[] = {
        /* 0 */ {"", ""},
        /* 1 */ {"2,15\r\n" + widths + "1,0,Code\r\n1,14,4006381333931\r\n", ""},
        /* 2 */ {"2,1000\r\n" + widths + "1,0,Code\r\n", ""}, // rows added one by one stay empty
        /* 3 */ {"x,2\r\n", ""},                              // the reader's conversion error says it
        /* 4 */ {"2,15\r\n" + widths + "1,0,Code\r\n1,3,40063", "it ends inside a line"},
        /* 5 */ {"2,15\r\ncw 0,5", "it ends inside a line"},
        /* 6 */ {"4,15\r\n" + widths, "it ends after the widths of 2 of its 4 columns"},
        /* 7 */
        {"2,100000000\r\n" + widths + "1,0,Code\r\n1,1,123\r\n",
         "it declares 100000000 rows but holds text only up to row 1"},
        /* 8 */
        {"2,3000000\r\n" + widths + "1,9999999,outside\r\n",
         "it declares 3000000 rows but holds text only up to row 0"},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(DatasheetStreamDamage(cases[i].stream), cases[i].damage) << "case " << i;
    // Whatever the product writes is sound, however many rows hold text.
    TDatasheet sheet;
    sheet.SetRowCount(3 * static_cast<int>(kMaxTrailingEmptyRows));
    sheet.SetCell(1, 2 * static_cast<int>(kMaxTrailingEmptyRows), "far");
    EXPECT_EQ(DatasheetStreamDamage(DatasheetToStream(sheet)), "");
}
