#include "symbols/Gs1Identifiers.h"

#include <array>

namespace qbm {
namespace {

using enum TGs1Check;

// The data length and content GS1 sets for each application identifier. Identifiers
// whose last digit gives decimal places or a currency (310n to 369n, 390n to 395n) are listed by
// their first three digits.
constexpr TGs1Identifier kFixed[] = {
    {"00", 18, 18, true, CheckDigit},
    {"01", 14, 14, true, CheckDigit},
    {"02", 14, 14, true, CheckDigit},
    {"10", 1, 20, false},
    {"11", 6, 6, true, Date},
    {"12", 6, 6, true, Date},
    {"13", 6, 6, true, Date},
    {"15", 6, 6, true, Date},
    {"16", 6, 6, true, Date},
    {"17", 6, 6, true, Date},
    {"20", 2, 2, true},
    {"21", 1, 20, false},
    {"22", 1, 20, false},
    {"235", 1, 28, false},
    {"240", 1, 30, false},
    {"241", 1, 30, false},
    {"242", 1, 6, true},
    {"243", 1, 20, false},
    {"250", 1, 30, false},
    {"251", 1, 30, false},
    {"253", 13, 30, false, LeadingCheckDigit},
    {"254", 1, 20, false},
    {"255", 13, 25, true, LeadingCheckDigit},
    {"30", 1, 8, true},
    {"37", 1, 8, true},
    {"400", 1, 30, false},
    {"401", 1, 30, false},
    {"402", 17, 17, true, CheckDigit},
    {"403", 1, 30, false},
    {"410", 13, 13, true, CheckDigit},
    {"411", 13, 13, true, CheckDigit},
    {"412", 13, 13, true, CheckDigit},
    {"413", 13, 13, true, CheckDigit},
    {"414", 13, 13, true, CheckDigit},
    {"415", 13, 13, true, CheckDigit},
    {"416", 13, 13, true, CheckDigit},
    {"417", 13, 13, true, CheckDigit},
    {"420", 1, 20, false},
    {"421", 4, 12, false},
    {"422", 3, 3, true},
    {"423", 4, 15, true},
    {"424", 3, 3, true},
    {"425", 4, 15, true},
    {"426", 3, 3, true},
    {"427", 1, 3, false},
    {"7001", 13, 13, true},
    {"7002", 1, 30, false},
    {"7003", 10, 10, true},
    {"7004", 1, 4, true},
    {"7005", 1, 12, false},
    {"7006", 6, 6, true, Date},
    {"7007", 6, 12, true},
    {"7008", 1, 3, false},
    {"7009", 1, 10, false},
    {"7010", 1, 2, false},
    {"7020", 1, 20, false},
    {"7021", 1, 20, false},
    {"7022", 1, 20, false},
    {"7023", 1, 30, false},
    {"7240", 1, 20, false},
    {"8001", 14, 14, true},
    {"8002", 1, 20, false},
    {"8003", 14, 30, false},
    {"8004", 1, 30, false},
    {"8005", 6, 6, true},
    {"8006", 18, 18, true},
    {"8007", 1, 34, false},
    {"8008", 9, 12, true},
    {"8009", 1, 50, false},
    {"8010", 1, 30, false},
    {"8011", 1, 12, true},
    {"8012", 1, 20, false},
    {"8013", 1, 25, false},
    {"8017", 18, 18, true, CheckDigit},
    {"8018", 18, 18, true, CheckDigit},
    {"8019", 1, 10, true},
    {"8020", 1, 25, false},
    {"8026", 18, 18, true},
    {"8110", 1, 70, false},
    {"8111", 4, 4, true},
    {"8112", 1, 70, false},
    {"8200", 1, 70, false},
    {"90", 1, 30, false},
};

// Measures and amounts: four digits, the fourth one the decimal point's place.
constexpr std::array<std::string_view, 22> kMeasures = {
    "310", "311", "312", "313", "314", "315", "316", "320", "321", "322", "323",
    "324", "325", "326", "327", "328", "329", "330", "331", "332", "333", "334"};
constexpr std::array<std::string_view, 31> kMoreMeasures = {
    "335", "336", "337", "340", "341", "342", "343", "344", "345", "346", "347",
    "348", "349", "350", "351", "352", "353", "354", "355", "356", "357", "360",
    "361", "362", "363", "364", "365", "366", "367", "368", "369"};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsMeasure(std::string_view first3) {
    for (const auto m : kMeasures)
        if (m == first3) return true;
    for (const auto m : kMoreMeasures)
        if (m == first3) return true;
    return false;
}

} // namespace

std::optional<TGs1Identifier> FindGs1Identifier(std::string_view ai) {
    for (const char c : ai)
        if (!IsDigit(c)) return std::nullopt;
    for (const TGs1Identifier& id : kFixed)
        if (id.ai == ai) return id;
    if (ai.size() == 4 && IsMeasure(ai.substr(0, 3))) return TGs1Identifier{ai, 6, 6, true};
    // Amounts payable (390n, 392n) and with a currency (391n, 393n: three digits of ISO 4217 first).
    if (ai.size() == 4 && (ai.starts_with("390") || ai.starts_with("392")))
        return TGs1Identifier{ai, 1, 15, true};
    if (ai.size() == 4 && (ai.starts_with("391") || ai.starts_with("393")))
        return TGs1Identifier{ai, 4, 18, true};
    if (ai.size() == 4 && ai.starts_with("394")) return TGs1Identifier{ai, 4, 4, true};
    // Company-internal information.
    if (ai.size() == 2 && ai[0] == '9') return TGs1Identifier{ai, 1, 90, false};
    return std::nullopt;
}

} // namespace qbm
