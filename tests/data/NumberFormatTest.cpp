// Number format codes as office suites show a cell: each row is what the suite displays.
#include "data/NumberFormat.h"

#include <gtest/gtest.h>

using namespace qbm;

TEST(NumberFormat, ShowsNumbersAsTheSuiteDoes) {
    struct Case {
        double value;
        const char* code;
        const char* shown;
    };
    const Case kCases[] = {
        /* 0 */ {12345678905, "0000000000000", "0012345678905"}, // a GTIN keeps its leading zeros
        /* 1 */ {123, "00000", "00123"},
        /* 2 */ {0, "00000", "00000"},
        /* 3 */ {1234.5, "#,##0.00", "1,234.50"},
        /* 4 */ {-1234.5, "#,##0.00", "-1,234.50"},
        /* 5 */ {0.155, "0.0%", "15.5%"},
        /* 6 */ {0.125, "0%", "13%"}, // halves away from zero
        /* 7 */ {1234.5, "#,##0.00 [$\xE2\x82\xAC-407]", "1,234.50 \xE2\x82\xAC"},
        /* 8 */ {1234.5, "[$$-409]#,##0.00", "$1,234.50"},
        /* 9 */ {-5, "#,##0;(#,##0)", "(5)"},
        /* 10 */ {0, "#,##0;(#,##0);\"zero\"", "zero"},
        /* 11 */ {-5, "0;[Red]-0", "-5"},
        /* 12 */ {123456, "0.00E+00", "1.23E+05"},
        /* 13 */ {0.000123, "0.00E+00", "1.23E-04"},
        /* 14 */ {12345, "##0.0E+0", "12.3E+3"},
        /* 15 */ {1.5, "General", "1.5"},
        /* 16 */ {4006381333931, "General", "4006381333931"},
        /* 17 */ {1234567, "#,##0,", "1,235"}, // a trailing comma counts thousands
        /* 18 */ {5, "\"No. \"0", "No. 5"},
        /* 19 */ {5, "0\\ \"pcs\"", "5 pcs"},
        /* 20 */ {0.5, "#.##", ".5"},
        /* 21 */ {2, "0.0#", "2.0"},
        /* 22 */ {2.345, "0.0#", "2.35"},
        /* 23 */ {1234, "0_);(0)", "1234 "},
        /* 24 */ {5551234, "000-0000", "555-1234"},
        /* 25 */ {-0.001, "0.00", "0.00"}, // rounds to nothing: no sign
        /* 26 */ {42, "@", "42"},
        /* 27 */ {3, "0;-0;;@", "3"},
        /* 28 */ {0, "0;-0;;@", ""}, // an empty zero section hides zeros
        /* 29 */ {1e20, "0", "100000000000000000000"},
    };
    for (size_t i = 0; i < std::size(kCases); ++i)
        EXPECT_EQ(FormatNumber(kCases[i].value, kCases[i].code), kCases[i].shown)
            << "case " << i << ": " << kCases[i].code;
}

TEST(NumberFormat, ShowsDatesTimesAndDurations) {
    struct Case {
        double serial;
        const char* code;
        const char* shown;
    };
    const Case kCases[] = {
        /* 0 */ {45356, "dd.mm.yyyy", "05.03.2024"},
        /* 1 */ {45356, "m/d/yyyy", "3/5/2024"},
        /* 2 */ {45356, "d-mmm-yy", "5-Mar-24"},
        /* 3 */ {45356, "dddd, mmmm d, yyyy", "Tuesday, March 5, 2024"},
        /* 4 */ {45356.5729166667, "yyyy-mm-dd hh:mm", "2024-03-05 13:45"},
        /* 5 */ {45356.5729166667, "h:mm AM/PM", "1:45 PM"},
        /* 6 */ {0.5, "hh:mm:ss", "12:00:00"},
        /* 7 */ {1.5, "[h]:mm", "36:00"},
        /* 8 */ {0.000694444444, "[mm]:ss", "01:00"},
        /* 9 */ {0.5000057870, "hh:mm:ss.00", "12:00:00.50"},
        // Days from 30 December 1899 throughout, as the suite counts them: no 29 February 1900.
        /* 10 */ {1, "yyyy-mm-dd", "1899-12-31"},
        /* 11 */ {59, "yyyy-mm-dd", "1900-02-27"},
        /* 12 */ {60, "yyyy-mm-dd", "1900-02-28"},
        /* 13 */ {61, "yyyy-mm-dd", "1900-03-01"},
        /* 14 */ {45356, "mmmmm", "M"},
        /* 15 */ {45356.99999999, "yyyy-mm-dd hh:mm:ss", "2024-03-06 00:00:00"}, // seconds round up a day
    };
    for (size_t i = 0; i < std::size(kCases); ++i)
        EXPECT_EQ(FormatNumber(kCases[i].serial, kCases[i].code), kCases[i].shown)
            << "case " << i << ": " << kCases[i].code;
    // The 1904 system counts from 1 January 1904.
    EXPECT_EQ(FormatNumber(0, "yyyy-mm-dd", true), "1904-01-01");
    EXPECT_EQ(FormatNumber(43894, "yyyy-mm-dd", true), "2024-03-05");
    EXPECT_TRUE(IsDateFormat("dd.mm.yyyy"));
    EXPECT_FALSE(IsDateFormat("#,##0.00 \"m\""));
    EXPECT_EQ(BuiltInFormatCode(14), "m/d/yyyy");
    EXPECT_EQ(BuiltInFormatCode(0), "");
}
