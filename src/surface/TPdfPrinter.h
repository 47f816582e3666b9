#pragma once
// A printer that writes a PDF file: paper, orientation and resolution chosen by the caller; bars stay
// vector shapes. The file appears only when the document ends; an aborted run leaves nothing behind.

#include "surface/TPaperSize.h"
#include "surface/TPrinter.h"

#include <memory>
#include <string>

namespace qbm {

class TPdfPrinter : public TPrinter {
public:
    TPdfPrinter(std::string path, TPaperSize paper, int dpi);
    ~TPdfPrinter() override;

    int PrinterCount() const override { return 1; }
    std::string Title() const override { return m_title; }
    void SetTitle(const std::string& title) override { m_title = title; }
    int ResolutionX() const override { return m_dpi; }
    int ResolutionY() const override { return m_dpi; }
    int PageWidth() const override;
    int PageHeight() const override;
    TPrinterOrientation Orientation() const override { return m_orientation; }
    void SetOrientation(TPrinterOrientation orientation) override { m_orientation = orientation; }
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return m_job != nullptr; }
    TCanvas& Canvas() override;

private:
    struct Job;
    std::string m_path;
    TPaperSize m_paper;
    int m_dpi;
    std::string m_title = "Barcode labels";
    TPrinterOrientation m_orientation = TPrinterOrientation::poPortrait;
    std::unique_ptr<Job> m_job;
};

} // namespace qbm
