#include "gui/TCalibrationDialog.h"

#include "gui/GuiText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace qbm {
namespace {

// The store refuses corrections beyond these; the fields do not offer them.
constexpr double kMaxOffsetMm = 50;
constexpr double kMinScale = 0.9, kMaxScale = 1.1;

QDoubleSpinBox* Spin(QWidget* parent, const char* name, const QString& caption, double low, double high,
                     int decimals, double step) {
    auto* spin = Named(new QDoubleSpinBox(parent), name, caption);
    spin->setDecimals(decimals);
    spin->setRange(low, high);
    spin->setSingleStep(step);
    return spin;
}

} // namespace

TCalibrationDialog::TCalibrationDialog(std::vector<std::string> printers, const std::string& current,
                                       TCalibrationStore store, std::function<void()> printSheet,
                                       QWidget* parent)
    : QDialog(parent), m_store(std::move(store)) {
    Named(this, "TFM_Calibration", "Printer Calibration");
    setWindowTitle("Printer Calibration");
    // No printer chosen yet (no default printer on the system): the first one with saved values, else
    // the first one, never an empty box showing no correction.
    std::string chosen = current;
    if (chosen.empty()) {
        const auto saved = std::find_if(printers.begin(), printers.end(), [this](const std::string& name) {
            return !(m_store.Load(name) == TPrinterCalibration{});
        });
        chosen = saved != printers.end() ? *saved : printers.empty() ? std::string("PDF") : printers.front();
    }
    if (std::find(printers.begin(), printers.end(), chosen) == printers.end())
        printers.insert(printers.begin(), chosen);

    m_printer = Named(new QComboBox(this), "Cmb_CalibrationPrinter", "Printer");
    for (const std::string& name : printers) m_printer->addItem(QString::fromStdString(name));
    m_printer->setCurrentText(QString::fromStdString(chosen));
    m_offsetX = Spin(this, "Edt_OffsetX", "Offset X", -kMaxOffsetMm, kMaxOffsetMm, 2, 0.1);
    m_offsetY = Spin(this, "Edt_OffsetY", "Offset Y", -kMaxOffsetMm, kMaxOffsetMm, 2, 0.1);
    m_scaleX = Spin(this, "Edt_ScaleX", "Scale X", kMinScale, kMaxScale, 4, 0.001);
    m_scaleY = Spin(this, "Edt_ScaleY", "Scale Y", kMinScale, kMaxScale, 4, 0.001);
    for (QDoubleSpinBox* offset : {m_offsetX, m_offsetY}) offset->setSuffix(" mm");

    auto* hint =
        Named(new QLabel("Print the calibration sheet and hold it against a sheet of labels. Enter how "
                         "far the crosses must move to sit in the labels' centres (right and down are "
                         "positive), and how much positions must stretch (1.0100 makes them 1 % longer). "
                         "Every run on this printer follows; the preview does not.",
                         this),
              "Lbl_CalibrationHint");
    hint->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Named(buttons->button(QDialogButtonBox::Ok), "Btn_OK", "OK");
    Named(buttons->button(QDialogButtonBox::Cancel), "Btn_Cancel", "Cancel");
    auto* sheet = Named(buttons->addButton("&Print Calibration Sheet ...", QDialogButtonBox::ActionRole),
                        "Btn_PrintCalibrationSheet", "Print Calibration Sheet");
    auto* reset =
        Named(buttons->addButton("&Reset", QDialogButtonBox::ResetRole), "Btn_ResetCalibration", "Reset");
    connect(sheet, &QPushButton::clicked, this, [printSheet = std::move(printSheet)] {
        if (printSheet) printSheet();
    });
    connect(reset, &QPushButton::clicked, this, [this] { Show({}); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Another printer shows its own saved values; what was typed for the previous one is dropped.
    connect(m_printer, &QComboBox::currentTextChanged, this, [this] { Show(m_store.Load(Printer())); });

    auto* form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    const auto row = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row("&Printer:", m_printer);
    form->addRow(hint);
    row("Offset &X (right):", m_offsetX);
    row("Offset &Y (down):", m_offsetY);
    row("&Scale X:", m_scaleX);
    row("Sc&ale Y:", m_scaleY);
    form->addRow(buttons);
    hint->setMinimumWidth(420);
    Show(m_store.Load(Printer()));
}

std::string TCalibrationDialog::Printer() const {
    return m_printer->currentText().toStdString();
}

void TCalibrationDialog::Show(const TPrinterCalibration& c) {
    m_offsetX->setValue(c.offsetX);
    m_offsetY->setValue(c.offsetY);
    m_scaleX->setValue(c.scaleX);
    m_scaleY->setValue(c.scaleY);
}

TPrinterCalibration TCalibrationDialog::Values() const {
    return {m_offsetX->value(), m_offsetY->value(), m_scaleX->value(), m_scaleY->value()};
}

void TCalibrationDialog::accept() {
    try {
        m_store.Save(Printer(), Values());
    } catch (const std::exception& e) {
        QMessageBox::warning(this, windowTitle(), QString::fromLocal8Bit(e.what()));
        return;
    }
    QDialog::accept();
}

} // namespace qbm
