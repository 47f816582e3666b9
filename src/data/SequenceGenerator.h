#pragma once
// Number sequences for code lists and datasheet columns: a range of numbers with leading zeros,
// framed by a prefix and a suffix, thinned by a step and repeated.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

class TDatasheet;
class TDatasheetHistory;
class TProgress;

// A range the generator refuses; the text is shown to the user.
class ESequenceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::string_view kSequenceOrderError = "Begine number must less than End number!";
inline constexpr std::string_view kValueMustBeNumeric = "Value must be numeric!";
// More codes than this would exhaust memory long before they could be printed.
inline constexpr int64_t kMaxSequenceCodes = 10'000'000;

struct TSequenceSettings {
    std::string prefix;
    std::string from; // digits expected, a leading minus accepted
    std::string to;   // its length sets the width of every number; both trimmed as typed
    std::string suffix;
    int repeat = 1; // 1 to 100
    int step = 1;   // 1 to 100
};

// How many "Value must be numeric!" warnings a From or To text gets: one per character that is not a
// digit, after blanks and control characters around it are removed.
int NonDigitWarnings(std::string_view text);

// The number of codes the settings make (0 when they do not convert or To < From).
int64_t SequenceSize(const TSequenceSettings& settings);

// The codes in order. Throws EConvertError when From or To is not a 32-bit integer, ESequenceError
// "Begine number must less than End number!" when To < From, and ESequenceError when the list would
// hold more than kMaxSequenceCodes codes. A long list reports to `progress`, which may stop it
// (EOperationCancelled).
std::vector<std::string> GenerateSequence(const TSequenceSettings& settings, TProgress* progress = nullptr);

// Writes the codes into the sheet's current column from its current row down; with a history, as
// one undo step. A long list reports to `progress`, which may stop it (EOperationCancelled), leaving
// the sheet as it was.
void PlaceSequence(TDatasheet& sheet, const std::vector<std::string>& codes,
                   TDatasheetHistory* history = nullptr, TProgress* progress = nullptr);

} // namespace qbm
