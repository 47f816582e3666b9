#include "barcode2d/TMaxiCodeCarrier.h"

#include "barcode2d/TMaxiCodeEncoder.h"

namespace qbm {
namespace {

constexpr const char* kMode2Digits = ": mode 2 takes 1 to 9 digits.";
constexpr const char* kMode2NotDigits =
    ": mode 2 takes digits only; mode 3 takes letters (up to 6 characters).";
constexpr const char* kMode3Characters =
    ": mode 3 takes 1 to 6 characters: letters A to Z, digits, spaces and \"#$%&'()*+,-./:";

// Printable characters of code set A; lower-case letters are written upper case.
bool IsMode3Character(char c) {
    if (c >= 'a' && c <= 'z') return true;
    if (c < ' ') return false; // CR, FS, GS and RS have codewords but are no part of a postal code
    return TMaxiCodeEncoder::CodewordInSet(TMaxiCodeEncoder::TCodeSet::csA, static_cast<unsigned char>(c)) >=
           0;
}

bool IsMode3PostalCode(const std::string& postalCode) {
    if (postalCode.empty() || postalCode.size() > kMaxMode3PostalCharacters) return false;
    for (char c : postalCode)
        if (!IsMode3Character(c)) return false;
    return true;
}

TCarrierProblem PostalRefused(const std::string& postal, const char* limit) {
    return {TCarrierField::cfPostalCode, "Invalid Postal Code \"" + postal + "\"" + limit};
}

TCarrierProblem PostalProblem(const TMaxiCodeCarrier& carrier) {
    const std::string& postal = carrier.postalCode;
    const bool numeric = !postal.empty() && TMaxiCodeEncoder::IsNumericPostalCode(postal);
    // Digits only make the symbol a mode 2 one in either carrier mode.
    if (numeric) {
        if (postal.size() <= kMaxMode2PostalDigits) return {};
        return PostalRefused(postal, kMode2Digits);
    }
    if (carrier.mode == cmMode2)
        return PostalRefused(postal, postal.empty() ? kMode2Digits : kMode2NotDigits);
    if (IsMode3PostalCode(postal)) return {};
    return PostalRefused(postal, kMode3Characters);
}

TCarrierProblem NumberRefused(TCarrierField field, const char* name, int32_t value) {
    return {field, "Invalid " + std::string(name) + ": " + std::to_string(value) + " is not in 0 to " +
                       std::to_string(kMaxCarrierNumber) + "."};
}

bool InCarrierRange(int32_t v) {
    return v >= 0 && v <= kMaxCarrierNumber;
}

} // namespace

TCarrierProblem CheckCarrier(const TMaxiCodeCarrier& carrier) {
    if (carrier.mode != cmMode2 && carrier.mode != cmMode3) return {};
    if (TCarrierProblem p = PostalProblem(carrier)) return p;
    if (!InCarrierRange(carrier.countryCode))
        return NumberRefused(TCarrierField::cfCountryCode, "Country Code", carrier.countryCode);
    if (!InCarrierRange(carrier.serviceClass))
        return NumberRefused(TCarrierField::cfServiceClass, "Service Class", carrier.serviceClass);
    return {};
}

} // namespace qbm
