#include "barcode/EanUpcEncoder.h"
#include "barcode/TBarcode.h"

#include "Code128EanTestSupport.h"
#include "TestSupport.h"
#include "util/Errors.h"

#include <string_view>

namespace qbm {
namespace {

// The digit codes as the EAN standard writes them, one character per module, 1 dark: L (odd parity),
// G (even parity) and R (right half).
constexpr std::string_view kL[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                     "0110001", "0101111", "0111011", "0110111", "0001011"};

std::string R(int d) {
    std::string r(kL[d]);
    for (char& c : r) c = c == '1' ? '0' : '1';
    return r;
}
std::string G(int d) {
    const std::string r = R(d);
    return std::string(r.rbegin(), r.rend());
}
std::string L(int d) {
    return std::string(kL[d]);
}

// The dark and light modules of a pattern drawn with module width 1 and ratio 2.
std::string ModuleBits(const std::string& pattern) {
    std::string bits;
    for (const char c : pattern) {
        const bool bar = c >= '5';
        bits.append(static_cast<size_t>(bar ? c - '4' : c - '0' + 1), bar ? '1' : '0');
    }
    return bits;
}

// Left digits under a parity string ("L"/"G" per digit), centre guard, right digits.
std::string EanBits(const std::string& left, const std::string& parity, const std::string& right) {
    std::string r = "101";
    for (size_t i = 0; i < left.size(); ++i) r += parity[i] == 'G' ? G(left[i] - '0') : L(left[i] - '0');
    r += "01010";
    for (const char c : right) r += R(c - '0');
    return r + "101";
}

std::string UpcEBits(const std::string& six, const std::string& parity) {
    std::string r = "101";
    for (size_t i = 0; i < 6; ++i) r += parity[i] == 'G' ? G(six[i] - '0') : L(six[i] - '0');
    return r + "010101";
}

std::string SupplementBits(const std::string& digits, const std::string& parity) {
    std::string r = "1011";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0) r += "01";
        r += parity[i] == 'G' ? G(digits[i] - '0') : L(digits[i] - '0');
    }
    return r;
}

// The EAN-13 parity of digits 2 to 7 for each first digit.
constexpr const char* kEan13Rows[10] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                        "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};

struct Built {
    std::string bits;
    std::string text; // Text after building
};

Built Build(TBarcodeType type, const std::string& text, bool checksum, TCheckSumMethod method = csmModulo10) {
    TBarcode bc;
    bc.SetTyp(type);
    bc.SetText(text);
    bc.SetChecksum(checksum);
    bc.SetCheckSumMethod(method);
    const std::string pattern = bc.BuildPattern();
    return {ModuleBits(pattern), bc.Text()};
}

TEST(EanUpcCheckDigits, AddTheStandardCheckDigit) {
    EXPECT_EQ(Build(bcCodeEAN8, "1234567", true).bits, EanBits("1234", "LLLL", "5670"));
    EXPECT_EQ(Build(bcCodeEAN13, "590123412345", true).bits, EanBits("901234", "LGGLLG", "123457"));
    EXPECT_EQ(Build(bcCodeUPC_A, "12345678901", true).bits, EanBits("123456", "LLLLLL", "789012"));
    // A thirteenth digit is replaced by the check digit made from the first twelve.
    EXPECT_EQ(Build(bcCodeEAN13, "5901234123450", true).bits, Build(bcCodeEAN13, "590123412345", true).bits);
}

TEST(EanUpcCheckDigits, AValueWithoutItsCheckDigitGetsOneWhateverChecksumSays) {
    struct Case {
        TBarcodeType type;
        const char* text;
        bool checksum;
        TCheckSumMethod method;
        const char* digits; // the symbol's digits, check digit included
    };
    const Case cases[] = {
        {bcCodeEAN13, "590123412345", false, csmModulo10, "5901234123457"},
        {bcCodeEAN13, "", false, csmModulo10, "0000000000000"},
        {bcCodeEAN13, "123", false, csmModulo10, "0000000001236"},
        {bcCodeEAN13, "5901234123457", false, csmModulo10, "5901234123457"},
        {bcCodeEAN13, "5901234123457", true, csmNone, "5901234123457"},
        {bcCodeEAN8, "1234567", false, csmModulo10, "12345670"},
        {bcCodeEAN8, "1234567", true, csmNone, "12345670"},
        {bcCodeEAN8, "123456709", false, csmModulo10, "12345670"},
        {bcCodeUPC_A, "12345678901", false, csmModulo10, "123456789012"},
        {bcCodeUPC_A, "12345678901", true, csmNone, "123456789012"},
        {bcCodeUPC_A, "042100005264", false, csmModulo10, "042100005264"},
    };
    for (const Case& c : cases) {
        const std::string d = c.digits;
        const std::string expected = c.type == bcCodeEAN13
                                         ? EanBits(d.substr(1, 6), kEan13Rows[d[0] - '0'], d.substr(7))
                                     : c.type == bcCodeEAN8 ? EanBits(d.substr(0, 4), "LLLL", d.substr(4))
                                                            : EanBits(d.substr(0, 6), "LLLLLL", d.substr(6));
        EXPECT_EQ(Build(c.type, c.text, c.checksum, c.method).bits, expected) << c.text;
        EXPECT_EQ(FixedLengthDigits(c.text, d.size(), c.checksum, c.method), d) << c.text;
    }
}

TEST(EanUpcCheckDigits, AWrongCheckDigitIsRefusedByNameWithChecksumOff) {
    struct Case {
        TBarcodeType type;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {bcCodeEAN13, "5901234123458", "The check digit of 5901234123458 should be 7."},
        {bcCodeEAN13, "59012341234589", "The check digit of 5901234123458 should be 7."},
        {bcCodeEAN8, "12345678", "The check digit of 12345678 should be 0."},
        {bcCodeUPC_A, "123456789013", "The check digit of 123456789013 should be 2."},
        {bcCodeUPC_E0, "04252615", "The check digit of 04252615 should be 4."},
        {bcCodeUPC_E1, "1234561", "The check digit of 1234561 should be 2."},
    };
    for (const Case& c : cases) {
        TBarcode bc;
        bc.SetTyp(c.type);
        bc.SetText(c.text);
        EXPECT_THROW_MSG(bc.BuildPattern(), EBarcodeError, c.message);
        // With Checksum on the check digit is made anew, as the template asks.
        bc.SetChecksum(true);
        EXPECT_NO_THROW(bc.BuildPattern()) << c.text;
    }
}

TEST(EanUpcCheckDigits, EveryFirstDigitSelectsItsParityRow) {
    const auto& rows = kEan13Rows;
    for (int first = 0; first < 10; ++first) {
        const std::string d = std::to_string(first) + "12345678901";
        const std::string full = d + Modulo10CheckDigit(d);
        EXPECT_EQ(Build(bcCodeEAN13, d, true).bits, EanBits(full.substr(1, 6), rows[first], full.substr(7)))
            << "first digit " << first;
    }
}

TEST(UpcE, ExpandsToTheUpcAForm) {
    EXPECT_EQ(ExpandUpcE("0425261"), "04210000526");
    EXPECT_EQ(ExpandUpcE("0123454"), "01234000005");
    EXPECT_EQ(ExpandUpcE("1123456"), "11234500006");
    EXPECT_EQ(ExpandUpcE("0123403"), "01230000040");
    EXPECT_EQ(ExpandUpcE("0654322"), "06520000432");
    EXPECT_EQ(ExpandUpcE("1999999"), "19999900009");
    EXPECT_THROW_MSG(ExpandUpcE("2123456"), EConvertError, "'' is not a valid integer value");
}

TEST(UpcE, ParityCarriesTheCheckDigit) {
    // 04210000526 has check digit 4: row "EoEEoo", E in even parity for number system 0.
    const Built e0 = Build(bcCodeUPC_E0, "425261", false);
    EXPECT_EQ(e0.bits, UpcEBits("425261", "GLGGLL"));
    EXPECT_EQ(e0.text, "425261");
    EXPECT_EQ(Build(bcCodeUPC_E0, "123454", false).bits, UpcEBits("123454", "GGLLLG")); // check 3: "EEoooE"
    // 11234500006 has check digit 2: row "EEooEo" with the letters swapped for number system 1.
    EXPECT_EQ(Build(bcCodeUPC_E1, "123456", false).bits, UpcEBits("123456", "LLGGLG"));
    // Checksum and the method are not consulted: the symbol cannot do without its check digit.
    EXPECT_EQ(Build(bcCodeUPC_E0, "425261", true).bits, e0.bits);
    EXPECT_EQ(Build(bcCodeUPC_E0, "425261", true, csmNone).bits, e0.bits);
}

TEST(UpcE, SevenOrEightDigitsDrawTheDigitsAfterTheNumberSystem) {
    const std::string plain = Build(bcCodeUPC_E0, "425261", false).bits;
    EXPECT_EQ(Build(bcCodeUPC_E0, "0425261", false).bits, plain);
    EXPECT_EQ(Build(bcCodeUPC_E0, "04252614", false).bits, plain);
    EXPECT_EQ(Build(bcCodeUPC_E0, "1123456", false).bits, Build(bcCodeUPC_E1, "123456", false).bits);

    TBarcode bc;
    bc.SetTyp(bcCodeUPC_E0);
    bc.SetText("04252614");
    EXPECT_EQ(UpcEText(bc.EncoderInput()), "04252614");
    bc.SetText("425261");
    EXPECT_EQ(UpcEText(bc.EncoderInput()), "04252614");
    bc.SetTyp(bcCodeUPC_E1);
    bc.SetText("123456");
    EXPECT_EQ(UpcEText(bc.EncoderInput()), "11234562");
}

TEST(UpcE, ANumberSystemOtherThanZeroOrOneIsAConversionError) {
    TBarcode bc;
    bc.SetTyp(bcCodeUPC_E0);
    bc.SetText(" 2345678 ");
    EXPECT_THROW_MSG(bc.Width(), EConvertError, "'' is not a valid integer value");
    EXPECT_EQ(bc.Text(), "2345678"); // the trimming before the error stays
    bc.SetText("234567");            // six digits get number system 0
    EXPECT_NO_THROW(bc.Width());
}

TEST(UpcSupplements, TwoDigitsTakeTheirParityFromTheValue) {
    EXPECT_EQ(SupplementCheckDigit("12"), '5');
    EXPECT_EQ(SupplementCheckDigit("52495"), '1');
    EXPECT_EQ(Build(bcCodeUPC_Supp2, "12", false).bits, SupplementBits("12", "LL"));
    EXPECT_EQ(Build(bcCodeUPC_Supp2, "13", false).bits, SupplementBits("13", "LG"));
    EXPECT_EQ(Build(bcCodeUPC_Supp2, "14", false).bits, SupplementBits("14", "GL"));
    EXPECT_EQ(Build(bcCodeUPC_Supp2, "15", false).bits, SupplementBits("15", "GG"));
    const Built withCheck = Build(bcCodeUPC_Supp2, "12", true);
    EXPECT_EQ(withCheck.text, "125");
    EXPECT_EQ(withCheck.bits, SupplementBits("12", "LL"));
    EXPECT_EQ(Build(bcCodeUPC_Supp2, "7", false).text, "07");
    EXPECT_EQ(Build(bcCodeUPC_Supp2, "1234567890", false).text, "12");
}

TEST(UpcSupplements, FiveDigitsTakeTheirParityFromTheCheckDigit) {
    EXPECT_EQ(Build(bcCodeUPC_Supp5, "52495", false).bits, SupplementBits("52495", "GLGLL"));
    EXPECT_EQ(Build(bcCodeUPC_Supp5, "52495", true).text, "524951");
    EXPECT_EQ(Build(bcCodeUPC_Supp5, "1234567", false).text, "12345");
    // Rebuilding cuts the stored check digit off again, so the pattern and text stay the same.
    TBarcode bc;
    bc.SetTyp(bcCodeUPC_Supp5);
    bc.SetChecksum(true);
    bc.SetText("52495");
    const std::string first = bc.BuildPattern();
    EXPECT_EQ(bc.BuildPattern(), first);
    EXPECT_EQ(bc.Text(), "524951");
}

TEST(EanUpcModuleWidths, RatioIsClampedAndTheSymbolKeepsItsModuleCount) {
    TBarcode bc;
    bc.SetTyp(bcCodeEAN13);
    bc.SetRatio(1.5);
    EXPECT_EQ(bc.Width(), 95);
    EXPECT_EQ(bc.Ratio(), 2.0);
    bc.SetTyp(bcCodeEAN8);
    EXPECT_EQ(bc.Width(), 67);
    bc.SetTyp(bcCodeUPC_E0);
    EXPECT_EQ(bc.Width(), 51);
    bc.SetTyp(bcCodeUPC_Supp2);
    EXPECT_EQ(bc.Width(), 20);
    bc.SetTyp(bcCodeUPC_Supp5);
    EXPECT_EQ(bc.Width(), 47);
}

} // namespace
} // namespace qbm
