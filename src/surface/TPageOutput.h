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
};

} // namespace qbm
