#pragma once
// A canvas for the barcode tests that records what Draw asks of it instead of painting.

#include "barcode/TBarcode.h"
#include "surface/TCanvas.h"

#include <string>
#include <vector>

namespace qbm::test {

// Records what Draw asks of a canvas; text is 6 pixels per character and 10 pixels high.
class TRecordingCanvas : public TCanvas {
public:
    struct Text {
        int x, y;
        std::string text;
        TFont font;
    };
    std::vector<std::vector<TPoint>> polygons;
    std::vector<Text> texts;

    void Polygon(const std::vector<TPoint>& points) override {
        if (Pen().style == TPenStyle::psClear && Brush().style == TBrushStyle::bsClear) return;
        polygons.push_back(points);
    }
    void FillRect(const TRect&) override {}
    void Rectangle(int, int, int, int) override {}
    void Ellipse(int, int, int, int) override {}
    void LineTo(int x, int y) override { MoveTo(x, y); }
    void FloodFill(int, int, TColor) override {}
    void TextOut(int x, int y, const std::string& text) override { texts.push_back({x, y, text, Font()}); }
    int TextWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
    int TextHeight(const std::string&) override { return 10; }
    void TextRectRight(const TRect&, const std::string&) override {}
    void StretchDraw(const TRect&, const TBitmap&) override {}
    void CopyRect(const TRect&, const TBitmap&, const TRect&) override {}
    int ResolutionX() const override { return 96; }
    int ResolutionY() const override { return 96; }
};

// The first text Draw writes for a barcode showing its code ("<none>" when it writes none).
inline std::string ShownText(TBarcodeType type, const std::string& text) {
    TBarcode bc;
    bc.SetTyp(type);
    bc.SetText(text);
    bc.SetHeight(20);
    bc.SetShowText(bcoCode);
    TRecordingCanvas rec;
    bc.Draw(rec);
    return rec.texts.empty() ? std::string("<none>") : rec.texts.front().text;
}

} // namespace qbm::test
