#include "symbols/Gs1ElementString.h"

#include "symbols/ESymbolError.h"
#include "symbols/Gs1Identifiers.h"

#include <algorithm>
#include <string_view>

namespace qbm {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The 82 characters GS1 allows in alphanumeric data (ISO 646 invariant subset).
bool IsGs1Character(char c) {
    constexpr std::string_view kPunctuation = "!\"%&'()*+,-./:;<=>?_";
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           kPunctuation.find(c) != std::string_view::npos;
}

int TwoDigits(std::string_view s) {
    return (s[0] - '0') * 10 + (s[1] - '0');
}

bool IsDate(std::string_view yymmdd) {
    const int month = TwoDigits(yymmdd.substr(2)), day = TwoDigits(yymmdd.substr(4));
    if (month < 1 || month > 12) return false;
    // Years are within fifty years of today, so the century cannot be known here; 29 February is
    // accepted in any year divisible by four (2000 was a leap year, 2100 is far away).
    constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int year = TwoDigits(yymmdd);
    const int last = month == 2 ? (year % 4 == 0 ? 29 : 28) : kDays[month - 1];
    return day <= last;
}

[[noreturn]] void Refuse(const std::string& ai, const std::string& what) {
    throw ESymbolError("GS1 (" + ai + ") " + what);
}

void CheckData(const TGs1Identifier& id, const std::string& ai, const std::string& data) {
    const int n = static_cast<int>(data.size());
    if (n == 0) Refuse(ai, "has no data");
    if (id.minLength == id.maxLength && n != id.minLength)
        Refuse(ai, "needs " + std::to_string(id.minLength) + " characters, not " + std::to_string(n));
    if (n < id.minLength)
        Refuse(ai,
               "needs at least " + std::to_string(id.minLength) + " characters, not " + std::to_string(n));
    if (n > id.maxLength)
        Refuse(ai, "takes at most " + std::to_string(id.maxLength) + " characters, not " + std::to_string(n));
    for (const char c : data) {
        if (id.numeric && !IsDigit(c)) Refuse(ai, "must be numeric");
        if (!IsGs1Character(c))
            Refuse(ai, "holds a character GS1 does not allow: '" + std::string(1, c) + "'");
    }
    const auto digits = [&](int count) {
        const std::string_view d(data.data(), static_cast<size_t>(count));
        if (!std::all_of(d.begin(), d.end(), IsDigit))
            Refuse(ai, "must start with " + std::to_string(count) + " digits");
        return d;
    };
    switch (id.check) {
    case TGs1Check::None:
        break;
    case TGs1Check::Date:
        if (!IsDate(data)) Refuse(ai, "is not a date (YYMMDD): " + data);
        break;
    case TGs1Check::CheckDigit:
    case TGs1Check::LeadingCheckDigit: {
        const std::string_view d = digits(id.check == TGs1Check::CheckDigit ? n : 13);
        const int expected = Gs1CheckDigit(d.substr(0, d.size() - 1));
        if (d.back() - '0' != expected)
            Refuse(ai,
                   "check digit should be " + std::to_string(expected) + ", not " + std::string(1, d.back()));
        break;
    }
    }
}

} // namespace

int Gs1CheckDigit(std::string_view digits) {
    int sum = 0, weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, weight = 4 - weight)
        sum += (*it - '0') * weight;
    return (10 - sum % 10) % 10;
}

std::vector<TGs1Element> ParseGs1ElementString(std::string_view text) {
    if (text.empty() || text.front() != '(')
        throw ESymbolError("A GS1 element string starts with an application identifier in parentheses, such "
                           "as (01)");
    std::vector<TGs1Element> elements;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t close = text.find(')', pos);
        if (close == std::string_view::npos) throw ESymbolError("GS1 application identifier without ')'");
        const std::string ai(text.substr(pos + 1, close - pos - 1));
        const auto id = FindGs1Identifier(ai);
        if (!id) throw ESymbolError("GS1 application identifier (" + ai + ") is not known");
        // The data runs to the next '(': in the printed form a parenthesis always opens an identifier.
        size_t next = close + 1;
        while (next < text.size() && text[next] != '(') ++next;
        std::string data(text.substr(close + 1, next - close - 1));
        CheckData(*id, ai, data);
        elements.push_back({ai, std::move(data)});
        pos = next;
    }
    return elements;
}

} // namespace qbm
