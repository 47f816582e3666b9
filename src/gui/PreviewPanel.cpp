#include "gui/PreviewPanel.h"

#include "app/TLabelDocument.h"
#include "gui/GuiText.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QStatusBar>
#include <QVBoxLayout>

namespace qbm {

PreviewPanel::PreviewPanel(QWidget* parent) : QWidget(parent) {
    Named(this, "Panel2", "Page Preview");
    m_area = new QWidget(this);
    m_area->setObjectName("PreviewArea");
    m_area->setFixedSize(kWidth, kHeight);

    m_shadow = Named(new QWidget(m_area), "Shp_h");
    m_shadow->setAutoFillBackground(true);
    QPalette shadow = m_shadow->palette();
    shadow.setColor(QPalette::Window, shadow.color(QPalette::Shadow));
    m_shadow->setPalette(shadow);

    m_picture = Named(new QLabel(m_area), "Image2", "Page Preview");
    m_picture->setAccessibleDescription("Click to modify the barcode template");
    m_picture->setCursor(Qt::PointingHandCursor);
    m_picture->setAutoFillBackground(true);
    QPalette white = m_picture->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_picture->setPalette(white);
    m_picture->installEventFilter(this);

    m_statusBar = Named(new QStatusBar(this), "SB", "Status");
    m_statusBar->setSizeGripEnabled(false);
    constexpr struct {
        const char* name;
        const char* text;
        int width;
        Qt::Alignment align;
    } kPanels[] = {
        {"SB_Panel0", " Page  Preview", 80, Qt::AlignLeft},
        {"SB_Panel1", "Total: 1 Page", 100, Qt::AlignRight},
        {"SB_Panel2", "Code: EN13  ", 50, Qt::AlignRight},
    };
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = Named(new QLabel(kPanels[i].text, m_statusBar), kPanels[i].name);
        m_panels[i]->setAccessibleName(kPanels[i].text);
        m_panels[i]->setMinimumWidth(kPanels[i].width);
        m_panels[i]->setAlignment(kPanels[i].align | Qt::AlignVCenter);
        if (i > 0) m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_statusBar->addWidget(m_panels[i], i == 2 ? 1 : 0);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_area);
    layout->addWidget(m_statusBar);
    m_picture->hide();
    m_shadow->hide();
}

void PreviewPanel::SetDocument(TLabelDocument* doc) {
    if (m_doc) disconnect(m_doc, nullptr, this, nullptr);
    m_doc = doc;
    if (!doc) return;
    doc->SetPanelSize({kWidth, kHeight});
    auto setPanel = [this](int i, const std::string& text) {
        m_panels[i]->setText(ToQ(text));
        m_panels[i]->setAccessibleName(ToQ(text));
    };
    connect(doc, &TLabelDocument::previewChanged, this, &PreviewPanel::RefreshPicture);
    connect(doc, &TLabelDocument::pageCountChanged, this,
            [this, setPanel] { setPanel(1, m_doc->PageCountText()); });
    connect(doc, &TLabelDocument::barcodeTypeChanged, this,
            [this, setPanel] { setPanel(2, m_doc->BarcodeTypeText()); });
    RefreshPicture();
}

void PreviewPanel::RefreshPicture() {
    const TPreviewLayout& layout = m_doc->PreviewLayout();
    if (layout.pictureWidth <= 0 || layout.pictureHeight <= 0) return;
    const QRect rect(layout.pictureLeft, layout.pictureTop, layout.pictureWidth, layout.pictureHeight);
    m_picture->setGeometry(rect);
    m_shadow->setGeometry(rect.translated(3, 3));
    const QImage image = m_doc->PagePictureImage();
    if (!image.isNull()) m_picture->setPixmap(QPixmap::fromImage(image));
    m_picture->show();
    m_shadow->show();
    m_shadow->lower();
}

bool PreviewPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_picture && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_picture->rect().contains(mouse->position().toPoint()))
            emit pictureClicked();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qbm
