#include "design/MergeText.h"

#include <gtest/gtest.h>

#include <map>

namespace qbm {
namespace {

TMergeValues Row(std::map<std::string, std::string, std::less<>> columns) {
    TMergeValues v;
    v.field = [columns = std::move(columns)](std::string_view name) -> std::optional<std::string> {
        const auto it = columns.find(name);
        if (it == columns.end()) return std::nullopt;
        return it->second;
    };
    v.code = "4006381333931";
    v.caption = "Shelf A";
    v.counter = 12;
    v.date = "2026-12-11";
    return v;
}

TEST(MergeText, FieldsTakeTheRowsValuesAndBuiltInsTheLabels) {
    const TMergeValues row = Row({{"Name", "Käse"}, {"Price", "1,50"}, {"Code", "sheet code"}});
    struct Case {
        std::string_view text;
        std::string_view expected;
    };
    const Case cases[] = {
        /* 0 */ {"{Name} – {Price} €", "Käse – 1,50 €"},
        /* 1 */ {"no fields", "no fields"},
        /* 2 */ {"{Caption} #{Counter} {Date}", "Shelf A #12 2026-12-11"},
        /* 3 */ {"{caption}", "Shelf A"}, // built-ins in any letter case
        /* 4 */ {"{Code}", "sheet code"}, // the sheet's own column wins
        /* 5 */ {"{{Name}} {Name}", "{Name} Käse"},
        /* 6 */ {"{Unknown}|", "|"},
        /* 7 */ {"open { brace", "open { brace"},
        /* 8 */ {"{Na{Name}", "{NaKäse"},
        /* 9 */ {"}}", "}"},
        /* 10 */ {"", ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ExpandMergeText(cases[i].text, row), cases[i].expected) << "case " << i;
    EXPECT_EQ(ExpandMergeText("{Code}", Row({})), "4006381333931");
}

TEST(MergeText, NamesAndUnknownFields) {
    EXPECT_EQ(MergeFieldNames("{A} {B} {A} {{C}}"), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(HasMergeFields("x {A}"));
    EXPECT_FALSE(HasMergeFields("x {{A}} {"));
    EXPECT_EQ(UnknownMergeFields("{Name} {Prise} {Counter} {date}", {"Name", "Price"}),
              (std::vector<std::string>{"Prise"}));
}

} // namespace
} // namespace qbm
