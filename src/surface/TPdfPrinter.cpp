#include "surface/TPdfPrinter.h"

#include "surface/QtPainterCanvas.h"
#include "util/AtomicFile.h"
#include "util/Errors.h"
#include "util/TempFileCleanup.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace qbm {

// The document is written to a temporary file beside the target, which the finished document replaces
// in one step; the file is ours, not the writer's, so that every failed write is seen.
struct TPdfPrinter::Job {
    std::string tempPath;
    std::unique_ptr<TTempFileGuard> tempGuard;
    QFile file;
    std::unique_ptr<QPdfWriter> writer;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<QtPainterCanvas> canvas;

    // The file device keeps no reason for a failed buffered write; the system's is still at hand.
    std::string WriteFailure() const {
        const int error = errno;
        const QString text = file.errorString();
        if (!text.isEmpty() && text != QLatin1String("Unknown error")) return text.toStdString();
        return InOutErrorMessage(error != 0 ? error : EIO);
    }

    void Discard() {
        file.close();
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
    job->file.setFileName(QString::fromLocal8Bit(job->tempPath.c_str()));
    if (!job->file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EInOutError("Cannot write file " + m_path + ": " + job->file.errorString().toStdString());
    job->writer = std::make_unique<QPdfWriter>(&job->file);
    QPdfWriter& w = *job->writer;
    w.setCreator(QStringLiteral("Quirbel Barcode Maker"));
    w.setTitle(QString::fromLatin1(m_title.c_str()));
    w.setResolution(ResolutionX());
    w.setPageSize(QPageSize(QSizeF(Paper().widthMm, Paper().heightMm), QPageSize::Millimeter));
    w.setPageOrientation(Orientation() == TPrinterOrientation::poPortrait ? QPageLayout::Portrait
                                                                         : QPageLayout::Landscape);
    w.setPageMargins(QMarginsF(0, 0, 0, 0));
    job->painter = std::make_unique<QPainter>();
    if (!job->painter->begin(&w)) {
        job->painter.reset();
        job->writer.reset();
        job->Discard();
        throw EInOutError("Cannot write file " + m_path);
    }
    job->canvas = std::make_unique<QtPainterCanvas>(job->painter.get(), ResolutionX(), ResolutionY());
    job->canvas->SetPicturesAsRectangles(m_picturesAsRectangles);
    m_job = std::move(job);
}

void TPdfPrinter::NewPage() {
    if (!m_job) throw EInOutError("No print job is running");
    m_job->canvas->Flush();
    // A full disk ends the run at the next page instead of drawing the rest of it for nothing.
    if (m_job->file.error() != QFileDevice::NoError) {
        const std::string reason = m_job->WriteFailure();
        Abort();
        throw EInOutError("Cannot write file " + m_path + ": " + reason);
    }
    m_job->writer->newPage();
}

void TPdfPrinter::EndDoc() {
    if (!m_job) return;
    std::unique_ptr<Job> job = std::move(m_job);
    job->canvas.reset();
    const bool ended = job->painter->end();
    job->painter.reset();
    job->writer.reset();
    // Everything written so far must be on disk before the old document is replaced.
    const bool written = ended && job->file.flush() && job->file.error() == QFileDevice::NoError &&
                         ::fsync(job->file.handle()) == 0;
    const std::string reason = written ? std::string() : job->WriteFailure();
    job->file.close();
    if (!written) {
        job->Discard();
        throw EInOutError("Cannot write file " + m_path + ": " + reason);
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
    job->painter->end();
    job->painter.reset();
    job->writer.reset();
    job->Discard();
}

TCanvas& TPdfPrinter::Canvas() {
    if (!m_job) throw EInOutError("No print job is running");
    return *m_job->canvas;
}

} // namespace qbm
