#pragma once
// Small stock folders written by the tests, and the three sheets the tests know by heart.

#include "TestSupport.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace qbm::test {

inline constexpr const char* kPaperSizes = R"(<?xml version="1.0"?>
<Glabels-paper-sizes>
  <Paper-size id="A4" _name="A4" width="210mm" height="297mm"/>
  <Paper-size id="US-Letter" _name="US Letter" width="8.5in" height="11in"/>
  <Paper-size id="Half" name="Half Sheet" width="14.85cm" height="210mm"/>
</Glabels-paper-sizes>
)";

// Three sheets as Debian's database describes them: a US Letter sheet, an A4 sheet with gaps
// between its labels (in points, given as an equivalent), an A4 sheet without gaps.
inline constexpr const char* kThreeSheets = R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Avery" part="5160" size="US-Letter" _description="Address Labels">
    <Meta category="label"/>
    <Label-rectangle id="0" width="2.625in" height="1in" round="0.0625in">
      <Markup-margin size="0.0625in"/>
      <Layout nx="3" ny="10" x0="0.15625in" y0="0.5in" dx="2.78125in" dy="1in"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="7163" size="A4" _description="Mailing labels">
    <Label-rectangle id="0" width="280.9" height="108" round="5">
      <Layout nx="2" ny="7" x0="9.5" y0="43" dx="292" dy="108"/>
    </Label-rectangle>
  </Template>
  <Template brand="Avery" part="L7163" equiv="7163"/>
  <Template brand="Hama" part="50450" size="A4" _description="Rectangular labels">
    <Label-rectangle id="0" width="70mm" height="37mm" round="0mm" x_waste="0mm" y_waste="0mm">
      <Layout nx="3" ny="8" x0="0mm" y0="0mm" dx="70mm" dy="37mm"/>
    </Label-rectangle>
  </Template>
</Glabels-templates>
)";

// A folder holding the given files.
inline std::string WriteStockFolder(const std::vector<std::pair<std::string, std::string>>& files) {
    const std::string dir = MakeTempDir();
    for (const auto& [name, text] : files) std::ofstream(dir + "/" + name, std::ios::binary) << text;
    return dir;
}

// The database as installed by Debian's glabels-data package, when it is.
inline bool HaveDebianStock(const char* folder) {
    return std::filesystem::exists(std::string(folder) + "/paper-sizes.xml");
}

} // namespace qbm::test
