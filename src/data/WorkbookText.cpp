#include "data/WorkbookText.h"

#include <cmath>
#include <cstdio>

namespace qbm {

std::string NumberText(double v) {
    if (!std::isfinite(v)) return {};
    if (v == std::trunc(v) && std::fabs(v) < 1e15) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.0f", v);
        return std::string(buf) == "-0" ? "0" : buf;
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

std::string FormattedNumberText(double value, int decimals, bool thousands, bool percent) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e300) return NumberText(value);
    if (percent) value *= 100;
    // Halves round away from zero, as spreadsheets show them (printf would round 12.5 to even).
    const int places = decimals < 0 ? 0 : decimals > 15 ? 15 : decimals;
    const double scale = std::pow(10.0, places);
    if (std::fabs(value * scale) < 1e15) value = std::round(value * scale) / scale;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals < 0 ? 0 : decimals > 30 ? 30 : decimals, value);
    std::string text = buf;
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);
    if (thousands) {
        const size_t digitsStart = text[0] == '-' ? 1 : 0;
        size_t point = text.find('.');
        if (point == std::string::npos) point = text.size();
        for (size_t i = point; i > digitsStart + 3; i -= 3) text.insert(i - 3, 1, ',');
    }
    return percent ? text + "%" : text;
}

std::string SerialTimeText(double serial) {
    if (!std::isfinite(serial)) return {};
    const long long seconds = std::llround(std::fabs(serial - std::trunc(serial)) * 86400.0) % 86400;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buf;
}

std::string SerialDateText(double value) {
    // Years 100 to 9999, the range spreadsheets and Access share.
    if (!std::isfinite(value) || value < -657434.0 || value >= 2958466.0) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.15g", value);
        return buf;
    }
    // For days before 1899 the fraction still counts forwards from midnight.
    const double dayPart = std::trunc(value);
    const long long seconds = std::llround(std::fabs(value - dayPart) * 86400.0);
    long long days = static_cast<long long>(dayPart) + seconds / 86400;
    const long long timeOfDay = seconds % 86400;
    // Days since 1970-01-01, then the civil date (proleptic Gregorian calendar).
    days += -25569;
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    char buf[96];
    if (timeOfDay == 0) {
        std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld", year, month, day);
    } else {
        std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", year, month, day,
                      timeOfDay / 3600, timeOfDay / 60 % 60, timeOfDay % 60);
    }
    return buf;
}

} // namespace qbm
