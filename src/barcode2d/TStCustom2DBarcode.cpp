#include "barcode2d/TStCustom2DBarcode.h"
#include "surface/TCanvasStateGuard.h"
#include "surface/TOffsetCanvas.h"

#include "surface/SymbolCanvasPainter.h"
#include "surface/SymbolRasterPainter.h"
#include "surface/TCanvas.h"
#include "util/Text.h"

#include <cmath>

namespace qbm {

TStCustom2DBarcode::TStCustom2DBarcode() {
    m_screen.fontPixelsPerInch = m_bitmap.Resolution();
}

TStCustom2DBarcode::~TStCustom2DBarcode() = default;

void TStCustom2DBarcode::SetCode(const std::string& code) {
    ChangeProperty(
        m_code, code, TRefresh::Regenerate, [] {}, true);
}

void TStCustom2DBarcode::SetCaption(const std::string& caption) {
    ChangeProperty(m_caption, caption, TRefresh::Render);
}

void TStCustom2DBarcode::SetCaptionLayout(TTextLayout layout) {
    ChangeProperty(m_captionLayout, layout, TRefresh::Render);
}

void TStCustom2DBarcode::SetAlignment(TAlignment alignment) {
    ChangeProperty(m_alignment, alignment, TRefresh::Render);
}

void TStCustom2DBarcode::SetBackgroundColor(TColor color) {
    ChangeProperty(m_backgroundColor, color, TRefresh::Render);
}

void TStCustom2DBarcode::SetColor(TColor color) {
    ChangeProperty(m_color, color, TRefresh::Render);
}

void TStCustom2DBarcode::SetFont(const TFont& font) {
    ChangeProperty(m_font, font, TRefresh::Render);
}

void TStCustom2DBarcode::SetQuietZone(int pixels) {
    ChangeProperty(m_quietZone, pixels, TRefresh::Render, [&] {
        if (pixels < 0) throw E2DBarcodeError("Invalid Quiet Zone");
    });
}

void TStCustom2DBarcode::SetBarWidth(int pixels) {
    ChangeProperty(m_barWidth, pixels, TRefresh::Render);
}

void TStCustom2DBarcode::SetBarHeight(int pixels) {
    ChangeProperty(m_barHeight, pixels, TRefresh::Render);
}

void TStCustom2DBarcode::SetBarHeightToWidth(int ratio) {
    ChangeProperty(m_barHeightToWidth, ratio, TRefresh::Render, [&] {
        if (ratio < 0) throw E2DBarcodeError("BarHeightToWidth cannot be less than one");
    });
}

void TStCustom2DBarcode::SetRelativeBarHeight(bool relative) {
    ChangeProperty(m_relativeBarHeight, relative, TRefresh::Render);
}

void TStCustom2DBarcode::SetExtendedSyntax(bool extended) {
    ChangeProperty(m_extendedSyntax, extended, TRefresh::Regenerate);
}

void TStCustom2DBarcode::SetWidth(int width) {
    SetBounds(width, m_height);
}

void TStCustom2DBarcode::SetHeight(int height) {
    SetBounds(m_width, height);
}

void TStCustom2DBarcode::SetBounds(int width, int height) {
    if (width == m_width && height == m_height) return;
    m_width = width;
    m_height = height;
    Paint();
}

void TStCustom2DBarcode::SetBitmap(const TBitmap& bitmap) {
    m_bitmap = bitmap;
    Invalidate();
}

void TStCustom2DBarcode::Invalidate() {
    if (m_onInvalidate) m_onInvalidate();
}

void TStCustom2DBarcode::Refresh(TRefresh what) {
    if (what == TRefresh::Regenerate) GenerateCodewords();
    Render(m_width, m_height);
    Invalidate();
}

void TStCustom2DBarcode::Paint() {
    Render(m_width, m_height);
    Invalidate();
}

void TStCustom2DBarcode::Render(TRenderPass& pass, int w, int h) {
    const TActivePass active(*this, pass);
    if (!pass.shapes) pass.target->SetSize(w, h);
    TCanvas& canvas = BitmapCanvas();
    canvas.Pen().color = m_color;
    canvas.Pen().style = TPenStyle::psSolid;
    canvas.Brush().color = m_backgroundColor;
    canvas.Brush().style = TBrushStyle::bsSolid;
    canvas.FillRect(TRect{0, 0, w, h});
    canvas.Brush().color = m_color;
    TFont font = m_font;
    font.SetPixelsPerInch(pass.fontPixelsPerInch);
    canvas.SetFont(font);

    // An empty caption neither reserves space nor shows, so it needs no font metrics.
    const bool hasCaption = !m_caption.empty();
    const int textHeight = hasCaption ? canvas.TextHeight("Yg0") : 0;
    // The caption is Latin-1, as the symbols' texts are; the canvas takes UTF-8.
    const int textWidth = hasCaption ? canvas.TextWidth(Latin1ToUtf8(m_caption)) : 0;

    int x = 0;
    switch (m_alignment) {
    case taLeftJustify:
        x = 0;
        break;
    case taRightJustify:
        x = w - textWidth > 0 ? w - textWidth : 0;
        break;
    case taCenter:
        x = w - textWidth > 0 ? w / 2 - textWidth / 2 : 0;
        break;
    }

    int y = 0;
    int topReserve = 0;
    int bottomReserve = 0;
    switch (m_captionLayout) {
    case tlTop:
        y = 0;
        if (!m_caption.empty()) topReserve = textHeight + 4;
        break;
    case tlCenter:
        // Written across the symbol: it reserves nothing.
        y = h - textHeight > 0 ? h / 2 - textHeight / 2 : 0;
        break;
    case tlBottom:
        y = h - 2 - textHeight > 0 ? h - 2 - textHeight : 0;
        if (!m_caption.empty()) bottomReserve = textHeight + 4;
        break;
    }

    const int available = h - 2 * m_quietZone - topReserve - bottomReserve;
    const int symbolHeight = CalcBarCodeHeight(available);
    const int symbolWidth = CalcBarCodeWidth(w);
    if (available > symbolHeight) {
        const int d = (available - symbolHeight) / 2;
        topReserve += d;
        bottomReserve += d;
    }

    int leftMargin = m_quietZone;
    int rightMargin = m_quietZone;
    if (symbolWidth < w - 2 * m_quietZone) {
        switch (m_alignment) {
        case taLeftJustify:
            rightMargin = w - symbolWidth - m_quietZone;
            break;
        case taRightJustify:
            leftMargin = w - symbolWidth - m_quietZone;
            break;
        case taCenter:
            leftMargin = rightMargin = (w - symbolWidth) / 2;
            break;
        }
    }
    pass.barCodeRect =
        TRect{leftMargin, m_quietZone + topReserve, w - rightMargin, h - m_quietZone - bottomReserve};

    DrawBarcode();

    if (!hasCaption) return;
    canvas.Brush().color = m_backgroundColor;
    canvas.TextOut(x, y, Latin1ToUtf8(m_caption));
}

std::pair<long long, long long> TStCustom2DBarcode::RenderedSize(int xDpi, int yDpi) const {
    return RenderedSize(m_width, m_height, xDpi, yDpi);
}

std::pair<long long, long long> TStCustom2DBarcode::RenderedSize(long long width, long long height, int xDpi,
                                                                 int yDpi) const {
    if (xDpi == 0 || yDpi == 0) return {width, height};
    return {static_cast<long long>(std::trunc(width * (static_cast<double>(xDpi) / ScreenDpiX()))),
            static_cast<long long>(std::trunc(height * (static_cast<double>(yDpi) / ScreenDpiY())))};
}

std::pair<TStCustom2DBarcode::TRenderPass, TPictureSize> TStCustom2DBarcode::DevicePass(TBitmap& target,
                                                                                        int xDpi, int yDpi) {
    // The device picture is drawn straight into the target in a pass of its own; the screen's
    // picture and layout stay as they are, so nothing has to be drawn again afterwards.
    TRenderPass pass{&target, m_pageShapes, target.Resolution(), {}, {}};
    TPictureSize size{m_width, m_height};
    if (xDpi != 0 && yDpi != 0) {
        const double rx = static_cast<double>(xDpi) / ScreenDpiX();
        const double ry = static_cast<double>(yDpi) / ScreenDpiY();
        pass.device = TPassDevice{true, xDpi, yDpi, rx, ry};
        size = {static_cast<int>(std::trunc(m_width * rx)), static_cast<int>(std::trunc(m_height * ry))};
    }
    return {pass, size};
}

TPictureSize TStCustom2DBarcode::RenderToBitmap(TBitmap& target, int xDpi, int yDpi) {
    auto [pass, size] = DevicePass(target, xDpi, yDpi);
    Render(pass, size.width, size.height);
    return size;
}

TPictureSize TStCustom2DBarcode::RenderToBitmapScaled(TBitmap& target, int xDpi, int yDpi,
                                                      const std::function<void(double, double)>& scale,
                                                      const std::function<void()>& restore) {
    auto [pass, size] = DevicePass(target, xDpi, yDpi);
    struct TScaledSizes {
        const std::function<void()>* restore = nullptr;
        ~TScaledSizes() {
            if (restore) (*restore)();
        }
    } sizes;
    if (pass.device.scaled) {
        sizes.restore = &restore;
        scale(pass.device.rx, pass.device.ry);
    }
    Render(pass, size.width, size.height);
    return size;
}

void TStCustom2DBarcode::PaintGeometry(const TSymbolGeometry& geometry, TPoint origin, double dotsPerModule) {
    TSymbolPlacement placement;
    placement.origin = origin;
    placement.dotsPerModule = dotsPerModule;
    placement.ink = m_color;
    placement.paper = m_backgroundColor;
    // Render has filled the picture with the background already, and nothing else is drawn before
    // the symbol.
    placement.fillPaper = false;
    placement.plainPaper = true;
    placement.onPicture = !DrawingShapes();
    TCanvas& canvas = BitmapCanvas();
    const TPixelRows* rows = m_shapesOnly ? nullptr : canvas.PixelRows();
    if (rows && rows->depth == 4)
        PaintSymbolPixels(canvas, geometry, placement);
    else
        PaintSymbolShapes(canvas, geometry, placement);
}

TPictureSize TStCustom2DBarcode::RenderToDevice(TBitmap& temp, int xDpi, int yDpi) {
    // The temporary picture carries the device resolution, so the caption is scaled for it.
    temp.SetResolution(yDpi);
    return RenderToBitmap(temp, xDpi, yDpi);
}

void TStCustom2DBarcode::PaintToCanvas(TCanvas& canvas, TPoint position) {
    PaintToCanvasAtDpi(canvas, position, canvas.ResolutionX(), canvas.ResolutionY());
}

void TStCustom2DBarcode::PaintToCanvasAtDpi(TCanvas& canvas, TPoint position, int xDpi, int yDpi) {
    TBitmap temp;
    RenderToDevice(temp, xDpi, yDpi);
    canvas.CopyRect(TRect{position.x, position.y, position.x + temp.Width(), position.y + temp.Height()},
                    temp, TRect{0, 0, temp.Width(), temp.Height()});
}

void TStCustom2DBarcode::PrintToCanvas(TCanvas& canvas, TPoint position) {
    PrintToCanvasAtDpi(canvas, position, canvas.ResolutionX(), canvas.ResolutionY());
}

bool TStCustom2DBarcode::PrintShapes(TCanvas& canvas, TPoint position, int xDpi, int yDpi) {
    const auto draw = [&](bool measureOnly) {
        // The page's own font, pen and brush are the caller's: they are put back after the symbol's.
        const TCanvasStateGuard pageState(canvas);
        TOffsetCanvas shapes(canvas, position, measureOnly);
        TBitmap unused;
        unused.SetResolution(yDpi);
        // The device pass RenderToBitmap makes draws onto the page instead of into `unused`.
        struct TPage {
            TCanvas*& shapes;
            ~TPage() { shapes = nullptr; }
        } page{m_pageShapes};
        m_pageShapes = &shapes;
        const TPictureSize size = RenderToBitmap(unused, xDpi, yDpi);
        const TRect& c = shapes.Covered();
        return c.left >= 0 && c.top >= 0 && c.right <= size.width && c.bottom <= size.height;
    };
    // A picture cuts off what reaches past its edges; shapes would reach onto the next label. Only a
    // symbol that stays inside its picture area is drawn as shapes.
    if (!draw(true)) return false;
    draw(false);
    return true;
}

void TStCustom2DBarcode::PrintToCanvasAtDpi(TCanvas& canvas, TPoint position, int xDpi, int yDpi) {
    if (m_shapesOnPages && PrintsAsShapes() && !canvas.PixelRows() &&
        PrintShapes(canvas, position, xDpi, yDpi))
        return;
    TBitmap temp;
    const TPictureSize size = RenderToDevice(temp, xDpi, yDpi);
    canvas.StretchDraw(TRect{position.x, position.y, position.x + size.width, position.y + size.height},
                       temp);
}

} // namespace qbm
