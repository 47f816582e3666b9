#pragma once
// A page file in any of the page formats, written from the page's rows as they come: a whole page in
// one go, or a page too large to hold at once band by band. The file is the same either way.

#include "surface/PagePixels.h"
#include "surface/TPageFormat.h"

#include <QImage>

#include <memory>
#include <string>

namespace qbm {

class TPageRowWriter {
public:
    virtual ~TPageRowWriter() = default;
    // The first `rows` rows of `band` (32-bit, the page's width) are the page's next rows;
    // sameAsAbove[y] is 1 where row y repeats the row above it (the page's survey, from that row on).
    virtual void Add(const QImage& band, int rows, const uint8_t* sameAsAbove) = 0;
    // Writes the file at the path given, once every row is added; throws EInOutError when it cannot.
    virtual void Finish() = 0;
};

// A writer of `path` for a page of width x height pixels at `dpi` whose colours were surveyed.
std::unique_ptr<TPageRowWriter> MakePageRowWriter(TPageFormat format, const std::string& path, int width,
                                                  int height, int dpi, TPageColours colours);

} // namespace qbm
