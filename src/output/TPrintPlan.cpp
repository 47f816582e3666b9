#include "output/TPrintPlan.h"

#include <algorithm>

namespace qbm {

long long TPrintPlan::IndexAt(int page, int row, int column, int columns) const {
    const long long slot = (page - 1) * perPage + static_cast<long long>(row) * columns + column;
    const long long index = firstIndex + slot - startCell;
    return index >= firstIndex && index <= lastIndex ? index : -1;
}

long long TPrintPlan::FirstPrinted() const {
    return std::max(firstIndex, firstIndex + (firstPage - 1) * perPage - startCell);
}

long long TPrintPlan::LastPrinted() const {
    return std::min(lastIndex, firstIndex + lastPage * perPage - startCell - 1);
}

int RunPageCount(long long labels, int startCell, int rows, int columns) {
    if (labels <= 0) return 0;
    return PageCount(labels + std::max(1, startCell) - 1, rows, columns);
}

TPrintPlan PlanPrintRun(long long feedFirst, long long count, const TLayoutSettings& layout,
                        const TPrintRunOptions& options) {
    TPrintPlan plan;
    plan.perPage = static_cast<long long>(std::max(1, layout.rows)) * std::max(1, layout.columns);
    const long long labels = count - feedFirst;
    if (options.startCell < 1 || options.startCell > plan.perPage) {
        plan.problem = "The start position must lie between 1 and " + std::to_string(plan.perPage) + ".";
        return plan;
    }
    if (labels > 0 && (options.fromLabel < 1 || options.fromLabel > labels)) {
        plan.problem = "The first label must lie between 1 and " + std::to_string(labels) + ".";
        return plan;
    }
    plan.firstIndex = feedFirst + std::max(0LL, options.fromLabel - 1);
    plan.lastIndex = count - 1;
    plan.startCell = options.startCell - 1;
    plan.pages =
        RunPageCount(plan.lastIndex - plan.firstIndex + 1, options.startCell, layout.rows, layout.columns);
    plan.firstPage = options.firstPage;
    plan.lastPage = options.lastPage == 0 ? plan.pages : std::min(options.lastPage, plan.pages);
    if (plan.pages > 0 && (options.firstPage < 1 || options.firstPage > plan.pages ||
                           (options.lastPage != 0 && options.lastPage < options.firstPage))) {
        plan.problem = "The page range must lie within the run's " + std::to_string(plan.pages) +
                       (plan.pages == 1 ? " page." : " pages.");
    }
    return plan;
}

} // namespace qbm
