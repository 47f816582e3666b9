#include "gui/PreviewPanel.h"

#include "app/TLabelDocument.h"
#include "gui/GuiText.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace qbm {
namespace {
// White space round the page inside the scroll area, and the shadow's offset.
constexpr int kSheetMargin = 8;
constexpr int kShadowOffset = 3;
// The panel the window always had is the least it gets.
constexpr int kMinimumWidth = 368;
constexpr int kMinimumHeight = 350;
constexpr const char* kClickTip = "Click to modify the barcode template";
} // namespace

PreviewPanel::PreviewPanel(QWidget* parent) : QWidget(parent) {
    Named(this, "Panel2", "Page Preview");
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    m_area = Named(new QScrollArea(this), "PreviewArea", "Page Preview");
    m_area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_area->setWidgetResizable(false);
    m_area->setFrameShape(QFrame::NoFrame);
    m_area->viewport()->installEventFilter(this);
    m_sheet = new QWidget;
    m_sheet->setObjectName("PreviewSheet");
    m_area->setWidget(m_sheet);

    m_shadow = Named(new QWidget(m_sheet), "Shp_h");
    m_shadow->setAutoFillBackground(true);
    QPalette shadow = m_shadow->palette();
    shadow.setColor(QPalette::Window, shadow.color(QPalette::Shadow));
    m_shadow->setPalette(shadow);

    m_picture = Named(new QLabel(m_sheet), "Image2", "Page Preview");
    m_picture->setAccessibleDescription(kClickTip);
    m_picture->setToolTip(kClickTip);
    m_picture->setCursor(Qt::PointingHandCursor);
    m_picture->setAutoFillBackground(true);
    QPalette white = m_picture->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_picture->setPalette(white);
    m_picture->installEventFilter(this);

    m_problem = Named(new QLabel(this), "PreviewProblem");
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet("color: #c00000;");
    m_problem->hide();

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

    // The layout warning, in red, while it holds (the same text as on the "Print Layout" tab).
    m_warning = Named(new QLabel(m_statusBar), "SB_Warning", "Layout warning");
    QPalette red = m_warning->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_warning->setPalette(red);
    m_statusBar->addWidget(m_warning, 1);
    m_warning->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(BuildNavigation());
    layout->addWidget(m_problem);
    layout->addWidget(m_area, 1);
    layout->addWidget(m_statusBar);
    m_picture->hide();
    m_shadow->hide();

    // Page keys turn the preview's pages wherever the focus is, unless a field uses them itself.
    const auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::Key_PageUp), [this] { TurnPage(-1); });
    shortcut(QKeySequence(Qt::Key_PageDown), [this] { TurnPage(1); });
    const auto zoomIn = [this] {
        m_zoom.ZoomIn();
        ApplyZoom();
    };
    const auto zoomOut = [this] {
        m_zoom.ZoomOut();
        ApplyZoom();
    };
    shortcut(QKeySequence::ZoomIn, zoomIn);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), zoomIn);
    shortcut(QKeySequence::ZoomOut, zoomOut);
}

QToolButton* PreviewPanel::Button(const char* name, const QString& caption, const QString& tip) {
    auto* b = Named(new QToolButton(this), name, caption);
    b->setText(caption);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    return b;
}

QWidget* PreviewPanel::BuildNavigation() {
    auto* bar = new QWidget(this);
    bar->setObjectName("PreviewNavigation");
    m_previous = Button("Btn_PreviousPage", "Previous Page", "Previous page (Page Up)");
    m_previous->setArrowType(Qt::LeftArrow);
    m_next = Button("Btn_NextPage", "Next Page", "Next page (Page Down)");
    m_next->setArrowType(Qt::RightArrow);
    m_pageText = Named(new QLabel("Page 1 of 1", bar), "Lbl_Page");
    m_pageText->setAccessibleName("Page 1 of 1");
    m_pageText->setMinimumWidth(m_pageText->fontMetrics().horizontalAdvance("Page 8888 of 8888"));
    auto* zoomOut = Button("Btn_ZoomOut", "Zoom Out", "Zoom out (Ctrl+-, Ctrl+wheel)");
    zoomOut->setText("-");
    auto* zoomIn = Button("Btn_ZoomIn", "Zoom In", "Zoom in (Ctrl++, Ctrl+wheel)");
    zoomIn->setText("+");
    m_zoomText = Named(new QLabel(bar), "Lbl_Zoom");
    m_zoomText->setMinimumWidth(m_zoomText->fontMetrics().horizontalAdvance("0000 %"));
    m_zoomText->setAlignment(Qt::AlignCenter);
    auto* fitPage = Button("Btn_FitPage", "Fit Page", "Show the whole page");
    auto* fitWidth = Button("Btn_FitWidth", "Fit Width", "Show the page's whole width");
    auto* actual = Button("Btn_ActualSize", "100 %", "Show the page at its real size");

    // Two rows, so that every caption shows whole in the narrowest panel: the pages, then the zoom.
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(2, 0, 2, 0);
    rows->setSpacing(0);
    auto* pages = new QHBoxLayout;
    pages->setSpacing(2);
    pages->addWidget(m_previous);
    pages->addWidget(m_pageText);
    pages->addWidget(m_next);
    pages->addStretch(1);
    auto* zoom = new QHBoxLayout;
    zoom->setSpacing(2);
    for (QWidget* w :
         {static_cast<QWidget*>(zoomOut), static_cast<QWidget*>(m_zoomText), static_cast<QWidget*>(zoomIn),
          static_cast<QWidget*>(fitPage), static_cast<QWidget*>(fitWidth), static_cast<QWidget*>(actual)})
        zoom->addWidget(w);
    zoom->addStretch(1);
    rows->addLayout(pages);
    rows->addLayout(zoom);

    connect(m_previous, &QToolButton::clicked, this, [this] { TurnPage(-1); });
    connect(m_next, &QToolButton::clicked, this, [this] { TurnPage(1); });
    const auto zoomWith = [this](void (TPreviewZoom::*change)()) {
        return [this, change] {
            (m_zoom.*change)();
            ApplyZoom();
        };
    };
    connect(zoomIn, &QToolButton::clicked, this, zoomWith(&TPreviewZoom::ZoomIn));
    connect(zoomOut, &QToolButton::clicked, this, zoomWith(&TPreviewZoom::ZoomOut));
    connect(fitPage, &QToolButton::clicked, this, zoomWith(&TPreviewZoom::FitPage));
    connect(fitWidth, &QToolButton::clicked, this, zoomWith(&TPreviewZoom::FitWidth));
    connect(actual, &QToolButton::clicked, this, zoomWith(&TPreviewZoom::ActualSize));
    return bar;
}

void PreviewPanel::SetDocument(TLabelDocument* doc) {
    if (m_doc) disconnect(m_doc, nullptr, this, nullptr);
    m_doc = doc;
    if (!doc) return;
    auto setPanel = [this](int i, const std::string& text) {
        m_panels[i]->setText(ToQ(text));
        m_panels[i]->setAccessibleName(ToQ(text));
    };
    connect(doc, &TLabelDocument::previewChanged, this, &PreviewPanel::RefreshPicture);
    connect(doc, &TLabelDocument::pageCountChanged, this,
            [this, setPanel] { setPanel(1, m_doc->PageCountText()); });
    connect(doc, &TLabelDocument::barcodeTypeChanged, this,
            [this, setPanel] { setPanel(2, m_doc->BarcodeTypeText()); });
    const auto showWarning = [this] {
        const QString text = ToQ(m_doc->LayoutWarning());
        // The status bar has one line: the first sentence, the whole text as its tooltip.
        m_warning->setText(text.section(QLatin1Char(';'), 0, 0).section(QLatin1String(". "), 0, 0));
        m_warning->setToolTip(text);
        m_warning->setAccessibleDescription(text);
        m_warning->setVisible(!text.isEmpty());
    };
    connect(doc, &TLabelDocument::layoutWarningChanged, this, showWarning);
    showWarning();
    ApplyZoom();
    RefreshPicture();
}

void PreviewPanel::ApplyZoom() {
    if (!m_doc) return;
    // The room for the page: the view without the white space round it, and for a fitted width
    // without the vertical scroll bar that a page taller than the view brings.
    const QSize view = m_area->maximumViewportSize();
    int width = view.width() - 2 * kSheetMargin - kShadowOffset;
    const int height = view.height() - 2 * kSheetMargin - kShadowOffset;
    if (m_zoom.Mode() == TZoomMode::zmFitWidth) width -= m_area->verticalScrollBar()->sizeHint().width();
    const double ppi = m_zoom.PixelsPerInch(m_doc->PreviewPaper(), std::max(1, width), std::max(1, height));
    m_zoomText->setText(QString("%1 %").arg(std::lround(m_zoom.ShownFactor() * 100)));
    m_zoomText->setAccessibleName(m_zoomText->text());
    // Drawn for the screen's own pixels, so that bars and digits stay sharp at 200 % scaling.
    m_doc->SetPreviewPixelsPerInch(ppi * devicePixelRatioF());
}

void PreviewPanel::TurnPage(int by) {
    if (m_doc) m_doc->ShowPreviewPage(m_doc->PreviewPage() + by);
}

void PreviewPanel::RefreshPicture() {
    if (!m_doc) return;
    const QString page = ToQ(m_doc->PreviewPageText());
    m_pageText->setText(page);
    m_pageText->setAccessibleName(page);
    m_previous->setEnabled(m_doc->PreviewPage() > 1);
    m_next->setEnabled(m_doc->PreviewPage() < m_doc->PreviewPageCount());
    m_problem->setText(ToQ(m_doc->PreviewProblem()));
    m_problem->setVisible(!m_doc->PreviewProblem().empty());

    QImage image = m_doc->PagePictureImage();
    if (image.isNull()) return;
    const double ratio = devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    const QSize size(std::lround(image.width() / ratio), std::lround(image.height() / ratio));
    m_picture->setPixmap(pixmap);
    m_picture->setGeometry(QRect(QPoint(kSheetMargin, kSheetMargin), size));
    m_shadow->setGeometry(m_picture->geometry().translated(kShadowOffset, kShadowOffset));
    m_sheet->resize(size + QSize(2 * kSheetMargin + kShadowOffset, 2 * kSheetMargin + kShadowOffset));
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
    if (watched == m_area->viewport()) {
        if (event->type() == QEvent::Resize && m_zoom.Mode() != TZoomMode::zmFixed) ApplyZoom();
        if (event->type() == QEvent::Wheel) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->modifiers() & Qt::ControlModifier) {
                m_zoom.ZoomBy(wheel->angleDelta().y() / 120.0);
                ApplyZoom();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qbm
