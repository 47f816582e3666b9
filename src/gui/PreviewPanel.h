#pragma once
// The page preview beside the tabs: page turns and zoom over the page picture (with its shadow, in a
// scroll area that takes the room the window gives), and the status bar with the three panels
// (" Page  Preview", the page count, the barcode type).

#include "output/TPreviewZoom.h"

#include <QWidget>

class QLabel;
class QScrollArea;
class QStatusBar;
class QToolButton;

namespace qbm {

class TLabelDocument;

class PreviewPanel : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPanel(QWidget* parent = nullptr);
    void SetDocument(TLabelDocument* doc);

    QLabel* PagePicture() const { return m_picture; }
    QLabel* Panel(int index) const { return m_panels[index]; }
    const TPreviewZoom& Zoom() const { return m_zoom; }

signals:
    // A click on the page picture opens the template editor of the current kind.
    void pictureClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildNavigation();
    QToolButton* Button(const char* name, const QString& caption, const QString& tip);
    // The zoom for the view's present size goes to the document, which draws the page at it.
    void ApplyZoom();
    void TurnPage(int by);
    void RefreshPicture();

    TLabelDocument* m_doc = nullptr;
    TPreviewZoom m_zoom;
    QToolButton* m_previous;
    QToolButton* m_next;
    QLabel* m_pageText;
    QLabel* m_zoomText;
    QLabel* m_problem;
    QScrollArea* m_area;
    QWidget* m_sheet; // the picture and its shadow, centred in the scroll area
    QLabel* m_picture;
    QWidget* m_shadow;
    QStatusBar* m_statusBar;
    QLabel* m_panels[3];
    QLabel* m_warning;
};

} // namespace qbm
