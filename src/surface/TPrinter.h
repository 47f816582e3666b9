#pragma once
// A print job's device: resolution, physical page, orientation, and the canvas of the current page.

#include "surface/Graphics.h"

#include <string>

namespace qbm {

class TCanvas;

class TPrinter {
public:
    virtual ~TPrinter() = default;

    // Number of printers installed on the system (0: "No printer installed").
    virtual int PrinterCount() const = 0;
    virtual std::string Title() const { return {}; }
    virtual void SetTitle(const std::string&) {}

    virtual int ResolutionX() const = 0;
    virtual int ResolutionY() const = 0;
    // Physical page size in device pixels, for the current orientation.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
    virtual TPrinterOrientation Orientation() const = 0;
    virtual void SetOrientation(TPrinterOrientation orientation) = 0;

    virtual void BeginDoc() = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    // Discards the document begun: nothing is left behind that looks complete.
    virtual void Abort() = 0;
    virtual bool Printing() const = 0;

    // Canvas of the current page; valid between BeginDoc and EndDoc/Abort.
    virtual TCanvas& Canvas() = 0;

    // A page too large to hold at once is drawn in horizontal bands: the caller draws the whole page
    // once per band, moved up by BandTop() (what falls outside the band is cut off), and calls
    // NextBand() after each. NextBand() is false once the page is complete; printers that hold their
    // pages whole have one band, at the top.
    virtual int BandTop() const { return 0; }
    virtual bool NextBand() { return false; }
};

} // namespace qbm
