#pragma once
// The options of QR Code, Data Matrix, Aztec and Micro QR on the "2D Barcode " tab, shown while one of
// them is the 2D format: each change goes to the document, which redraws the label at once.

#include "symbols/TSymbolSettings.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace qbm {

class TLabelDocument;

class SymbolOptionsBox : public QGroupBox {
    Q_OBJECT
public:
    explicit SymbolOptionsBox(QWidget* parent = nullptr);
    void SetDocument(TLabelDocument* doc);
    // Shows the project's options and the controls its format has.
    void Refresh();

private:
    void Changed();

    TLabelDocument* m_doc = nullptr;
    QLabel* m_eccTitle;
    QComboBox* m_ecc;
    QLabel* m_versionTitle;
    QSpinBox* m_version;
    QLabel* m_shapeTitle;
    QComboBox* m_shape;
    QCheckBox* m_gs1;
    QLabel* m_aztecTitle;
    QSpinBox* m_aztecEcc;
    bool m_refreshing = false;
};

} // namespace qbm
