#pragma once
// The page preview beside the tabs: the page picture with its shadow, and the status bar with the
// three panels (" Page  Preview", the page count, the barcode type).

#include <QWidget>

class QLabel;
class QStatusBar;

namespace qbm {

class TLabelDocument;

class PreviewPanel : public QWidget {
    Q_OBJECT
public:
    // The drawing area the page is laid out in; the page picture's scale and position follow it.
    static constexpr int kWidth = 368;
    static constexpr int kHeight = 350;

    explicit PreviewPanel(QWidget* parent = nullptr);
    void SetDocument(TLabelDocument* doc);

    QLabel* PagePicture() const { return m_picture; }
    QLabel* Panel(int index) const { return m_panels[index]; }

signals:
    // A click on the page picture opens the template editor of the current kind.
    void pictureClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RefreshPicture();

    TLabelDocument* m_doc = nullptr;
    QWidget* m_area;
    QLabel* m_picture;
    QWidget* m_shadow;
    QStatusBar* m_statusBar;
    QLabel* m_panels[3];
};

} // namespace qbm
