#pragma once
// Label sheets the tests print on, as Debian's label database describes them.

#include "stock/StockGrid.h"
#include "stock/TStockReader.h"

#include "TestSupport.h"

#include <QImage>

#include <string>
#include <vector>

namespace qbm::test {

// Avery L7160: three columns of seven 63.99 x 38.1 mm labels on A4, 66.04 mm apart, the first at
// (7.48 mm, 15.49 mm).
inline TStockGrid AveryL7160() {
    TStockReader reader;
    reader.ReadTemplates(R"(<Glabels-templates><Template brand="Avery" part="L7160" size="A4">
        <Label-rectangle id="0" width="181.4" height="108.0" round="5">
        <Layout nx="3" ny="7" x0="21.2" y0="43.9" dx="187.2" dy="108.0"/></Label-rectangle>
        </Template></Glabels-templates>)",
                         "avery-iso-templates.xml");
    return *FitStock(reader.Finish().at(0)).grid;
}

// One label of a printed L7160 sheet: the EAN-13 read inside the label's own rectangle ("" for none,
// "?" for more than one), and whether 1.5 mm at both of its sides stay white.
struct TSheetLabel {
    std::string code;
    bool whiteSides = false;
};

// The first `count` labels of a page rasterised at `dpi`, row by row.
inline std::vector<TSheetLabel> ReadL7160Labels(const QImage& page, int dpi, int count) {
    const auto dots = [dpi](double mm) { return static_cast<int>(mm / 25.4 * dpi + 0.5); };
    const auto white = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (qGray(page.pixel(x, y)) < 128) return false;
        return true;
    };
    std::vector<TSheetLabel> labels;
    for (int i = 0; i < count && i < 21; ++i) {
        const int x = dots(7.48 + (i % 3) * 66.04), y = dots(15.49 + (i / 3) * 38.1);
        const int w = dots(63.99), h = dots(38.1), side = dots(1.5);
        const auto found = DecodeAll(page.copy(x, y, w, h), ZXing::BarcodeFormat::EAN13);
        labels.push_back({found.empty()      ? ""
                          : found.size() > 1 ? "?"
                                             : found[0],
                          white(x, x + side, y, y + h) && white(x + w - side, x + w, y, y + h)});
    }
    return labels;
}

} // namespace qbm::test
