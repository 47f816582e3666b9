#pragma once
// Which label goes into which cell of which page: labels follow one another row by row from the
// start cell of the first sheet, and a page range picks some of the run's pages.

#include "output/TPageLayout.h"
#include "output/TPrintRunOptions.h"

#include <string>

namespace qbm {

struct TPrintPlan {
    long long firstIndex = 0; // feed index of the run's first label (the from-label)
    long long lastIndex = -1; // feed index of its last label
    int startCell = 0;        // cells left empty on the first sheet
    long long perPage = 1;
    int pages = 0;     // the whole run's pages, start cell included
    int firstPage = 1; // pages printed, 1-based, inclusive
    int lastPage = 0;
    std::string problem; // why the options cannot be printed; empty when they can

    // Feed index of the label in a cell of a page (1-based page, 0-based row and column); -1 for an
    // empty cell.
    long long IndexAt(int page, int row, int column, int columns) const;
    // Feed indexes of the first and last label on the printed pages.
    long long FirstPrinted() const;
    long long LastPrinted() const;
};

// The plan for a feed whose labels have indexes feedFirst..count-1.
TPrintPlan PlanPrintRun(long long feedFirst, long long count, const TLayoutSettings& layout,
                        const TPrintRunOptions& options);

// Pages of a run of `labels` labels starting at cell `startCell` (1-based).
int RunPageCount(long long labels, int startCell, int rows, int columns);

} // namespace qbm
