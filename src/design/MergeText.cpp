#include "design/MergeText.h"

#include "util/Text.h"

#include <algorithm>
#include <array>

namespace qbm {

namespace {

constexpr std::array<std::string_view, 4> kBuiltIns = {"Code", "Caption", "Counter", "Date"};

// Walks a merge text: plain runs go to `text`, field names to `field`.
template <typename Text, typename Field> void Scan(std::string_view s, Text&& text, Field&& field) {
    size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if ((c == '{' || c == '}') && i + 1 < s.size() && s[i + 1] == c) {
            text(s.substr(i, 1));
            i += 2;
            continue;
        }
        if (c == '{') {
            const size_t close = s.find_first_of("{}", i + 1);
            if (close != std::string_view::npos && s[close] == '}') {
                field(s.substr(i + 1, close - i - 1));
                i = close + 1;
                continue;
            }
        }
        const size_t next = s.find_first_of("{}", i + 1);
        const size_t end = next == std::string_view::npos ? s.size() : next;
        text(s.substr(i, end - i));
        i = end;
    }
}

std::optional<std::string> BuiltIn(std::string_view name, const TMergeValues& values) {
    if (SameText(name, "Code")) return values.code;
    if (SameText(name, "Caption")) return values.caption;
    if (SameText(name, "Counter")) return std::to_string(values.counter);
    if (SameText(name, "Date")) return values.date;
    return std::nullopt;
}

} // namespace

std::vector<std::string> MergeFieldNames(std::string_view text) {
    std::vector<std::string> names;
    Scan(
        text, [](std::string_view) {},
        [&](std::string_view name) {
            if (std::find(names.begin(), names.end(), name) == names.end()) names.emplace_back(name);
        });
    return names;
}

bool HasMergeFields(std::string_view text) {
    bool any = false;
    Scan(
        text, [](std::string_view) {}, [&](std::string_view) { any = true; });
    return any;
}

bool IsBuiltInMergeField(std::string_view name) {
    return std::any_of(kBuiltIns.begin(), kBuiltIns.end(),
                       [&](std::string_view b) { return SameText(b, name); });
}

std::string ExpandMergeText(std::string_view text, const TMergeValues& values) {
    std::string out;
    out.reserve(text.size());
    Scan(
        text, [&](std::string_view run) { out += run; },
        [&](std::string_view name) {
            std::optional<std::string> value = values.field ? values.field(name) : std::nullopt;
            if (!value) value = BuiltIn(name, values);
            if (value) out += *value;
        });
    return out;
}

std::vector<std::string> UnknownMergeFields(std::string_view text, const std::vector<std::string>& columns) {
    std::vector<std::string> unknown;
    for (std::string& name : MergeFieldNames(text)) {
        const bool column =
            std::any_of(columns.begin(), columns.end(), [&](const std::string& c) { return c == name; });
        if (!column && !IsBuiltInMergeField(name)) unknown.push_back(std::move(name));
    }
    return unknown;
}

} // namespace qbm
