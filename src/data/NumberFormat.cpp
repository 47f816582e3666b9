#include "data/NumberFormat.h"

#include "data/WorkbookText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace qbm {
namespace {

enum class TKind { Literal, Digit, Point, Comma, Percent, Exponent, DatePart, Text, General };

struct TToken {
    TKind kind;
    std::string text; // the literal, the placeholder ('0', '#', '?'), the exponent sign, the date part
};

struct TSection {
    std::vector<TToken> tokens;
    bool date = false;
    bool twelveHour = false;
};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view s, size_t at, std::string_view word) {
    if (s.size() - at < word.size()) return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (Lower(s[at + k]) != Lower(word[k])) return false;
    return true;
}

// The code's sections, split at semicolons outside quotes, brackets and escapes.
std::vector<std::string_view> SplitSections(std::string_view code) {
    std::vector<std::string_view> sections;
    size_t start = 0;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            const size_t end = code.find('"', i + 1);
            i = end == std::string_view::npos ? code.size() : end;
        } else if (c == '[') {
            const size_t end = code.find(']', i + 1);
            i = end == std::string_view::npos ? code.size() : end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == ';') {
            sections.push_back(code.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(code.substr(std::min(start, code.size())));
    return sections;
}

void AddLiteral(std::vector<TToken>& tokens, std::string_view text) {
    if (!tokens.empty() && tokens.back().kind == TKind::Literal)
        tokens.back().text += text;
    else
        tokens.push_back({TKind::Literal, std::string(text)});
}

TSection ParseSection(std::string_view s) {
    TSection section;
    auto& tokens = section.tokens;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const char l = Lower(c);
        if (c == '"') {
            const size_t end = std::min(s.find('"', i + 1), s.size());
            AddLiteral(tokens, s.substr(i + 1, end - i - 1));
            i = end;
        } else if (c == '\\') {
            if (i + 1 < s.size()) {
                // One character, which may take several bytes of UTF-8.
                size_t length = 1;
                while (i + 1 + length < s.size() &&
                       (static_cast<unsigned char>(s[i + 1 + length]) & 0xC0) == 0x80)
                    ++length;
                AddLiteral(tokens, s.substr(i + 1, length));
                i += length;
            }
        } else if (c == '_') {
            AddLiteral(tokens, " "); // room for the next character: a space in text
            ++i;
        } else if (c == '*') {
            ++i; // filling the cell's width has no meaning in text
        } else if (c == '[') {
            const size_t end = std::min(s.find(']', i + 1), s.size());
            const std::string_view inside = s.substr(i + 1, end - i - 1);
            if (inside.starts_with('$')) {
                // [$€-407]: a currency symbol and the locale it belongs to.
                AddLiteral(tokens, inside.substr(1, inside.find('-') == std::string_view::npos
                                                        ? std::string_view::npos
                                                        : inside.find('-') - 1));
            } else if (!inside.empty() &&
                       (Lower(inside[0]) == 'h' || Lower(inside[0]) == 'm' || Lower(inside[0]) == 's')) {
                std::string part(inside);
                for (char& p : part) p = Lower(p);
                tokens.push_back({TKind::DatePart, "[" + part + "]"});
                section.date = true;
            } // colours and conditions change nothing in the text
            i = end;
        } else if (StartsWithNoCase(s, i, "general")) {
            tokens.push_back({TKind::General, {}});
            i += 6;
        } else if (c == '0' || c == '#' || c == '?') {
            tokens.push_back({TKind::Digit, std::string(1, c)});
        } else if (c == '.') {
            // After seconds a point starts their fraction; elsewhere it is the decimal point.
            const bool afterSeconds = !tokens.empty() && tokens.back().kind == TKind::DatePart &&
                                      (tokens.back().text[0] == 's' || tokens.back().text.starts_with("[s"));
            if (afterSeconds) {
                size_t n = 0;
                while (i + 1 + n < s.size() && s[i + 1 + n] == '0') ++n;
                tokens.push_back({TKind::DatePart, "." + std::string(n, '0')});
                i += n;
            } else {
                tokens.push_back({TKind::Point, {}});
            }
        } else if (c == ',') {
            tokens.push_back({TKind::Comma, {}});
        } else if (c == '%') {
            tokens.push_back({TKind::Percent, {}});
        } else if (l == 'e' && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
            tokens.push_back({TKind::Exponent, std::string(1, s[i + 1])});
            ++i;
        } else if (StartsWithNoCase(s, i, "am/pm") || StartsWithNoCase(s, i, "a/p")) {
            const size_t length = StartsWithNoCase(s, i, "am/pm") ? 5 : 3;
            tokens.push_back({TKind::DatePart, length == 5 ? "am/pm" : "a/p"});
            section.twelveHour = section.date = true;
            i += length - 1;
        } else if (l == 'y' || l == 'm' || l == 'd' || l == 'h' || l == 's') {
            size_t n = 1;
            while (i + n < s.size() && Lower(s[i + n]) == l) ++n;
            tokens.push_back({TKind::DatePart, std::string(n, l)});
            section.date = true;
            i += n - 1;
        } else if (c == '@') {
            tokens.push_back({TKind::Text, {}});
        } else {
            AddLiteral(tokens, s.substr(i, 1));
        }
    }
    return section;
}

// Halves away from zero, as spreadsheets show them.
std::string Fixed(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    if (std::fabs(value * scale) < 1e15) value = std::round(value * scale) / scale;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", std::clamp(decimals, 0, 30), value);
    return buf;
}

std::string Grouped(const std::string& digits) {
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string FormatDigits(double value, const TSection& section) {
    const auto& tokens = section.tokens;
    // Where the parts lie: integer placeholders up to the point, fraction after it, exponent last.
    size_t point = tokens.size(), exponent = tokens.size();
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == TKind::Point && point == tokens.size() && exponent == tokens.size()) point = i;
        if (tokens[i].kind == TKind::Exponent && exponent == tokens.size()) exponent = i;
    }
    const size_t integerEnd = std::min(point, exponent);
    size_t lastIntegerDigit = tokens.size(), firstDigit = tokens.size();
    int percents = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == TKind::Percent) ++percents;
        if (tokens[i].kind != TKind::Digit) continue;
        if (firstDigit == tokens.size()) firstDigit = i;
        if (i < integerEnd) lastIntegerDigit = i;
    }
    // Commas between integer placeholders group thousands; commas right after the last one scale.
    bool thousands = false;
    int scaling = 0;
    for (size_t i = 0; i < integerEnd; ++i) {
        if (tokens[i].kind != TKind::Comma) continue;
        if (lastIntegerDigit != tokens.size() && i > firstDigit && i < lastIntegerDigit)
            thousands = true;
        else if (lastIntegerDigit != tokens.size() && i > lastIntegerDigit)
            ++scaling;
    }
    for (int k = 0; k < percents; ++k) value *= 100;
    for (int k = 0; k < scaling; ++k) value /= 1000;

    std::string fractionPattern, exponentPattern, integerPattern;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != TKind::Digit) continue;
        (i < integerEnd ? integerPattern
         : i < exponent ? fractionPattern
                        : exponentPattern) += tokens[i].text;
    }
    int exponentValue = 0;
    if (exponent != tokens.size() && value != 0) {
        exponentValue = static_cast<int>(std::floor(std::log10(value)));
        const int integerPlaces = std::max<int>(1, static_cast<int>(integerPattern.size()));
        if (integerPlaces > 1 && integerPattern[0] == '#') // engineering form: exponents in steps
            exponentValue = static_cast<int>(std::floor(exponentValue / static_cast<double>(integerPlaces))) *
                            integerPlaces;
        else
            exponentValue -=
                static_cast<int>(std::count(integerPattern.begin(), integerPattern.end(), '0')) - 1;
        value /= std::pow(10.0, exponentValue);
        // Rounding may carry the mantissa up a digit.
        if (!integerPattern.empty() && integerPattern[0] != '#' &&
            std::stod(Fixed(value, static_cast<int>(fractionPattern.size()))) >=
                std::pow(10.0, static_cast<double>(integerPattern.size()))) {
            value /= 10;
            ++exponentValue;
        }
    }
    const std::string fixed = Fixed(value, static_cast<int>(fractionPattern.size()));
    const size_t dot = fixed.find('.');
    std::string integerDigits = fixed.substr(0, dot);
    std::string fractionDigits = dot == std::string::npos ? "" : fixed.substr(dot + 1);
    if (integerDigits == "0") integerDigits.clear();

    // Integer placeholders take the digits from the right; the leftmost one takes all that remain.
    const size_t zeros = std::count(integerPattern.begin(), integerPattern.end(), '0');
    std::string integerText;
    if (thousands) {
        std::string padded = integerDigits;
        if (padded.size() < zeros) padded.insert(0, zeros - padded.size(), '0');
        integerText = Grouped(padded);
    }
    std::vector<std::string> integerParts(integerEnd);
    size_t remaining = integerDigits.size();
    size_t placeholdersLeft = integerPattern.size();
    for (size_t i = integerEnd; i-- > 0;) {
        if (tokens[i].kind != TKind::Digit) continue;
        --placeholdersLeft;
        std::string part;
        if (remaining > 0) {
            const size_t take = placeholdersLeft == 0 ? remaining : 1;
            part = integerDigits.substr(remaining - take, take);
            remaining -= take;
        } else {
            part = tokens[i].text == "0" ? "0" : tokens[i].text == "?" ? " " : "";
        }
        integerParts[i] = part;
    }
    // Fraction placeholders: '#' drops trailing zeros, '?' shows them as spaces.
    size_t keep = fractionDigits.size();
    while (keep > 0 && fractionDigits[keep - 1] == '0' && fractionPattern[keep - 1] != '0') --keep;

    std::string out;
    size_t fractionIndex = 0, exponentIndex = 0;
    bool groupedWritten = false;
    const std::string exponentDigits = std::to_string(std::abs(exponentValue));
    for (size_t i = 0; i < tokens.size(); ++i) {
        const TToken& t = tokens[i];
        switch (t.kind) {
        case TKind::Literal:
            if (!(thousands && i > firstDigit && i < lastIntegerDigit)) out += t.text;
            break;
        case TKind::Digit:
            if (i < integerEnd) {
                if (!thousands) {
                    out += integerParts[i];
                } else if (!groupedWritten) {
                    out += integerText;
                    groupedWritten = true;
                }
            } else if (i < exponent) {
                if (fractionIndex < keep)
                    out += fractionDigits[fractionIndex];
                else if (t.text == "?")
                    out += ' ';
                ++fractionIndex;
            } else {
                // The exponent's placeholders: at least as many digits as zeros, more when needed.
                const size_t places = exponentPattern.size();
                if (exponentIndex == 0 && exponentDigits.size() > places)
                    out += exponentDigits.substr(0, exponentDigits.size() - places);
                const size_t from = exponentDigits.size() >= places ? exponentDigits.size() - places : 0;
                const int at = static_cast<int>(exponentIndex) -
                               static_cast<int>(places - (exponentDigits.size() - from));
                out += at >= 0 ? exponentDigits[from + static_cast<size_t>(at)] : '0';
                ++exponentIndex;
            }
            break;
        case TKind::Point:
            if (i == point) out += '.';
            break;
        case TKind::Percent:
            out += '%';
            break;
        case TKind::Exponent:
            out += 'E';
            if (exponentValue < 0)
                out += '-';
            else if (t.text == "+")
                out += '+';
            break;
        case TKind::Text:
        case TKind::General:
            out += NumberText(value);
            break;
        case TKind::Comma:
        case TKind::DatePart:
            break;
        }
    }
    return out;
}

struct TDateTime {
    long long year = 1900, month = 1, day = 1, weekday = 0; // weekday 0 = Sunday
    long long hour = 0, minute = 0, second = 0;
    double fraction = 0;     // of the second
    double totalSeconds = 0; // for durations
};

void CivilFromDays(long long days, TDateTime& t) {
    // Days since 1970-01-01 to the proleptic Gregorian date.
    t.weekday = ((days % 7) + 11) % 7; // 1970-01-01 was a Thursday
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    t.day = doy - (153 * mp + 2) / 5 + 1;
    t.month = mp < 10 ? mp + 3 : mp - 9;
    t.year = yoe + era * 400 + (t.month <= 2 ? 1 : 0);
}

TDateTime DateTimeOf(double serial, bool date1904, int secondDecimals) {
    TDateTime t;
    const double unit = std::pow(10.0, secondDecimals);
    const double ticks = std::round(serial * 86400.0 * unit);
    t.totalSeconds = ticks / unit;
    const long long perDay = static_cast<long long>(86400 * unit);
    const auto all = static_cast<long long>(ticks);
    const long long days = all / perDay;
    long long rest = all % perDay;
    t.fraction = static_cast<double>(rest % static_cast<long long>(unit)) / unit;
    rest /= static_cast<long long>(unit);
    t.hour = rest / 3600;
    t.minute = rest / 60 % 60;
    t.second = rest % 60;
    if (date1904) {
        CivilFromDays(days - 24107, t); // 1904-01-01 is day -24107 before 1970
    } else {
        // Days from 30 December 1899, as LibreOffice counts them: from 1 March 1900 on the same dates
        // as Excel's count, which before it has a 29 February 1900 that never was.
        CivilFromDays(days - 25569, t);
    }
    return t;
}

constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};
constexpr std::array<const char*, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};

std::string Padded(long long value, size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return text;
}

std::string FormatDate(double serial, const TSection& section, bool date1904) {
    // Years 1900 (1904) to 9999, as the suites show them; other serials keep the general form.
    if (serial < 0 || serial >= 2958466.0) return NumberText(serial);
    int secondDecimals = 0;
    for (const TToken& t : section.tokens)
        if (t.kind == TKind::DatePart && t.text[0] == '.')
            secondDecimals = std::max(secondDecimals, static_cast<int>(t.text.size()) - 1);
    const TDateTime t = DateTimeOf(serial, date1904, std::min(secondDecimals, 3));
    const auto& tokens = section.tokens;
    // "m" is the minute right after an hour or right before a second, the month elsewhere.
    const auto isMinute = [&](size_t i) {
        for (size_t j = i; j-- > 0;) {
            if (tokens[j].kind != TKind::DatePart) continue;
            if (tokens[j].text[0] == 'h' || tokens[j].text.starts_with("[h")) return true;
            break;
        }
        for (size_t j = i + 1; j < tokens.size(); ++j) {
            if (tokens[j].kind != TKind::DatePart) continue;
            return tokens[j].text[0] == 's' || tokens[j].text.starts_with("[s");
        }
        return false;
    };
    std::string out;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const TToken& token = tokens[i];
        if (token.kind == TKind::Literal) {
            out += token.text;
            continue;
        }
        if (token.kind == TKind::Digit) {
            out += token.text == "0" ? "0" : "";
            continue;
        }
        if (token.kind == TKind::Point || token.kind == TKind::Comma || token.kind == TKind::Percent) {
            out += token.kind == TKind::Point ? '.' : token.kind == TKind::Comma ? ',' : '%';
            continue;
        }
        if (token.kind != TKind::DatePart) continue;
        const std::string& p = token.text;
        const size_t n = p.size();
        if (p[0] == '[') {
            // Elapsed time: the whole duration in hours, minutes or seconds, at least as many digits
            // as letters.
            const double per = p[1] == 'h' ? 3600 : p[1] == 'm' ? 60 : 1;
            out += Padded(static_cast<long long>(std::floor(t.totalSeconds / per)), n - 2);
        } else if (p[0] == '.') {
            out += Fixed(t.fraction, static_cast<int>(n) - 1).substr(1);
        } else if (p == "am/pm") {
            out += t.hour < 12 ? "AM" : "PM";
        } else if (p == "a/p") {
            out += t.hour < 12 ? "A" : "P";
        } else if (p[0] == 'y') {
            out += n <= 2 ? Padded(t.year % 100, 2) : Padded(t.year, 4);
        } else if (p[0] == 'd') {
            out += n == 1   ? Padded(t.day, 1)
                   : n == 2 ? Padded(t.day, 2)
                   : n == 3 ? std::string(kDays[t.weekday]).substr(0, 3)
                            : std::string(kDays[t.weekday]);
        } else if (p[0] == 'h') {
            long long hour = t.hour;
            if (section.twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
            out += Padded(hour, std::min<size_t>(n, 2));
        } else if (p[0] == 's') {
            out += Padded(t.second, std::min<size_t>(n, 2));
        } else if (p[0] == 'm' && n <= 2 && isMinute(i)) {
            out += Padded(t.minute, n);
        } else if (p[0] == 'm') {
            const std::string name = kMonths[static_cast<size_t>(t.month - 1)];
            out += n <= 2   ? Padded(t.month, n)
                   : n == 3 ? name.substr(0, 3)
                   : n == 4 ? name
                            : name.substr(0, 1);
        }
    }
    return out;
}

} // namespace

std::string FormatNumber(double value, std::string_view code, bool date1904) {
    if (!std::isfinite(value)) return {};
    if (code.empty()) return NumberText(value);
    std::vector<std::string_view> sections = SplitSections(code);
    // A section of text ("@") serves texts only, never numbers.
    while (sections.size() > 1 && sections.back().find('@') != std::string_view::npos &&
           sections.back().find('"') == std::string_view::npos)
        sections.pop_back();
    size_t index = 0;
    bool sign = value < 0;
    if (sections.size() >= 2 && value < 0) {
        index = 1;
        sign = false; // the negative section shows the sign its own way
    } else if (sections.size() >= 3 && value == 0) {
        index = 2;
    }
    const TSection section = ParseSection(sections[index]);
    if (section.tokens.empty()) return {}; // an empty section hides the value
    const double magnitude = index == 1 ? std::fabs(value) : value;
    std::string text;
    if (section.date) {
        text = FormatDate(magnitude, section, date1904);
        sign = false;
    } else if (std::none_of(section.tokens.begin(), section.tokens.end(), [](const TToken& t) {
                   return t.kind == TKind::Digit || t.kind == TKind::General || t.kind == TKind::Text;
               })) {
        text.clear(); // literals only: the section shows just them
        for (const TToken& t : section.tokens)
            if (t.kind == TKind::Literal) text += t.text;
        return (sign ? "-" : "") + text;
    } else {
        text = FormatDigits(std::fabs(magnitude), section);
    }
    // A number that rounds to nothing shows no sign.
    if (sign && text.find_first_of("123456789") != std::string::npos) text.insert(0, "-");
    return text;
}

bool IsDateFormat(std::string_view code) {
    const auto sections = SplitSections(code);
    return !sections.empty() && ParseSection(sections[0]).date;
}

std::string_view BuiltInFormatCode(int id) {
    switch (id) {
    case 1:
        return "0";
    case 2:
        return "0.00";
    case 3:
        return "#,##0";
    case 4:
        return "#,##0.00";
    case 5:
        return "$#,##0_);($#,##0)";
    case 6:
        return "$#,##0_);[Red]($#,##0)";
    case 7:
        return "$#,##0.00_);($#,##0.00)";
    case 8:
        return "$#,##0.00_);[Red]($#,##0.00)";
    case 9:
        return "0%";
    case 10:
        return "0.00%";
    case 11:
        return "0.00E+00";
    case 14:
        return "m/d/yyyy";
    case 15:
        return "d-mmm-yy";
    case 16:
        return "d-mmm";
    case 17:
        return "mmm-yy";
    case 18:
        return "h:mm AM/PM";
    case 19:
        return "h:mm:ss AM/PM";
    case 20:
        return "h:mm";
    case 21:
        return "h:mm:ss";
    case 22:
        return "m/d/yyyy h:mm";
    case 37:
        return "#,##0 ;(#,##0)";
    case 38:
        return "#,##0 ;[Red](#,##0)";
    case 39:
        return "#,##0.00;(#,##0.00)";
    case 40:
        return "#,##0.00;[Red](#,##0.00)";
    case 45:
        return "mm:ss";
    case 46:
        return "[h]:mm:ss";
    case 47:
        return "mm:ss.0";
    case 48:
        return "##0.0E+0";
    case 49:
        return "@";
    default:
        // The East Asian date formats of the built-in numbers; their text depends on the locale.
        if ((id >= 27 && id <= 36) || (id >= 50 && id <= 58)) return "yyyy-mm-dd";
        return {};
    }
}

} // namespace qbm
