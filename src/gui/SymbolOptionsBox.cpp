#include "gui/SymbolOptionsBox.h"

#include "app/TLabelDocument.h"
#include "gui/GuiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

namespace qbm {

SymbolOptionsBox::SymbolOptionsBox(QWidget* parent) : QGroupBox("Symbol Options", parent) {
    setObjectName("GB_SymbolOptions");
    setAccessibleName("Symbol Options");
    m_ecc = Named(new QComboBox(this), "CBX_SymbolEcc", "Error Correction:");
    m_ecc->addItems({"Automatic", "L (7 %)", "M (15 %)", "Q (25 %)", "H (30 %)"});
    m_version = Named(new QSpinBox(this), "SE_SymbolVersion", "Version:");
    m_version->setSpecialValueText("Automatic");
    m_shape = Named(new QComboBox(this), "CBX_SymbolShape", "Shape:");
    m_shape->addItems({"Square", "Rectangle"});
    m_gs1 = Named(new QCheckBox("GS&1 element string, such as (01)09501101530003(17)251231", this),
                  "CB_SymbolGs1", "GS1 element string, such as (01)09501101530003(17)251231");
    m_aztecEcc = Named(new QSpinBox(this), "SE_AztecEcc", "Error Correction %:");
    m_aztecEcc->setRange(0, 50);
    m_aztecEcc->setSuffix(" %");
    m_aztecEcc->setSpecialValueText("Standard (23 %)");

    auto* layout = new QFormLayout(this);
    const auto row = [&](const char* caption, QWidget* field) {
        auto* title = new QLabel(caption, this);
        title->setBuddy(field);
        layout->addRow(title, field);
        return title;
    };
    m_eccTitle = row("Error Correctio&n:", m_ecc);
    m_versionTitle = row("&Version:", m_version);
    m_shapeTitle = row("&Shape:", m_shape);
    layout->addRow(m_gs1);
    m_aztecTitle = row("Error Correctio&n %:", m_aztecEcc);

    connect(m_ecc, &QComboBox::activated, this, [this] { Changed(); });
    connect(m_version, &QSpinBox::valueChanged, this, [this] { Changed(); });
    connect(m_shape, &QComboBox::activated, this, [this] { Changed(); });
    connect(m_gs1, &QCheckBox::toggled, this, [this] { Changed(); });
    connect(m_aztecEcc, &QSpinBox::valueChanged, this, [this] { Changed(); });
    setVisible(false);
}

void SymbolOptionsBox::SetDocument(TLabelDocument* doc) {
    m_doc = doc;
    Refresh();
}

void SymbolOptionsBox::Refresh() {
    const auto settings = m_doc ? m_doc->Project().Symbol2DSettings() : std::nullopt;
    setVisible(settings.has_value());
    if (!settings) return;
    const TSymbology s = settings->symbology;
    const bool qr = s == TSymbology::QrCode || s == TSymbology::MicroQr;
    for (QWidget* w : std::initializer_list<QWidget*>{m_eccTitle, m_ecc, m_versionTitle, m_version})
        w->setVisible(qr);
    for (QWidget* w : std::initializer_list<QWidget*>{m_shapeTitle, m_shape, m_gs1})
        w->setVisible(s == TSymbology::DataMatrix);
    m_aztecTitle->setVisible(s == TSymbology::Aztec);
    m_aztecEcc->setVisible(s == TSymbology::Aztec);

    m_refreshing = true;
    const QSignalBlocker b1(m_ecc), b2(m_version), b3(m_shape), b4(m_gs1), b5(m_aztecEcc);
    // Micro QR has four versions, M1 to M4.
    m_version->setRange(0, s == TSymbology::MicroQr ? 4 : 40);
    m_ecc->setCurrentIndex(static_cast<int>(settings->qrEcc));
    m_version->setValue(settings->version);
    m_shape->setCurrentIndex(settings->shape == TDataMatrixShape::Rectangle ? 1 : 0);
    m_gs1->setChecked(settings->gs1);
    m_aztecEcc->setValue(settings->aztecEccPercent);
    m_refreshing = false;
}

void SymbolOptionsBox::Changed() {
    if (m_refreshing || !m_doc) return;
    TSymbolSettings options = m_doc->Project().SymbolOptions2D();
    options.qrEcc = static_cast<TQrEcc>(m_ecc->currentIndex());
    options.version = m_version->value();
    options.shape = m_shape->currentIndex() == 1 ? TDataMatrixShape::Rectangle : TDataMatrixShape::Square;
    options.gs1 = m_gs1->isChecked();
    options.aztecEccPercent = m_aztecEcc->value();
    m_doc->SetSymbolOptions2D(options);
}

} // namespace qbm
