#pragma once
// Labels for the print tests: codes from a list, with captions, and the index conventions of the
// constant code (first index 0) or of a datasheet (first index 1, the header row).

#include "output/TLabelFeed.h"

#include <string>
#include <vector>

namespace qbm::test {

class ListFeed : public TLabelFeed {
public:
    ListFeed(std::vector<std::string> codes, long long first) : m_codes(std::move(codes)), m_first(first) {}
    long long Count() const override { return static_cast<long long>(m_codes.size()); }
    long long FirstIndex() const override { return m_first; }
    TLabelValue Value(long long i) override {
        ++reads;
        return {m_codes.at(static_cast<size_t>(i)), ""};
    }
    int reads = 0;

private:
    std::vector<std::string> m_codes;
    long long m_first;
};

} // namespace qbm::test
