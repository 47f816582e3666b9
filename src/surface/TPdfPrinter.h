#pragma once
// A printer that writes a PDF file: paper, orientation and resolution chosen by the caller; bars stay
// vector shapes. The file appears only when the document ends; an aborted run leaves nothing behind.

#include "surface/TPaperPrinter.h"

#include <memory>
#include <string>

namespace qbm {

class TPdfPrinter : public TPaperPrinter {
public:
    TPdfPrinter(std::string path, TPaperSize paper, int dpi);
    ~TPdfPrinter() override;

    std::string Title() const override { return m_title; }
    void SetTitle(const std::string& title) override { m_title = title; }
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return m_job != nullptr; }
    TCanvas& Canvas() override;
    // Two-coloured pictures (2D symbols) as rectangles where those are fewer bytes (the default), or
    // always as pictures.
    void SetPicturesAsRectangles(bool rectangles) { m_picturesAsRectangles = rectangles; }

private:
    struct Job;
    std::string m_path;
    std::string m_title = "Barcode labels";
    bool m_picturesAsRectangles = true;
    std::unique_ptr<Job> m_job;
};

} // namespace qbm
