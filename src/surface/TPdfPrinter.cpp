#include "surface/TPdfPrinter.h"

#include "surface/QtPainterCanvas.h"
#include "util/Errors.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <unistd.h>

namespace qbm {

struct TPdfPrinter::Job {
    QString tempPath;
    std::unique_ptr<QPdfWriter> writer;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<QtPainterCanvas> canvas;
};

TPdfPrinter::TPdfPrinter(std::string path, TPaperSize paper, int dpi)
    : TPaperPrinter(paper, dpi, 600), m_path(std::move(path)) {}

TPdfPrinter::~TPdfPrinter() {
    if (m_job) Abort();
}

void TPdfPrinter::BeginDoc() {
    if (m_job) throw EInOutError("A print job is already running");
    auto job = std::make_unique<Job>();
    job->tempPath = QString::fromLocal8Bit((m_path + ".part-" + std::to_string(getpid())).c_str());
    job->writer = std::make_unique<QPdfWriter>(job->tempPath);
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
        QFile::remove(job->tempPath);
        throw EInOutError("Cannot write file " + m_path);
    }
    job->canvas = std::make_unique<QtPainterCanvas>(job->painter.get(), ResolutionX(), ResolutionY());
    m_job = std::move(job);
}

void TPdfPrinter::NewPage() {
    if (!m_job) throw EInOutError("No print job is running");
    m_job->writer->newPage();
}

void TPdfPrinter::EndDoc() {
    if (!m_job) return;
    std::unique_ptr<Job> job = std::move(m_job);
    job->canvas.reset();
    const bool ok = job->painter->end();
    job->painter.reset();
    job->writer.reset();
    const QString target = QString::fromLocal8Bit(m_path.c_str());
    if (!ok) {
        QFile::remove(job->tempPath);
        throw EInOutError("Cannot write file " + m_path);
    }
    QFile::remove(target);
    if (!QFile::rename(job->tempPath, target)) {
        QFile::remove(job->tempPath);
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
    QFile::remove(job->tempPath);
}

TCanvas& TPdfPrinter::Canvas() {
    if (!m_job) throw EInOutError("No print job is running");
    return *m_job->canvas;
}

} // namespace qbm
