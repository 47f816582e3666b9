#include "stock/TStockDatabase.h"
#include "stock/TStockReader.h"

#include "StockTestSupport.h"

#include <cmath>
#include <filesystem>
#include <sys/stat.h>

namespace qbm {
namespace {

// One template file holding `body`, read after the test paper sizes.
struct Read {
    std::vector<TStock> stocks;
    std::vector<std::string> problems;
};
Read ReadTemplates(const std::string& body, const std::string& papers = test::kPaperSizes) {
    TStockReader reader;
    reader.ReadPaperSizes(papers, "paper-sizes.xml");
    reader.ReadTemplates("<?xml version=\"1.0\"?>\n<Glabels-templates>\n" + body + "</Glabels-templates>\n",
                         "t-templates.xml");
    Read r;
    r.stocks = reader.Finish();
    r.problems = reader.Problems();
    return r;
}

std::string Rectangle(const std::string& part, const std::string& width, const std::string& size = "A4") {
    return "<Template brand=\"B\" part=\"" + part + "\" size=\"" + size +
           "\"><Label-rectangle id=\"0\" width=\"" + width +
           "\" height=\"10mm\"><Layout nx=\"1\" ny=\"1\"/></Label-rectangle></Template>\n";
}

TEST(StockReader, LengthsReadInEveryUnit) {
    struct Case {
        const char* text;
        double mm; // below zero: refused
    };
    const Case cases[] = {
        /* 0 */ {"72pt", 25.4},   /* 1 */ {"72", 25.4},
        /* 2 */ {"1in", 25.4},    /* 3 */ {"25.4mm", 25.4},
        /* 4 */ {"2.54cm", 25.4}, /* 5 */ {"6pc", 25.4},
        /* 6 */ {" 1 in ", 25.4}, /* 7 */ {"0.5IN", 12.7},
        /* 8 */ {"in", -1},       /* 9 */ {"-1mm", -1},
        /* 10 */ {"1ft", -1},     /* 11 */ {"1e9mm", -1},
        /* 12 */ {"nan", -1},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Read r = ReadTemplates(Rectangle("P", cases[i].text));
        if (cases[i].mm < 0) {
            EXPECT_TRUE(r.stocks.empty()) << "case " << i;
            ASSERT_EQ(r.problems.size(), 1u) << "case " << i;
            EXPECT_EQ(r.problems[0], std::string("t-templates.xml: \"B P\": width \"") + cases[i].text +
                                         "\" is not a length")
                << "case " << i;
        } else {
            ASSERT_EQ(r.stocks.size(), 1u) << "case " << i;
            EXPECT_NEAR(r.stocks[0].labelWidth, cases[i].mm, 1e-9) << "case " << i;
        }
    }
}

TEST(StockReader, RoundAndCdLabelsBecomeTheirBoundingBoxes) {
    struct Case {
        const char* label;
        TStockShape shape;
        double width, height, radius;
    };
    const Case cases[] = {
        /* 0 */ {R"(<Label-rectangle id="0" width="60mm" height="30mm" round="3mm">)",
                 TStockShape::ssRectangle, 60, 30, 3},
        /* 1 */
        {R"(<Label-rectangle id="0" width="60mm" height="30mm">)", TStockShape::ssRectangle, 60, 30, 0},
        /* 2 */ {R"(<Label-round id="0" radius="20mm">)", TStockShape::ssRound, 40, 40, 20},
        /* 3 */ {R"(<Label-ellipse id="0" width="50mm" height="20mm">)", TStockShape::ssEllipse, 50, 20, 10},
        /* 4 */ {R"(<Label-cd id="0" radius="58mm" hole="20mm">)", TStockShape::ssCd, 116, 116, 58},
        /* 5 */
        {R"(<Label-cd id="0" radius="58mm" hole="20mm" width="116mm" height="80mm">)", TStockShape::ssCd, 116,
         80, 40},
        // A unit without its number, as Debian's database writes one square corner: no radius.
        /* 6 */
        {R"(<Label-rectangle id="0" width="2in" height="4in" round="in">)", TStockShape::ssRectangle, 50.8,
         101.6, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string element =
            std::string(cases[i].label).substr(1, std::string(cases[i].label).find(' ') - 1);
        const Read r =
            ReadTemplates(std::string("<Template brand=\"B\" part=\"P\" size=\"A4\">") + cases[i].label +
                          "<Markup-margin size=\"1mm\"/><Layout nx=\"2\" ny=\"3\" x0=\"1mm\" y0=\"2mm\" "
                          "dx=\"100mm\" dy=\"90mm\"/></" +
                          element + "></Template>");
        ASSERT_EQ(r.stocks.size(), 1u) << "case " << i << ": " << (r.problems.empty() ? "" : r.problems[0]);
        const TStock& s = r.stocks[0];
        EXPECT_EQ(s.shape, cases[i].shape) << "case " << i;
        EXPECT_NEAR(s.labelWidth, cases[i].width, 1e-9) << "case " << i;
        EXPECT_NEAR(s.labelHeight, cases[i].height, 1e-9) << "case " << i;
        EXPECT_NEAR(s.cornerRadius, cases[i].radius, 1e-9) << "case " << i;
        EXPECT_TRUE(s.IsSheet());
        EXPECT_EQ(s.LabelsPerSheet(), 6) << "case " << i;
        EXPECT_EQ(s.GridText(), "2 x 3") << "case " << i;
    }

    // A roll is listed, marked as no sheet.
    const Read roll = ReadTemplates(
        R"(<Template brand="Dymo" part="R1" size="roll"><Label-continuous id="0" width="62mm"/></Template>)");
    ASSERT_EQ(roll.stocks.size(), 1u);
    EXPECT_FALSE(roll.stocks[0].IsSheet());
    EXPECT_EQ(roll.stocks[0].GridText(), "roll");
    EXPECT_TRUE(roll.problems.empty());
}

TEST(StockReader, PaperSizesByNameOrTheSheetsOwnSize) {
    const Read r = ReadTemplates(
        Rectangle("A", "1in") + Rectangle("L", "1in", "US-Letter") +
        R"(<Template brand="B" part="H" size="Half"><Label-rectangle id="0" width="1in" height="1in"><Layout nx="1" ny="1"/></Label-rectangle></Template>
<Template brand="B" part="O" size="Other" width="100mm" height="62mm"><Label-rectangle id="0" width="1in" height="1in"><Layout nx="1" ny="1"/></Label-rectangle></Template>
<Template brand="B" part="X" size="Legal"><Label-rectangle id="0" width="1in" height="1in"><Layout nx="1" ny="1"/></Label-rectangle></Template>
)");
    ASSERT_EQ(r.stocks.size(), 4u);
    struct Want {
        const char* part;
        const char* paper;
        double width, height;
    };
    const Want want[] = {{"A", "A4", 210, 297},
                         {"H", "Half Sheet", 148.5, 210},
                         {"L", "US Letter", 215.9, 279.4},
                         {"O", "100.0 x 62.0 mm", 100, 62}};
    for (size_t i = 0; i < std::size(want); ++i) {
        EXPECT_EQ(r.stocks[i].part, want[i].part);
        EXPECT_EQ(r.stocks[i].PaperText(), want[i].paper) << want[i].part;
        EXPECT_NEAR(r.stocks[i].pageWidth, want[i].width, 1e-9) << want[i].part;
        EXPECT_NEAR(r.stocks[i].pageHeight, want[i].height, 1e-9) << want[i].part;
    }
    EXPECT_EQ(r.problems, std::vector<std::string>{"t-templates.xml: \"B X\": unknown paper size \"Legal\""});

    // A damaged paper size file is named; A4 and US Letter are still known.
    const Read without = ReadTemplates(Rectangle("A", "1in") + Rectangle("H", "1in", "Half"), "<oops");
    ASSERT_EQ(without.stocks.size(), 1u);
    ASSERT_EQ(without.problems.size(), 2u);
    EXPECT_EQ(without.problems[0].rfind("paper-sizes.xml: line 1: ", 0), 0u) << without.problems[0];
}

TEST(StockReader, EquivalentsTakeTheSheetAndKeepTheirOwnName) {
    const Read r = ReadTemplates(R"(
<Template brand="Avery" part="E2" equiv="E1" _description="Own words"/>
<Template brand="Avery" part="E1" equiv="5160"/>
<Template brand="Avery" part="5160" size="US-Letter" _description="Address Labels">
  <Label-rectangle id="0" width="2.625in" height="1in"><Layout nx="3" ny="10" x0="0.15625in" y0="0.5in" dx="2.78125in" dy="1in"/></Label-rectangle>
  <Equiv part="8160"/>
</Template>
<Template brand="Avery" part="Lost" equiv="9999"/>
)");
    ASSERT_EQ(r.stocks.size(), 4u);
    struct Want {
        const char* part;
        const char* of;
        const char* description;
    };
    const Want want[] = {{"5160", "", "Address Labels"},
                         {"8160", "5160", "Address Labels"},
                         {"E1", "5160", "Address Labels"},
                         {"E2", "E1", "Own words"}};
    for (size_t i = 0; i < std::size(want); ++i) {
        const TStock& s = r.stocks[i];
        EXPECT_EQ(s.part, want[i].part);
        EXPECT_EQ(s.equivalentOf, want[i].of) << s.part;
        EXPECT_EQ(s.description, want[i].description) << s.part;
        EXPECT_EQ(s.GridText(), "3 x 10") << s.part;
        EXPECT_EQ(s.PaperText(), "US Letter") << s.part;
    }
    EXPECT_EQ(r.problems,
              std::vector<std::string>{"t-templates.xml: \"Avery Lost\" is an equivalent of \"9999\", "
                                       "which is not in the database"});
}

// Each part is an equivalent of the next, listed from the end of the chain: every one is resolved to
// the one real sheet at its end, however long the chain.
TEST(StockReader, ALongChainOfEquivalentsResolvesToItsSheet) {
    constexpr int kChain = 20000;
    std::string body;
    for (int i = 0; i < kChain; ++i)
        body += "<Template brand=\"B\" part=\"E" + std::to_string(i) + "\" equiv=\"E" +
                std::to_string(i + 1) + "\"/>\n";
    body += Rectangle("E" + std::to_string(kChain), "1in");
    const Read r = ReadTemplates(body);
    ASSERT_EQ(r.stocks.size(), static_cast<size_t>(kChain + 1));
    EXPECT_TRUE(r.problems.empty());
    for (const TStock& s : r.stocks) EXPECT_NEAR(s.labelWidth, 25.4, 1e-9) << s.part;
}

TEST(StockDatabase, DamagedFilesAreNamedAndTheRestLoads) {
    const std::string good = std::string("<Glabels-templates>") + Rectangle("G1", "1in") +
                             Rectangle("G2", "2in") + "</Glabels-templates>";
    const std::string dir = test::WriteStockFolder({
        {"paper-sizes.xml", test::kPaperSizes},
        {"a-templates.xml", good},
        {"b-templates.xml", "<Glabels-templates>" + Rectangle("B1", "1in") + "<Template brand=\"B\""},
        {"c-templates.xml", "<Glabels-paper-sizes/>"},
        {"d-templates.xml", "<Glabels-templates>" + Rectangle("D1", "1in") + Rectangle("D2", "wide") +
                                Rectangle("G1", "3in") + "<Template brand=\"B\" part=\"D3\" size=\"A4\"/>" +
                                "</Glabels-templates>"},
        {"vendors.xml", "<Glabels-vendors/>"},
        {"notes.txt", "not read"},
    });
    const TStockDatabase db = TStockDatabase::Load(dir);
    std::vector<std::string> names;
    for (const TStock& s : db.Stocks()) names.push_back(s.part + "@" + s.file);
    EXPECT_EQ(names,
              (std::vector<std::string>{"D1@d-templates.xml", "G1@a-templates.xml", "G2@a-templates.xml"}));
    EXPECT_NEAR(db.Find("b g1")->labelWidth, 25.4, 1e-9) << "the first definition is kept";
    ASSERT_EQ(db.Problems().size(), 5u);
    EXPECT_EQ(db.Problems()[0], "b-templates.xml: line 2: Premature end of document.");
    EXPECT_EQ(db.Problems()[1], "c-templates.xml: not a label stock file");
    EXPECT_EQ(db.Problems()[2], "d-templates.xml: \"B D2\": width \"wide\" is not a length");
    EXPECT_EQ(db.Problems()[3], "d-templates.xml: \"B D3\" has no label");
    EXPECT_EQ(db.Problems()[4],
              "d-templates.xml: \"B G1\" is listed again (a-templates.xml); the first is kept");

    const TStockDatabase none = TStockDatabase::Load(dir + "/missing");
    EXPECT_TRUE(none.Stocks().empty());
    EXPECT_EQ(none.Problems(), std::vector<std::string>{dir + "/missing: no such folder"});
}

// A pipe would block the read and /dev/zero never end it: both are named and skipped.
TEST(StockDatabase, FilesThatAreNotRegularAreSkipped) {
    const std::string dir = test::WriteStockFolder({
        {"paper-sizes.xml", test::kPaperSizes},
        {"a-templates.xml", "<Glabels-templates>" + Rectangle("G1", "1in") + "</Glabels-templates>"},
    });
    ASSERT_EQ(mkfifo((dir + "/p-templates.xml").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir + "/z-templates.xml");
    const TStockDatabase db = TStockDatabase::Load(dir);
    ASSERT_EQ(db.Stocks().size(), 1u);
    EXPECT_EQ(db.Problems(), (std::vector<std::string>{"p-templates.xml: not a regular file",
                                                       "z-templates.xml: not a regular file"}));
}

TEST(StockDatabase, SearchMatchesEveryWordInAnyColumn) {
    const std::string dir = test::WriteStockFolder(
        {{"paper-sizes.xml", test::kPaperSizes}, {"avery-templates.xml", test::kThreeSheets}});
    const TStockDatabase db = TStockDatabase::Load(dir);
    ASSERT_EQ(db.Stocks().size(), 4u);
    const auto parts = [&](std::string_view words) {
        std::string found;
        for (const TStock* s : db.Search(words)) found += (found.empty() ? "" : ",") + s->part;
        return found;
    };
    struct Case {
        const char* words;
        const char* parts;
    };
    const Case cases[] = {
        /* 0 */ {"", "5160,7163,L7163,50450"},
        /* 1 */ {"AVERY a4", "7163,L7163"},
        /* 2 */ {"mailing", "7163,L7163"},
        /* 3 */ {"letter", "5160"},
        /* 4 */ {"70.0 x 37.0", "50450"},
        /* 5 */ {"3 x 10", "5160"},
        /* 6 */ {"hama avery", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(parts(c.words), c.parts) << c.words;
    ASSERT_NE(db.Find("  avery l7163 "), nullptr);
    EXPECT_EQ(db.Find("Avery L7163")->equivalentOf, "7163");
    EXPECT_EQ(db.Find("Avery"), nullptr);
}

} // namespace
} // namespace qbm
