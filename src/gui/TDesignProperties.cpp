#include "gui/TDesignProperties.h"

#include "app/TDesignEditor.h"
#include "design/DesignPicture.h"
#include "design/DesignSymbology.h"
#include "gui/GuiText.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <cmath>

namespace qbm {

namespace {

QDoubleSpinBox* MmBox(QWidget* parent, const char* name, const QString& caption, double min) {
    auto* box = Named(new QDoubleSpinBox(parent), name, caption);
    box->setRange(min, 1000);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(" mm");
    return box;
}

QColor ToQColor(TColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// A spin box the user is typing into keeps its text while the value it stands for is unchanged.
void ShowValue(QDoubleSpinBox* box, double value) {
    if (std::abs(box->value() - value) > 1e-9) box->setValue(value);
}

void ShowColour(QPushButton* button, TColor c) {
    button->setText(ToQColor(c).name());
    button->setIcon([&] {
        QPixmap swatch(12, 12);
        swatch.fill(ToQColor(c));
        return QIcon(swatch);
    }());
}

} // namespace

TDesignProperties::TDesignProperties(QWidget* parent) : QWidget(parent) {
    setObjectName("DesignProperties");
    setAccessibleName("Properties");
    m_form = new QFormLayout(this);
    m_form->setContentsMargins(0, 0, 0, 0);
    m_kind = Named(new QLabel(this), "DesignKind", "Object");
    m_x = MmBox(this, "DesignX", "X", -1000);
    m_y = MmBox(this, "DesignY", "Y", -1000);
    m_width = MmBox(this, "DesignWidth", "Width", 0);
    m_height = MmBox(this, "DesignHeight", "Height", 0);
    m_rotation = Named(new QComboBox(this), "DesignRotation", "Rotation");
    for (const int r : {0, 90, 180, 270}) m_rotation->addItem(QString::number(r) + QChar(0xB0), r);
    m_value = Named(new QLineEdit(this), "DesignValue", "Value");
    m_value->setPlaceholderText("Text or {Field}");
    m_font = Named(new QFontComboBox(this), "DesignFont", "Font");
    m_size = Named(new QDoubleSpinBox(this), "DesignSize", "Size");
    m_size->setRange(1, 500);
    m_size->setDecimals(1);
    m_size->setSuffix(" pt");
    m_bold = Named(new QCheckBox("Bold", this), "DesignBold", "Bold");
    m_italic = Named(new QCheckBox("Italic", this), "DesignItalic", "Italic");
    m_align = Named(new QComboBox(this), "DesignAlign", "Alignment");
    m_align->addItems({"Left", "Centre", "Right"});
    m_shrink = Named(new QCheckBox("Shrink to fit", this), "DesignShrink", "Shrink to fit");
    m_colour = Named(new QPushButton(this), "DesignColour", "Colour");
    m_symbology = Named(new QComboBox(this), "DesignSymbology", "Symbology");
    for (const std::string& name : DesignSymbologyNames()) m_symbology->addItem(QString::fromStdString(name));
    m_showText = Named(new QCheckBox("Show text", this), "DesignShowText", "Show text");
    m_picture = Named(new QPushButton("Choose Picture ...", this), "DesignPicture", "Choose Picture ...");
    m_line = MmBox(this, "DesignLineWidth", "Line width", 0);
    m_line->setDecimals(2);
    m_line->setSingleStep(0.1);
    m_filled = Named(new QCheckBox("Filled", this), "DesignFilled", "Filled");
    m_fill = Named(new QPushButton(this), "DesignFillColour", "Fill colour");
    m_radius = MmBox(this, "DesignCornerRadius", "Corner radius", 0);

    AddRow("Object", m_kind);
    AddRow("&X", m_x);
    AddRow("&Y", m_y);
    AddRow("&Width", m_width);
    AddRow("&Height", m_height);
    AddRow("&Rotation", m_rotation);
    AddRow("&Value", m_value);
    AddRow("&Font", m_font);
    AddRow("Si&ze", m_size);
    AddRow("", m_bold);
    AddRow("", m_italic);
    AddRow("Ali&gnment", m_align);
    AddRow("", m_shrink);
    AddRow("&Colour", m_colour);
    AddRow("S&ymbology", m_symbology);
    AddRow("", m_showText);
    AddRow("&Picture", m_picture);
    AddRow("&Line width", m_line);
    AddRow("", m_filled);
    AddRow("Fill colour", m_fill);
    AddRow("Corner ra&dius", m_radius);

    const auto box = [this](QDoubleSpinBox* spin, const char* property, double TDesignObject::*field) {
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this, property, field](double v) {
            Edit(property, true, [&](TDesignObject& o) { o.*field = v; });
        });
    };
    connect(m_x, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        Edit("X", true, [&](TDesignObject& o) {
            TBoxMm b = CoveredBox(o);
            b.x = v;
            SetCoveredBox(o, b);
        });
    });
    connect(m_y, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        Edit("Y", true, [&](TDesignObject& o) {
            TBoxMm b = CoveredBox(o);
            b.y = v;
            SetCoveredBox(o, b);
        });
    });
    connect(m_width, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        Edit("Width", true, [&](TDesignObject& o) {
            TBoxMm b = CoveredBox(o);
            b.w = v;
            SetCoveredBox(o, b);
        });
    });
    connect(m_height, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        Edit("Height", true, [&](TDesignObject& o) {
            TBoxMm b = CoveredBox(o);
            b.h = v;
            SetCoveredBox(o, b);
        });
    });
    connect(m_rotation, &QComboBox::currentIndexChanged, this, [this] {
        Edit("Rotation", false, [&](TDesignObject& o) { o.rotation = m_rotation->currentData().toInt(); });
    });
    connect(m_value, &QLineEdit::textEdited, this, [this](const QString& text) {
        Edit("Value", true, [&](TDesignObject& o) { o.value = text.toStdString(); });
    });
    connect(m_font, &QFontComboBox::currentFontChanged, this, [this](const QFont& f) {
        Edit("Font", false, [&](TDesignObject& o) { o.font = f.family().toStdString(); });
    });
    box(m_size, "Size", &TDesignObject::sizePt);
    connect(m_bold, &QCheckBox::toggled, this,
            [this](bool on) { Edit("Bold", false, [&](TDesignObject& o) { o.bold = on; }); });
    connect(m_italic, &QCheckBox::toggled, this,
            [this](bool on) { Edit("Italic", false, [&](TDesignObject& o) { o.italic = on; }); });
    connect(m_align, &QComboBox::currentIndexChanged, this, [this](int i) {
        Edit("Alignment", false, [&](TDesignObject& o) { o.align = static_cast<TDesignAlign>(i); });
    });
    connect(m_shrink, &QCheckBox::toggled, this,
            [this](bool on) { Edit("Shrink to fit", false, [&](TDesignObject& o) { o.shrinkToFit = on; }); });
    connect(m_colour, &QPushButton::clicked, this, [this] { ChooseColour(false); });
    connect(m_symbology, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        Edit("Symbology", false, [&](TDesignObject& o) { o.symbology = name.toStdString(); });
    });
    connect(m_showText, &QCheckBox::toggled, this,
            [this](bool on) { Edit("Show text", false, [&](TDesignObject& o) { o.showText = on; }); });
    connect(m_picture, &QPushButton::clicked, this, &TDesignProperties::ChoosePicture);
    box(m_line, "Line width", &TDesignObject::lineMm);
    connect(m_filled, &QCheckBox::toggled, this, [this](bool on) {
        Edit("Fill", false, [&](TDesignObject& o) {
            o.fill = on ? std::optional<TColor>(o.fill.value_or(clSilver)) : std::nullopt;
        });
    });
    connect(m_fill, &QPushButton::clicked, this, [this] { ChooseColour(true); });
    box(m_radius, "Corner radius", &TDesignObject::cornerRadiusMm);
    Refresh();
}

void TDesignProperties::AddRow(const QString& caption, QWidget* field) {
    if (caption.isEmpty()) {
        m_form->addRow(field);
        return;
    }
    auto* label = new QLabel(caption, this);
    label->setBuddy(field);
    m_form->addRow(label, field);
}

void TDesignProperties::SetEditor(TDesignEditor* editor) {
    if (m_editor) disconnect(m_editor, nullptr, this, nullptr);
    m_editor = editor;
    if (editor) {
        connect(editor, &TDesignEditor::designChanged, this, &TDesignProperties::Refresh);
        connect(editor, &TDesignEditor::selectionChanged, this, &TDesignProperties::Refresh);
    }
    Refresh();
}

template <typename Change> void TDesignProperties::Edit(const char* property, bool typing, Change&& change) {
    if (m_refreshing || !m_editor || m_editor->Current() < 0) return;
    const int index = m_editor->Current();
    TDesignObject object = m_editor->Design()->objects[static_cast<size_t>(index)];
    change(object);
    m_editor->SetObject(index, object, property, typing);
}

void TDesignProperties::Refresh() {
    m_refreshing = true;
    const int current = m_editor && m_editor->Design() ? m_editor->Current() : -1;
    const TDesignObject object =
        current >= 0 ? m_editor->Design()->objects[static_cast<size_t>(current)] : TDesignObject{};
    const auto kind = object.kind;
    const bool any = current >= 0;
    const bool text = any && kind == TDesignKind::Text;
    const bool code = any && kind == TDesignKind::Barcode;
    const bool outline =
        any && (kind == TDesignKind::Line || kind == TDesignKind::Rect || kind == TDesignKind::Ellipse);
    const bool filled = any && (kind == TDesignKind::Rect || kind == TDesignKind::Ellipse);
    const size_t selected = m_editor ? m_editor->Selection().size() : 0;
    m_kind->setText(!any           ? QString("No object selected")
                    : selected > 1 ? QString("%1 (of %2 selected)").arg(DesignKindName(kind)).arg(selected)
                                   : QString(DesignKindName(kind)));
    const TBoxMm b = CoveredBox(object);
    ShowValue(m_x, b.x);
    ShowValue(m_y, b.y);
    ShowValue(m_width, b.w);
    ShowValue(m_height, b.h);
    m_rotation->setCurrentIndex(std::max(0, m_rotation->findData(object.rotation)));
    if (m_value->text() != QString::fromStdString(object.value))
        m_value->setText(QString::fromStdString(object.value));
    m_font->setCurrentFont(QFont(QString::fromStdString(object.font)));
    ShowValue(m_size, object.sizePt);
    m_bold->setChecked(object.bold);
    m_italic->setChecked(object.italic);
    m_align->setCurrentIndex(static_cast<int>(object.align));
    m_shrink->setChecked(object.shrinkToFit);
    ShowColour(m_colour, object.color);
    m_symbology->setCurrentText(QString::fromStdString(object.symbology));
    m_showText->setChecked(object.showText);
    m_picture->setText(
        object.picture.bytes.empty()
            ? "Choose Picture ..."
            : QString("%1 picture ...").arg(QString::fromStdString(object.picture.format).toUpper()));
    ShowValue(m_line, object.lineMm);
    m_filled->setChecked(object.fill.has_value());
    ShowColour(m_fill, object.fill.value_or(clSilver));
    ShowValue(m_radius, object.cornerRadiusMm);

    for (QWidget* w : std::initializer_list<QWidget*>{m_x, m_y, m_width, m_height, m_rotation})
        m_form->setRowVisible(w, any);
    for (QWidget* w : std::initializer_list<QWidget*>{m_value}) m_form->setRowVisible(w, text || code);
    for (QWidget* w : std::initializer_list<QWidget*>{m_font, m_size, m_bold, m_italic, m_align, m_shrink})
        m_form->setRowVisible(w, text);
    m_form->setRowVisible(m_colour, text || outline);
    m_form->setRowVisible(m_symbology, code);
    m_form->setRowVisible(m_showText, code);
    m_form->setRowVisible(m_picture, any && kind == TDesignKind::Image);
    m_form->setRowVisible(m_line, outline);
    m_form->setRowVisible(m_filled, filled);
    m_form->setRowVisible(m_fill, filled && object.fill.has_value());
    m_form->setRowVisible(m_radius, any && kind == TDesignKind::Rect);
    m_refreshing = false;
}

void TDesignProperties::ChooseColour(bool fill) {
    if (!m_editor || m_editor->Current() < 0) return;
    const TDesignObject& o = m_editor->Design()->objects[static_cast<size_t>(m_editor->Current())];
    const QColor chosen = QColorDialog::getColor(ToQColor(fill ? o.fill.value_or(clSilver) : o.color), this,
                                                 fill ? "Fill colour" : "Colour");
    if (!chosen.isValid()) return;
    const TColor c = RGBColor(chosen.red(), chosen.green(), chosen.blue());
    Edit(fill ? "Fill colour" : "Colour", false,
         [&](TDesignObject& object) { (fill ? object.fill.emplace() : object.color) = c; });
}

void TDesignProperties::ChoosePicture() {
    if (!m_editor || m_editor->Current() < 0) return;
    const QString path =
        QFileDialog::getOpenFileName(this, "Choose Picture", {}, "Pictures (*.png *.jpg *.jpeg *.svg)");
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(this, "Choose Picture", QString("Cannot read %1.").arg(path));
        return;
    }
    const QByteArray data = file.readAll();
    try {
        TDesignPicture picture =
            PictureFromBytes(std::vector<uint8_t>(data.begin(), data.end()), PathFromQ(path));
        Edit("Picture", false, [&](TDesignObject& o) { o.picture = std::move(picture); });
    } catch (const std::exception& e) {
        QMessageBox::warning(this, "Choose Picture", QString::fromStdString(e.what()));
    }
}

} // namespace qbm
