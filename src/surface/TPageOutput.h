#pragma once
// Where a raster printer's finished pages go when they are handed over whole: the receiver may keep
// working on a page (compressing, writing) while the next one is drawn.

#include "surface/TBitmap.h"

namespace qbm {

class TPageOutput {
public:
    virtual ~TPageOutput() = default;

    // A white page to draw on, perhaps one handed back earlier (cheaper than a new one).
    virtual TBitmap BlankPage(int width, int height, int dpi) = 0;
    // Takes a finished page. May wait while enough pages are in hand; throws EInOutError when an
    // earlier page could not be written.
    virtual void Put(TBitmap page, int pageNumber) = 0;
    // Every page handed over is out; throws EInOutError for the first page that could not be.
    virtual void Finish() = 0;
    // The run stopped: work in hand is waited for, nothing more is written.
    virtual void Abandon() = 0;

    // A page too large to hand over whole comes in horizontal bands, top to bottom, twice: first
    // each band is surveyed (for the colours the file needs), then each is written. `rows` of the
    // band (the last one may be shorter) belong to the page.
    virtual void BeginBandedPage(int width, int height, int dpi, int pageNumber) = 0;
    virtual void SurveyBand(const TBitmap& band, int rows) = 0;
    virtual void WriteBand(const TBitmap& band, int rows) = 0;
    // Every band is written: the page is out (or throws EInOutError, as Put does).
    virtual void EndBandedPage() = 0;
};

} // namespace qbm
