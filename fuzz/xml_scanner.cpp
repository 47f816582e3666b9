// Any bytes as a workbook part through the import's own XML scanner, fed in pieces of any size, and
// through Qt's reader: whatever the scanner accepts, Qt's reader must accept too and read as the very
// same elements, attributes and text. Whatever it refuses goes to Qt's reader in the import, so a
// refusal is never wrong, only slower.

#include "FuzzSupport.h"
#include "data/XmlTokenLogs.h"

#include <cstdint>
#include <string>
#include <vector>

using qbm::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qbm::fuzz::TFuzzReader reader(data, size);
    const std::string pieces = reader.Rest(reader.Byte() % 8); // the piece sizes, repeating; none: whole
    const std::string xml = reader.Rest(1 << 20);
    std::vector<size_t> sizes;
    for (const char c : pieces) sizes.push_back(static_cast<uint8_t>(c) + 1u);
    if (sizes.empty()) sizes.push_back(xml.size() + 1);
    const auto ours = qbm::test::ScannerLog(xml, sizes);
    if (!ours) return 0;
    const auto qt = qbm::test::QtLog(xml);
    Check(qt.has_value());
    Check(*ours == *qt);
    return 0;
}
