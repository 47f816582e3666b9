#pragma once
// MaxiCode message encoding: mode indicator, structured carrier primary message, the five code sets
// with their shifts, latches and lock-ins, escapes, capacity, pads, and placement into the symbol.

#include "barcode2d/TStMaxiCodeMode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace qbm {

class TMaxiCodeEncoder {
public:
    static constexpr int kBufferSize = 145;
    using TBuffer = std::array<uint8_t, kBufferSize>;

    enum class TCodeSet { csA, csB, csC, csD, csE };

    struct TInput {
        TStMaxiCodeMode mode = cmMode4;
        std::string postalCode = "000000000";
        int32_t countryCode = 0;
        int32_t serviceClass = 0;
        std::string code;
    };

    // Fills Codewords()[0..143] apart from the check codewords. Throws E2DBarcodeError
    // ("Code too large for barcode", "Invalid Postal Code", "GLI value out of range", "Invalid Codeword").
    void Encode(const TInput& input);

    const TBuffer& Codewords() const { return m_codewords; }
    TBuffer& Codewords() { return m_codewords; }
    const TBuffer& Message() const { return m_message; }
    int MessageLength() const { return m_messageLength; }

    static bool IsNumericPostalCode(const std::string& postalCode);
    // The first set of A..E that holds the character; every character code is in one.
    static TCodeSet FirstCodeSet(int c);
    // The codeword of the character in the set, or -1 when the set lacks it.
    static int CodewordInSet(TCodeSet set, int c);

private:
    void EncodePrimary(const TInput& input);
    void EncodeMessage(const TInput& input);
    void PlaceMessage(TStMaxiCodeMode mode);
    TCodeSet SwitchCodeSet(TCodeSet from, TCodeSet to, bool shift);
    // Reads the character or escape at 0-based `pos` and moves past it. A character result is
    // returned; codeword results (\Cnn, \NS, ECI) are appended to the message and nullopt returned.
    std::optional<int> GetNextChar(const std::string& code, size_t& pos);
    void AddEci(int32_t eci);
    void AddMessageCodeword(int v);

    TBuffer m_codewords{};
    TBuffer m_message{};
    int m_messageLength = 0;
};

} // namespace qbm
