#include "surface/PictureDecoder.h"

#include "surface/TBitmapImpl.h"
#include "util/Errors.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTransform>

#include <algorithm>

namespace qbm {

namespace {

QSize Fitted(QSizeF natural, int width, int height) {
    if (natural.width() <= 0 || natural.height() <= 0) return {width, height};
    const double scale = std::min(width / natural.width(), height / natural.height());
    return {std::max(1, static_cast<int>(natural.width() * scale + 0.5)),
            std::max(1, static_cast<int>(natural.height() * scale + 0.5))};
}

} // namespace

TBitmap DecodePicture(const std::vector<uint8_t>& bytes, int width, int height, int degrees,
                      const std::string& what) {
    width = std::max(1, width);
    height = std::max(1, height);
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<qsizetype>(bytes.size()));
    QImage picture;
    QSvgRenderer svg;
    const bool vector = svg.load(data) && svg.isValid();
    QSize size;
    if (vector) {
        size = Fitted(svg.defaultSize(), width, height);
    } else {
        if (!picture.loadFromData(data)) throw EInOutError("The picture " + what + " cannot be read.");
        size = Fitted(picture.size(), width, height);
    }
    TBitmap bitmap(size.width(), size.height());
    QImage& target = bitmap.Internal().Image();
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    if (vector)
        svg.render(&painter, QRectF(0, 0, size.width(), size.height()));
    else
        painter.drawImage(QRect(0, 0, size.width(), size.height()), picture);
    painter.end();
    // Qt turns clockwise for positive angles on a screen's downward y.
    if (degrees % 360 != 0) target = target.transformed(QTransform().rotate(-degrees));
    return bitmap;
}

} // namespace qbm
