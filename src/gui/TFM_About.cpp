#include "gui/TFM_About.h"

#include "gui/GuiText.h"

#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace qbm {

TFM_About::TFM_About(QWidget* parent) : QDialog(parent) {
    Named(this, "FM_About", "About Quirbel Barcode Maker");
    setWindowTitle("About Quirbel Barcode Maker");
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    auto* picture = Named(new QLabel(this), "Image1", "Quirbel Barcode Maker");
    picture->setPixmap(QIcon(":/qbm/app.svg").pixmap(96, 96));
    picture->setAlignment(Qt::AlignCenter);
    auto* name = Named(new QLabel("Quirbel Barcode Maker", this), "Lb_Name", "Quirbel Barcode Maker");
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    auto* version =
        Named(new QLabel("Version: 2.1 (Build 6.13)", this), "Lb_Version", "Version: 2.1 (Build 6.13)");
    // The caption is written with a doubled ampersand, which a label without a buddy shows as one.
    auto* formats = Named(new QLabel(this), "Lb_Formats");
    formats->setText("Support 1D & 2D Formats");
    formats->setAccessibleName("Support 1D & 2D Formats");
    auto* web = Named(new QLabel("<a href=\"web\">www.quirbel.com</a>", this), "Lb_Web", "www.quirbel.com");
    web->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(web, &QLabel::linkActivated, this, [this] {
        emit webAddressClicked();
        accept();
    });
    for (QLabel* label : {name, version, formats, web}) label->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(picture);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(formats);
    layout->addSpacing(12);
    layout->addWidget(web);
}

void TFM_About::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
    fill.setColorAt(1, QColor(0xc9, 0xdc, 0xf0));
    painter.fillRect(rect(), fill);
    painter.setPen(QColor(0x2a, 0x6f, 0xb0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TFM_About::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) accept();
}

} // namespace qbm
