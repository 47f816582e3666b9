#pragma once
// Texts with merge fields: "{Name} – {Price} €" takes each label's values from the datasheet row and
// the label run. "{{" and "}}" stand for a brace; a "{" without its "}" is plain text.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

// What one label's merge fields read.
struct TMergeValues {
    // A datasheet column's value by its header name; nullopt when no column has the name.
    std::function<std::optional<std::string>(std::string_view name)> field;
    std::string code;
    std::string caption;
    // The label's number in the run, from 1.
    long long counter = 1;
    // The day of printing, as YYYY-MM-DD.
    std::string date;
};

// The field names a merge text uses, each once, in order of first appearance.
std::vector<std::string> MergeFieldNames(std::string_view text);

// Whether the text holds a merge field at all; a text without one prints as it is.
bool HasMergeFields(std::string_view text);

// The names of {Code}, {Caption}, {Counter} and {Date}, which every label has.
bool IsBuiltInMergeField(std::string_view name);

// The text with each field replaced by its value. A datasheet column named like a field wins over
// the built-in of that name, so that a sheet's own "Code" column prints as the sheet has it; an
// unknown field prints as nothing (the check before printing names it).
std::string ExpandMergeText(std::string_view text, const TMergeValues& values);

// The fields of the text that neither the datasheet's columns nor the built-ins provide.
std::vector<std::string> UnknownMergeFields(std::string_view text, const std::vector<std::string>& columns);

} // namespace qbm
