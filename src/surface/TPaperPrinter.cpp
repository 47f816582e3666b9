#include "surface/TPaperPrinter.h"

#include "util/Rounding.h"

namespace qbm {

int TPaperPrinter::PageWidth() const {
    return MmToDots(m_orientation == TPrinterOrientation::poPortrait ? m_paper.widthMm : m_paper.heightMm,
                    m_dpi);
}

int TPaperPrinter::PageHeight() const {
    return MmToDots(m_orientation == TPrinterOrientation::poPortrait ? m_paper.heightMm : m_paper.widthMm,
                    m_dpi);
}

} // namespace qbm
