#pragma once
// The common base of the 2D symbologies: shared properties, the off-screen picture with its caption,
// the setter protocol, and painting at any device resolution.

#include "barcode2d/E2DBarcodeError.h"
#include "surface/Graphics.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "surface/TFont.h"
#include "surface/TSymbolGeometry.h"
#include "util/Errors.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace qbm {

class TCanvas;

// Ordinals as the toolkit numbers them.
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

// Size of a rendered picture in device pixels.
struct TPictureSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TPictureSize&, const TPictureSize&) = default;
};

class TStCustom2DBarcode {
public:
    virtual ~TStCustom2DBarcode();
    TStCustom2DBarcode(const TStCustom2DBarcode&) = delete;
    TStCustom2DBarcode& operator=(const TStCustom2DBarcode&) = delete;

    // The data, with backslash escapes for control characters and special codewords.
    const std::string& Code() const { return m_code; }
    void SetCode(const std::string& code);

    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    TTextLayout CaptionLayout() const { return m_captionLayout; }
    void SetCaptionLayout(TTextLayout layout);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);

    TColor BackgroundColor() const { return m_backgroundColor; }
    void SetBackgroundColor(TColor color);
    // Colour of the dark modules.
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    // Caption font. Changes made through the reference show at the next Paint or Render.
    TFont& Font() { return m_font; }
    const TFont& Font() const { return m_font; }
    void SetFont(const TFont& font);

    int QuietZone() const { return m_quietZone; }
    void SetQuietZone(int pixels);

    int BarWidth() const { return m_barWidth; }
    virtual void SetBarWidth(int pixels);
    int BarHeight() const { return m_barHeight; }
    virtual void SetBarHeight(int pixels);
    int BarHeightToWidth() const { return m_barHeightToWidth; }
    virtual void SetBarHeightToWidth(int ratio);
    bool RelativeBarHeight() const { return m_relativeBarHeight; }
    virtual void SetRelativeBarHeight(bool relative);

    // Stored and published; the escapes are interpreted whatever its value.
    bool ExtendedSyntax() const { return m_extendedSyntax; }
    void SetExtendedSyntax(bool extended);

    // Size of the control; the picture is rendered at this size on the screen.
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetWidth(int width);
    void SetHeight(int height);
    void SetBounds(int width, int height);

    // Symbol size without quiet zone, for the current control size.
    int BarCodeWidth() { return CalcBarCodeWidth(m_width); }
    int BarCodeHeight() { return CalcBarCodeHeight(m_height); }

    // The off-screen picture. Assigning copies the given picture into it.
    const TBitmap& Bitmap() const { return m_bitmap; }
    void SetBitmap(const TBitmap& bitmap);

    // Called whenever the picture changed (the control's repaint request).
    void SetOnInvalidate(std::function<void()> onInvalidate) { m_onInvalidate = std::move(onInvalidate); }

    // Renders the picture at the control size (the control's paint without a window).
    void Paint();
    // Paints at `position` of a screen-like canvas, rendered for the canvas' resolution.
    void PaintToCanvas(TCanvas& canvas, TPoint position);
    void PaintToCanvasAtDpi(TCanvas& canvas, TPoint position, int xDpi, int yDpi);
    // The same for printer canvases: the pixels go through a device-independent transfer.
    void PrintToCanvas(TCanvas& canvas, TPoint position);
    void PrintToCanvasAtDpi(TCanvas& canvas, TPoint position, int xDpi, int yDpi);

    // Renders the picture for a device of xDpi x yDpi into `target` (sized to the picture). With a
    // zero resolution the picture keeps the control size.
    virtual TPictureSize RenderToBitmap(TBitmap& target, int xDpi, int yDpi);
    // The size RenderToBitmap gives, known before any picture is made (in 64 bits: a hostile
    // resolution can take it past int).
    std::pair<long long, long long> RenderedSize(int xDpi, int yDpi) const;
    // The same for a control of width x height, asked before the control is given that size: the
    // control's own picture is made at its size, so an oversized one is refused before it exists.
    std::pair<long long, long long> RenderedSize(long long width, long long height, int xDpi, int yDpi) const;

    // Lays out symbol and caption in a w x h picture and draws both into the off-screen bitmap.
    void Render(int w, int h) { Render(m_screen, w, h); }

    // With true, modules are drawn through the canvas' shape operations even on bitmaps, as on
    // printers and vector files; by default bitmaps get their module rows, hexagons and rings
    // written straight into their pixels, which gives the same picture.
    void SetShapesOnly(bool shapesOnly) { m_shapesOnly = shapesOnly; }
    bool ShapesOnly() const { return m_shapesOnly; }

    // With false, pages that keep shapes (PDF, SVG, printers) get the symbol as a picture even where
    // its shapes would be smaller and faster; for comparing the two.
    void SetShapesOnPages(bool shapes) { m_shapesOnPages = shapes; }

protected:
    TStCustom2DBarcode();

    // Symbol width in pixels for a control width, quiet zone not included.
    virtual int CalcBarCodeWidth(int width) = 0;
    // Symbol height in pixels for the available height.
    virtual int CalcBarCodeHeight(int height) = 0;
    // Draws the modules into BarCodeRect() of the off-screen bitmap; pen and brush hold Color().
    virtual void DrawBarcode() = 0;
    // Encodes Code() and computes the error correction.
    virtual void GenerateCodewords() = 0;

    enum class TRefresh { Render, Regenerate };

    // What every change ends in: regenerate the codewords when the encoded data changed, then render
    // at the control size and ask for a repaint. Descendants with derived state recompute it here.
    virtual void Refresh(TRefresh what);

    // The setter protocol, written once: equal value -> nothing; `validate` may raise before anything
    // changes; store and refresh; on E2DBarcodeError put the old value back, refresh again (a second
    // failure is swallowed) and re-raise. With `restoreOnConvertError` a malformed number inside the
    // data is treated the same way, so no half-encoded buffer stays behind a new text.
    template <typename T, typename Validate>
    void ChangeProperty(T& field, const T& value, TRefresh what, Validate&& validate,
                        bool restoreOnConvertError = false) {
        if (field == value) return;
        validate();
        T old = field;
        field = value;
        try {
            Refresh(what);
        } catch (const E2DBarcodeError&) {
            Restore(field, std::move(old), what);
            throw;
        } catch (const EConvertError&) {
            if (!restoreOnConvertError) throw;
            Restore(field, std::move(old), what);
            throw;
        }
    }
    template <typename T> void ChangeProperty(T& field, const T& value, TRefresh what) {
        ChangeProperty(field, value, what, [] {});
    }

    // The device a rendering draws for. The screen's picture takes the size properties as they are;
    // a device's scales them by the ratios of its resolution to the screen's (rx, ry), which the
    // descendants apply to their own sizes while it draws: nothing is changed and put back.
    struct TPassDevice {
        bool scaled = false;
        int xDpi = 0;
        int yDpi = 0;
        double rx = 1;
        double ry = 1;
    };
    const TPassDevice& PassDevice() const { return m_pass->device; }

    // RenderToBitmap for descendants that still scale their size properties for the device:
    // `scale(rx, ry)` adjusts them, `restore()` puts them back, whatever happens in between. Both run
    // only when the two resolutions are non-zero.
    TPictureSize RenderToBitmapScaled(TBitmap& target, int xDpi, int yDpi,
                                      const std::function<void(double rx, double ry)>& scale,
                                      const std::function<void()>& restore);

    // Screen resolution: that of the off-screen bitmap.
    int ScreenDpiX() const { return m_bitmap.Resolution(); }
    int ScreenDpiY() const { return m_bitmap.Resolution(); }

    // Symbol rectangle inside the picture being rendered, laid out by Render.
    const TRect& BarCodeRect() const { return m_pass->barCodeRect; }
    // The canvas of the picture being rendered: the off-screen bitmap, a device picture, or a page
    // that keeps shapes, seen in the picture's coordinates.
    TCanvas& BitmapCanvas() { return m_pass->shapes ? *m_pass->shapes : m_pass->target->Canvas(); }
    // Whether the symbol is being drawn as shapes onto a page rather than into a picture: what
    // needs pixels (flood fills) must then be drawn as shapes of its own.
    bool DrawingShapes() const { return m_pass->shapes != nullptr; }
    // Symbologies whose modules are smaller and faster on a page as shapes than as a picture.
    virtual bool PrintsAsShapes() const { return false; }
    // Draws the symbol's geometry into the picture being rendered, its origin (the quiet zone's
    // top-left corner) at `origin`, `dotsPerModule` dots a unit, in Color(). Colour pictures get
    // their modules written straight into their pixel rows; grey ones, ShapesOnly components and
    // pages take them through the canvas, which gives the same picture.
    void PaintGeometry(const TSymbolGeometry& geometry, TPoint origin, double dotsPerModule);
    // Its pixel rows when modules may be written straight into them, else nullptr: 32-bit rows only,
    // grey pictures take their modules as shapes.
    const TPixelRows* DirectPixels() {
        const TPixelRows* rows = m_shapesOnly ? nullptr : BitmapCanvas().PixelRows();
        return rows && rows->depth == 4 ? rows : nullptr;
    }

    // Direct access for the descendants' own setters and device scaling.
    std::string m_code;
    int m_barWidth = 2;
    int m_barHeight = 2;
    int m_barHeightToWidth = 4;
    bool m_relativeBarHeight = false;

private:
    // One rendering: where it draws, the resolution its caption font is scaled for (so the caption
    // keeps its point size on any device) and the symbol's rectangle it laid out. The screen's lasts
    // as long as the component; a device's lives while RenderToBitmap runs.
    struct TRenderPass {
        TBitmap* target = nullptr;
        TCanvas* shapes = nullptr; // a page that keeps shapes, instead of the target's pixels
        int fontPixelsPerInch = 96;
        TRect barCodeRect;
        TPassDevice device;
    };
    // Makes a pass the one drawing happens in, and the screen's again however the pass ends.
    class TActivePass {
    public:
        TActivePass(TStCustom2DBarcode& owner, TRenderPass& pass) : m_owner(owner) { owner.m_pass = &pass; }
        ~TActivePass() { m_owner.m_pass = &m_owner.m_screen; }
        TActivePass(const TActivePass&) = delete;
        TActivePass& operator=(const TActivePass&) = delete;

    private:
        TStCustom2DBarcode& m_owner;
    };
    void Render(TRenderPass& pass, int w, int h);
    // The pass of a device picture of xDpi x yDpi into `target`, and the picture's size.
    std::pair<TRenderPass, TPictureSize> DevicePass(TBitmap& target, int xDpi, int yDpi);

    template <typename T> void Restore(T& field, T old, TRefresh what) {
        field = std::move(old);
        try {
            Refresh(what);
        } catch (const E2DBarcodeError&) {
        } catch (const EConvertError&) {
        }
    }
    void Invalidate();
    TPictureSize RenderToDevice(TBitmap& temp, int xDpi, int yDpi);
    bool PrintShapes(TCanvas& canvas, TPoint position, int xDpi, int yDpi);

    std::string m_caption;
    TTextLayout m_captionLayout = tlBottom;
    TAlignment m_alignment = taCenter;
    TColor m_backgroundColor = clWhite;
    TColor m_color = clBlack;
    TFont m_font;
    int m_quietZone = 8;
    bool m_extendedSyntax = true;
    int m_width = 329;
    int m_height = 50;
    TBitmap m_bitmap;
    TRenderPass m_screen{&m_bitmap, nullptr, 96, {}, {}};
    TRenderPass* m_pass = &m_screen;
    // The page PrintShapes draws onto, for the device pass RenderToBitmap makes.
    TCanvas* m_pageShapes = nullptr;
    bool m_shapesOnPages = true;
    bool m_shapesOnly = false;
    std::function<void()> m_onInvalidate;
};

// Sizes the component to its symbol and quiet zone, as callers do before painting: a code whose symbol
// is larger than the last one's would otherwise be cut off at the component's edges.
inline void SizeToSymbol(TStCustom2DBarcode& component) {
    component.SetBounds(component.BarCodeWidth() + 2 * component.QuietZone(),
                        component.BarCodeHeight() + 2 * component.QuietZone());
}

} // namespace qbm
