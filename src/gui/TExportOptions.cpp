#include "gui/TExportOptions.h"

#include "gui/GuiText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace qbm {

TExportOptions::TExportOptions(QWidget* parent) : QWidget(parent) {
    setObjectName("ExportOptions");
    m_dpi = Named(new QSpinBox, "Edt_ExportDpi", "Resolution:");
    m_dpi->setRange(TPictureExport::kMinDpi, TPictureExport::kMaxDpi);
    m_dpi->setValue(TPictureExport::kDefaultDpi);
    m_dpi->setSuffix(" dpi");
    m_dpi->setToolTip(
        "Resolution of exported BMP, PNG, JPEG and TIFF pictures; SVG and PDF keep the real size");
    m_preview = Named(new QCheckBox("Preview picture"), "Chk_PreviewPicture", "Preview picture");
    m_preview->setToolTip("Export the preview picture exactly as shown instead");
    auto* caption = new QLabel("&Resolution:");
    caption->setBuddy(m_dpi);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption);
    layout->addWidget(m_dpi);
    layout->addWidget(m_preview);
    connect(m_preview, &QCheckBox::toggled, m_dpi, [this](bool on) { m_dpi->setEnabled(!on); });
}

TPictureExport TExportOptions::Choice() const {
    TPictureExport choice;
    choice.dpi = m_dpi->value();
    choice.previewPicture = m_preview->isChecked();
    return choice;
}

} // namespace qbm
