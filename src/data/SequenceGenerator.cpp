#include "data/SequenceGenerator.h"

#include "data/DatasheetCommands.h"
#include "data/TDatasheet.h"
#include "util/IntConversion.h"
#include "util/TProgress.h"
#include "util/Text.h"

#include <algorithm>

namespace qbm {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// n is taken when n - 1 is a multiple of the step, whatever From is: with step 2 the odd numbers.
int64_t TakenCount(int64_t from, int64_t to, int64_t step) {
    if (to < from) return 0;
    if (step == 1) return to - from + 1;
    return FloorDiv(to - 1, step) - FloorDiv(from - 2, step);
}

// Leading zeros go between the minus sign and the digits, so -3 at width 3 reads "-03".
std::string Padded(int64_t n, size_t width) {
    std::string digits = IntToStr(n < 0 ? -n : n);
    const size_t sign = n < 0 ? 1 : 0;
    if (digits.size() + sign < width) digits.insert(0, width - digits.size() - sign, '0');
    return n < 0 ? "-" + digits : digits;
}

} // namespace

int NonDigitWarnings(std::string_view text) {
    const std::string trimmed = Trim(text);
    return static_cast<int>(
        std::count_if(trimmed.begin(), trimmed.end(), [](char c) { return c < '0' || c > '9'; }));
}

int64_t SequenceSize(const TSequenceSettings& settings) {
    const auto from = TryStrToInt(Trim(settings.from));
    const auto to = TryStrToInt(Trim(settings.to));
    if (!from || !to) return 0;
    return TakenCount(*from, *to, std::clamp(settings.step, 1, 100)) * std::clamp(settings.repeat, 1, 100);
}

std::vector<std::string> GenerateSequence(const TSequenceSettings& settings, TProgress* progress) {
    // The dialog trims both fields as they are typed, so the width counts the trimmed To text.
    const std::string fromText = Trim(settings.from);
    const std::string toText = Trim(settings.to);
    const int64_t from = StrToInt(fromText);
    const int64_t to = StrToInt(toText);
    const size_t width = toText.size();
    const int step = std::clamp(settings.step, 1, 100);
    const int repeat = std::clamp(settings.repeat, 1, 100);
    if (to < from) throw ESequenceError(std::string(kSequenceOrderError));
    const int64_t size = TakenCount(from, to, step) * repeat;
    if (size > kMaxSequenceCodes)
        throw ESequenceError("Too many codes: this range makes " + IntToStr(size) + " codes, at most " +
                             IntToStr(kMaxSequenceCodes) + " are allowed!");

    std::vector<std::string> codes;
    codes.reserve(static_cast<size_t>(size));
    // The first n whose n - 1 is a multiple of the step, then every step-th one.
    const int64_t first = 1 + step * -FloorDiv(-(from - 1), step);
    for (int64_t n = first; n <= to; n += step) {
        if (codes.size() % 65536 == 0) ReportProgress(progress, static_cast<int64_t>(codes.size()), size);
        const std::string code = settings.prefix + Padded(n, width) + settings.suffix;
        for (int i = 0; i < repeat; ++i) codes.push_back(code);
    }
    return codes;
}

void PlaceSequence(TDatasheet& sheet, const std::vector<std::string>& codes, TDatasheetHistory* history,
                   TProgress* progress) {
    // The dialog's prefix and suffix are Latin-1 text; the datasheet holds UTF-8.
    const bool ascii = std::all_of(codes.begin(), codes.end(), [](const std::string& code) {
        return std::all_of(code.begin(), code.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    });
    if (ascii) return PlaceInColumn(sheet, codes, "Fill Sequence Data", history, progress);
    std::vector<std::string> utf8;
    utf8.reserve(codes.size());
    for (const std::string& code : codes) utf8.push_back(Latin1ToUtf8(code));
    PlaceInColumn(sheet, utf8, "Fill Sequence Data", history, progress);
}

} // namespace qbm
