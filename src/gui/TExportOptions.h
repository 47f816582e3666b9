#pragma once
// Beside an editor's "&Export" button: the resolution of exported pictures, and the choice of the
// preview picture exactly as shown instead.

#include "output/PreviewExport.h"

#include <QWidget>

class QCheckBox;
class QSpinBox;

namespace qbm {

class TExportOptions : public QWidget {
    Q_OBJECT
public:
    explicit TExportOptions(QWidget* parent = nullptr);
    TPictureExport Choice() const;

private:
    QSpinBox* m_dpi;
    QCheckBox* m_preview;
};

} // namespace qbm
