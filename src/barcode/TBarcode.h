#pragma once
// TBarcode: the settings of one linear barcode and the bar pattern they produce.

#include "barcode/EBarcodeError.h"
#include "barcode/Encoders.h"
#include "barcode/QuietZones.h"
#include "barcode/TBarcodeTypes.h"
#include "surface/Graphics.h"
#include "surface/TFont.h"
#include "surface/TLinearLayout.h"
#include "surface/TSymbolGeometry.h"
#include "util/TPersistent.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace qbm {

class TCanvas;

// Width and kind of one pattern element.
struct TElement {
    int width = 0;
    int kind = 0; // 0 gap, 1 full bar, 2 short bar
};

// Pattern characters: "0".."3" gaps, "5".."8" full bars and "A".."D" short bars of the widths
// W1..W4; every other character has kind -1.
struct TElementCode {
    int8_t widthIndex = 0;
    int8_t kind = -1;
};
inline constexpr std::array<TElementCode, 256> kElementCodes = [] {
    std::array<TElementCode, 256> codes;
    codes.fill(TElementCode{0, -1});
    for (int8_t k = 0; k < 4; ++k) {
        codes['0' + k] = {k, 0};
        codes['5' + k] = {k, 1};
        codes['A' + k] = {k, 2};
    }
    return codes;
}();

// The widest narrow element the barcode draws, in dots; wider settings are ignored.
inline constexpr int kMaxModul = 49;

class TBarcode : public TPersistent {
public:
    using TNotifyEvent = std::function<void(TBarcode& sender)>;

    TBarcode();
    ~TBarcode() override = default;
    TBarcode(const TBarcode&) = delete;
    TBarcode& operator=(const TBarcode&) = delete;

    // Copies the settings of another barcode (not its fonts, text position or caption) without
    // notifying; any other kind of source is ignored.
    void Assign(const TPersistent* source) override;
    void Assign(const TBarcode& source) { Assign(static_cast<const TPersistent*>(&source)); }

    int Height() const { return m_height; }
    void SetHeight(int value);
    const std::string& Text() const { return m_text; }
    void SetText(const std::string& value);
    int Top() const { return m_top; }
    void SetTop(int value);
    int Left() const { return m_left; }
    void SetLeft(int value);
    int Modul() const { return m_modul; }
    void SetModul(int value);
    double Ratio() const { return m_ratio; }
    void SetRatio(double value);
    TBarcodeType Typ() const { return m_typ; }
    void SetTyp(TBarcodeType value);
    bool Checksum() const { return m_checksum; }
    void SetChecksum(bool value);
    TBarcodeOption ShowText() const { return m_showText; }
    void SetShowText(TBarcodeOption value);
    double Angle() const { return m_angle; }
    void SetAngle(double value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value) { m_color = value; }
    TColor ColorBar() const { return m_colorBar; }
    void SetColorBar(TColor value) { m_colorBar = value; }
    TCheckSumMethod CheckSumMethod() const { return m_checkSumMethod; }
    void SetCheckSumMethod(TCheckSumMethod value) { m_checkSumMethod = value; }
    const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }
    const TFont& ShowTextFont() const { return m_showTextFont; }
    void SetShowTextFont(const TFont& font);
    const TFont& ExtCapFont() const { return m_extCapFont; }
    void SetExtCapFont(const TFont& font);
    TShowTextPosition ShowTextPosition() const { return m_showTextPosition; }
    void SetShowTextPosition(TShowTextPosition value);

    // The pattern's width in pixels (builds the pattern).
    int Width();
    // Scales Modul so the pattern gets about this width; results outside 1..49 change nothing.
    void SetWidth(int value);

    // Plain public fields written directly by callers.
    std::string ExtCaption;         // UTF-8, any script (the code itself is Latin-1)
    uint8_t ExtCaptionPosition = 0; // 0 left, 1 right, 2 centre

    // Left and right ends of the two digit groups of EAN-13 and UPC-A, as the last drawing laid them out.
    std::array<int, 4> GroupMarks{};

    // The bar pattern of Text; for the types drawn from a symbol geometry (GS1 DataBar, Intelligent
    // Mail) it is empty and the geometry is built instead, which the layout then draws.
    std::string BuildPattern();
    const char* TypeName() const;
    // Whether the type draws from its encoder's symbol geometry rather than a bar pattern.
    bool DrawsGeometry() const;
    // The geometry of the last BuildPattern of such a type (empty for an empty Text).
    const TSymbolGeometry& Geometry() const { return m_geometry; }
    // The white space the symbology needs beside the bars, in modules.
    TQuietZone QuietZone() const;
    // Called for every element of every symbol drawn, so it stays inline and looks the character up
    // instead of testing its range: gaps and bars alternate, which a test would mispredict.
    TElement ElementWidth(char c) const {
        const TElementCode code = kElementCodes[static_cast<unsigned char>(c)];
        if (code.kind < 0) ThrowUnknownElement();
        return {m_w[code.widthIndex], code.kind};
    }
    // The pattern's width in pixels with the current module widths; for the geometry types the width
    // of the last built symbol, its quiet zone left out as the patterns leave it out.
    int PatternWidth(const std::string& pattern) const;

    void Draw(TCanvas& canvas);
    // The symbol of this pattern laid out with the canvas's text metrics; the canvas is left as it
    // was and the barcode unchanged. Draw paints the same layout.
    void LayOut(const std::string& pattern, TCanvas& measure, TLinearLayout& out) const;
    void PaintBars(const std::string& pattern, TCanvas& canvas);
    // The text of a symbol `width` pixels wide, its digit groups where GroupMarks has them.
    void PaintText(TCanvas& canvas, int width);

    // The encoders' helpers applied to this barcode's Text and CheckSumMethod.
    std::string PadOrTruncate(int n) const { return qbm::PadOrTruncate(m_text, n); }
    std::string ApplyChecksum(const std::string& digits) const {
        return qbm::ApplyChecksum(digits, m_checkSumMethod);
    }
    static std::string WidthsToPattern(const std::string& widths) { return qbm::WidthsToPattern(widths); }
    // The encoder's input made of this barcode's settings; valid while Text is unchanged.
    TLinearInput EncoderInput() const { return {m_text, m_typ, m_checksum, m_checkSumMethod}; }
    // Writes Text without notifying: the encoders' and trimming's write-backs.
    void StoreText(const std::string& value) { m_text = value; }

    // The element widths W1..W4 of the last BuildPattern.
    std::array<int8_t, 4> ModuleWidths() const { return m_w; }

    virtual void NotifyChange();

private:
    void ComputeModuleWidths();
    void LayOutBars(const std::string& pattern, TCanvas& measure, TLinearLayout& out) const;
    void LayOutSymbolBars(TLinearLayout& out) const;
    void LayOutTexts(TCanvas& measure, int width, const std::array<int, 4>& marks, TLinearLayout& out) const;
    [[noreturn]] static void ThrowUnknownElement();

    int m_height = 0;
    std::string m_text;
    int m_top = 0;
    int m_left = 0;
    int m_modul = 1;
    double m_ratio = 2.0;
    TBarcodeType m_typ = bcCodeEAN13;
    bool m_checksum = false;
    TBarcodeOption m_showText = bcoNone;
    double m_angle = 0.0;
    TColor m_color = clWhite;
    TColor m_colorBar = clBlack;
    TCheckSumMethod m_checkSumMethod = csmModulo10;
    TNotifyEvent m_onChange;
    std::array<int8_t, 4> m_w{1, 2, 3, 4};
    TFont m_showTextFont;
    TFont m_extCapFont;
    TShowTextPosition m_showTextPosition = stpTopLeft;
    TSymbolGeometry m_geometry;
};

} // namespace qbm
