#include "app/DesignLabel.h"

#include "app/ProjectPrinting.h"
#include "output/TPageLayout.h"
#include "project/TLabelProject.h"

namespace qbm {

TLabelSizeMm DesignLabelSize(const TLabelProject& project, const TPrinter* printer) {
    const TPage page = PageOf(printer, project.Orientation());
    const TCellGrid grid = PrinterCellGrid(page, LayoutOf(project));
    return {grid.pitchX / page.resX * 25.4, grid.pitchY / page.resY * 25.4};
}

} // namespace qbm
