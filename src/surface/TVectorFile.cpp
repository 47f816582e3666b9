#include "surface/TVectorFile.h"

#include "surface/GuiApplication.h"
#include "surface/QtPainterCanvas.h"
#include "util/AtomicFile.h"
#include "util/Errors.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <memory>

namespace qbm {

void SaveVectorPicture(const std::string& path, TVectorFormat format, int width, int height, int dpi,
                       const std::function<void(TCanvas&)>& paint) {
    EnsureGuiApplication();
    if (width <= 0 || height <= 0 || dpi <= 0) throw EInOutError("Cannot write an empty picture to " + path);
    // Drawn in memory, then replacing the file in one step: a failed write keeps the old file.
    QByteArray bytes;
    QBuffer file(&bytes);
    if (!file.open(QIODevice::WriteOnly)) throw EInOutError("Cannot write file " + path);
    {
        std::unique_ptr<QPaintDevice> device;
        if (format == TVectorFormat::vfSvg) {
            auto svg = std::make_unique<QSvgGenerator>();
            svg->setOutputDevice(&file);
            svg->setSize(QSize(width, height));
            svg->setViewBox(QRect(0, 0, width, height));
            svg->setResolution(dpi);
            svg->setTitle(QStringLiteral("Barcode"));
            device = std::move(svg);
        } else {
            auto pdf = std::make_unique<QPdfWriter>(&file);
            pdf->setCreator(QStringLiteral("Quirbel Barcode Maker"));
            pdf->setResolution(dpi);
            pdf->setPageSize(
                QPageSize(QSizeF(width * 25.4 / dpi, height * 25.4 / dpi), QPageSize::Millimeter));
            pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
            device = std::move(pdf);
        }
        QPainter painter;
        if (!painter.begin(device.get())) throw EInOutError("Cannot write file " + path);
        {
            QtPainterCanvas canvas(&painter, dpi, dpi);
            try {
                paint(canvas);
            } catch (...) {
                painter.end();
                throw;
            }
        }
        if (!painter.end()) throw EInOutError("Cannot write file " + path);
    }
    file.close();
    try {
        WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const EInOutError& e) {
        throw EInOutError("Cannot write file " + path + ": " + e.what());
    }
}

} // namespace qbm
