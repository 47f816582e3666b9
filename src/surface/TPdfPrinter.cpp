#include "surface/TPdfPrinter.h"

#include "surface/TPdfCanvas.h"
#include "surface/TPdfFile.h"
#include "util/AtomicFile.h"
#include "util/Errors.h"
#include "util/TempFileCleanup.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace qbm {

// The document is written to a temporary file beside the target, which the finished document replaces
// in one step; every failed write is seen.
struct TPdfPrinter::Job {
    std::string tempPath;
    std::unique_ptr<TTempFileGuard> tempGuard;
    std::FILE* file = nullptr;
    std::unique_ptr<TPdfFile> pdf;
    std::unique_ptr<TPdfCanvas> canvas;
    int catalog = 0, pages = 0, info = 0;
    std::vector<int> pageIds;
    std::string mediaBox;

    static std::string WriteFailure() { return InOutErrorMessage(errno != 0 ? errno : EIO); }

    void EndPage() {
        const int content = pdf->Reserve(), page = pdf->Reserve();
        pdf->Stream(content, "", canvas->PageContent());
        pdf->Object(page, "<< /Type /Page /Parent " + std::to_string(pages) + " 0 R /MediaBox " + mediaBox +
                              " /Resources " + canvas->PageResources() + " /Contents " +
                              std::to_string(content) + " 0 R >>");
        canvas->ClearPage();
        pageIds.push_back(page);
    }

    void Discard() {
        if (file) std::fclose(file);
        file = nullptr;
        std::remove(tempPath.c_str());
    }
};

TPdfPrinter::TPdfPrinter(std::string path, TPaperSize paper, int dpi)
    : TPaperPrinter(paper, dpi, 600), m_path(std::move(path)) {}

TPdfPrinter::~TPdfPrinter() {
    if (m_job) Abort();
}

void TPdfPrinter::BeginDoc() {
    if (m_job) throw EInOutError("A print job is already running");
    auto job = std::make_unique<Job>();
    job->tempPath = m_path + ".part-" + std::to_string(getpid());
    // Registered before the file exists: a stop between the two would otherwise leave it behind.
    job->tempGuard = std::make_unique<TTempFileGuard>(job->tempPath);
    errno = 0;
    job->file = std::fopen(job->tempPath.c_str(), "wb");
    if (!job->file) throw EInOutError("Cannot write file " + m_path + ": " + Job::WriteFailure());
    std::setvbuf(job->file, nullptr, _IOFBF, 1 << 20);
    job->pdf = std::make_unique<TPdfFile>(job->file);
    job->catalog = job->pdf->Reserve();
    job->pages = job->pdf->Reserve();
    job->info = job->pdf->Reserve();
    const double scale = 72.0 / ResolutionX();
    const double widthPt = PageWidth() * scale, heightPt = PageHeight() * 72.0 / ResolutionY();
    char text[160];
    std::snprintf(text, sizeof text, "%.8f 0 0 %.8f 0 %.4f cm 0 j 2 J\n", scale, -72.0 / ResolutionY(),
                  heightPt);
    // The page's operators start by turning device pixels, y down, into points, y up.
    const std::string pagePrologue = text;
    std::snprintf(text, sizeof text, "[0 0 %.6f %.6f]", widthPt, heightPt);
    job->mediaBox = text;
    job->canvas = std::make_unique<TPdfCanvas>(*job->pdf, ResolutionX(), pagePrologue);
    job->canvas->SetPicturesAsRectangles(m_picturesAsRectangles);
    m_job = std::move(job);
}

void TPdfPrinter::NewPage() {
    if (!m_job) throw EInOutError("No print job is running");
    m_job->EndPage();
    // A full disk ends the run at the next page instead of drawing the rest of it for nothing.
    if (m_job->pdf->Failed()) {
        const std::string reason = Job::WriteFailure();
        Abort();
        throw EInOutError("Cannot write file " + m_path + ": " + reason);
    }
}

void TPdfPrinter::EndDoc() {
    if (!m_job) return;
    std::unique_ptr<Job> job = std::move(m_job);
    errno = 0;
    job->EndPage();
    job->canvas->WriteFonts();
    std::string kids;
    for (const int id : job->pageIds) kids += std::to_string(id) + " 0 R ";
    job->pdf->Object(job->pages, "<< /Type /Pages /Kids [" + kids + "] /Count " +
                                     std::to_string(job->pageIds.size()) + " >>");
    job->pdf->Object(job->catalog, "<< /Type /Catalog /Pages " + std::to_string(job->pages) + " 0 R >>");
    std::string info = "<< /Title ";
    AppendTextString(info, m_title);
    info += " /Creator ";
    AppendTextString(info, "Quirbel Barcode Maker");
    info += " /Producer ";
    AppendTextString(info, "Quirbel Barcode Maker");
    info += " >>";
    job->pdf->Object(job->info, info);
    job->pdf->Finish(job->catalog, job->info);
    // Everything written so far must be on disk before the old document is replaced.
    const bool written =
        std::fflush(job->file) == 0 && !job->pdf->Failed() && ::fsync(fileno(job->file)) == 0;
    const std::string reason = written ? std::string() : Job::WriteFailure();
    const bool closed = std::fclose(job->file) == 0;
    job->file = nullptr;
    if (!written || !closed) {
        job->Discard();
        throw EInOutError("Cannot write file " + m_path + ": " + (written ? Job::WriteFailure() : reason));
    }
    if (std::rename(job->tempPath.c_str(), m_path.c_str()) != 0) {
        job->Discard();
        throw EInOutError("Cannot write file " + m_path);
    }
}

void TPdfPrinter::Abort() {
    if (!m_job) return;
    std::unique_ptr<Job> job = std::move(m_job);
    job->canvas.reset();
    job->pdf.reset();
    job->Discard();
}

TCanvas& TPdfPrinter::Canvas() {
    if (!m_job) throw EInOutError("No print job is running");
    return *m_job->canvas;
}

} // namespace qbm
