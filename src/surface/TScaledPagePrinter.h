#pragma once
// A printer whose page lands, scaled, in a picture of another size: the page preview draws a page
// with the print loop itself, at the printer's coordinates and resolution, onto a screen-sized picture.

#include "surface/TPrinter.h"

#include <memory>

namespace qbm {

class TBitmap;
class TCanvas;

class TScaledPagePrinter : public TPrinter {
public:
    // A page of pageWidth x pageHeight device pixels at dpiX x dpiY, painted over `picture` (which
    // keeps what it shows: the page is drawn on top) and stretched to the picture's size. The picture
    // must outlive the printer. Every page of a document goes onto the same picture: the preview
    // asks for one page at a time.
    TScaledPagePrinter(TBitmap& picture, int pageWidth, int pageHeight, int dpiX, int dpiY);
    ~TScaledPagePrinter() override;

    int PrinterCount() const override { return 1; }
    int ResolutionX() const override { return m_dpiX; }
    int ResolutionY() const override { return m_dpiY; }
    int PageWidth() const override { return m_pageWidth; }
    int PageHeight() const override { return m_pageHeight; }
    TPrinterOrientation Orientation() const override;
    void SetOrientation(TPrinterOrientation) override {}

    void BeginDoc() override;
    void NewPage() override {}
    void EndDoc() override;
    // What was drawn before an error stays on the picture: the preview shows how far the page got.
    void Abort() override { EndDoc(); }
    bool Printing() const override;
    TCanvas& Canvas() override;

private:
    struct State;
    TBitmap& m_picture;
    int m_pageWidth;
    int m_pageHeight;
    int m_dpiX;
    int m_dpiY;
    std::unique_ptr<State> m_state;
};

} // namespace qbm
