#pragma once
// What the fuzz targets share: a hard failure for a broken expectation, and a reader that turns the
// fuzzer's bytes into settings.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qbm::fuzz {

// A broken expectation is a crash the fuzzer reports, like a sanitizer finding.
inline void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Takes bytes from the front of the input; past its end every read gives zeros.
class TFuzzReader {
public:
    TFuzzReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    int16_t Short() { return static_cast<int16_t>(Byte() | (Byte() << 8)); }
    // An integer in lo..hi.
    int Range(int lo, int hi) {
        return lo + static_cast<int>(static_cast<uint16_t>(Short()) % (hi - lo + 1));
    }
    // Up to `max` of the remaining bytes.
    std::string Rest(size_t max) {
        const size_t n = std::min(max, m_size - std::min(m_pos, m_size));
        std::string s(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n;
        return s;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

} // namespace qbm::fuzz
