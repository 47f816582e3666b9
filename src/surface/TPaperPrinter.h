#pragma once
// The common part of printers whose paper and resolution the caller chooses (PDF files, page images).

#include "surface/TPaperSize.h"
#include "surface/TPrinter.h"

namespace qbm {

class TPaperPrinter : public TPrinter {
public:
    int PrinterCount() const override { return 1; }
    int ResolutionX() const override { return m_dpi; }
    int ResolutionY() const override { return m_dpi; }
    int PageWidth() const override;
    int PageHeight() const override;
    TPrinterOrientation Orientation() const override { return m_orientation; }
    void SetOrientation(TPrinterOrientation orientation) override { m_orientation = orientation; }

protected:
    TPaperPrinter(TPaperSize paper, int dpi, int defaultDpi)
        : m_paper(paper), m_dpi(dpi > 0 ? dpi : defaultDpi) {}
    const TPaperSize& Paper() const { return m_paper; }

private:
    TPaperSize m_paper;
    int m_dpi;
    TPrinterOrientation m_orientation = TPrinterOrientation::poPortrait;
};

} // namespace qbm
