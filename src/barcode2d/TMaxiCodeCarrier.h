#pragma once
// The structured carrier message of MaxiCode modes 2 and 3 (mode, postal code, country, class of
// service) and the limits a carrier can scan with: what the symbol's primary message has room for.

#include "barcode2d/TStMaxiCodeMode.h"

#include <cstdint>
#include <string>

namespace qbm {

struct TMaxiCodeCarrier {
    TStMaxiCodeMode mode = cmMode4;
    std::string postalCode = "000000000";
    int32_t countryCode = 0;
    int32_t serviceClass = 0;
    friend bool operator==(const TMaxiCodeCarrier&, const TMaxiCodeCarrier&) = default;
};

// The field whose value is out of range, so that a form can show the message beside it.
enum class TCarrierField { cfNone, cfPostalCode, cfCountryCode, cfServiceClass };

struct TCarrierProblem {
    TCarrierField field = TCarrierField::cfNone;
    std::string message; // empty when the carrier data can be encoded as it is
    explicit operator bool() const { return field != TCarrierField::cfNone; }
};

// The primary message holds a mode 2 postal code in 30 bits with its length in 6 and a mode 3 one as
// six characters of code set A; country and class have 10 bits each, and carriers use 3 digits.
// A larger value would be cut or wrapped without a word, so it is refused instead, by name. Modes 4 to
// 6 carry no carrier data: nothing is checked there.
TCarrierProblem CheckCarrier(const TMaxiCodeCarrier& carrier);

inline constexpr int kMaxCarrierNumber = 999;
inline constexpr size_t kMaxMode2PostalDigits = 9;
inline constexpr size_t kMaxMode3PostalCharacters = 6;

} // namespace qbm
