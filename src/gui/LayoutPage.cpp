#include "gui/LayoutPage.h"

#include "app/TLabelDocument.h"
#include "gui/GuiText.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qbm {

namespace {

struct MarginControl {
    TMarginSide side;
    const char* name;
    const char* caption;
};
constexpr MarginControl kMargins[] = {
    {TMarginSide::msLeft, "Edt_ML", "&Left: "},
    {TMarginSide::msRight, "Edt_MR", "&Right: "},
    {TMarginSide::msTop, "Edt_MT", "&Top: "},
    {TMarginSide::msBottom, "Edt_MB", "&Bottom: "},
};

QSpinBox* AddSpin(QFormLayout* form, QWidget* parent, const char* name, const char* caption, int min,
                  int max) {
    auto* spin = Named(new QSpinBox(parent), name, caption);
    spin->setRange(min, max);
    auto* label = new QLabel(caption, parent);
    label->setBuddy(spin);
    form->addRow(label, spin);
    return spin;
}

void SetValue(QSpinBox* spin, int value) {
    if (spin->value() == value) return;
    const QSignalBlocker block(spin);
    spin->setValue(value);
}

} // namespace

LayoutPage::LayoutPage(QWidget* parent) : QWidget(parent) {
    Named(this, "TS_Pnt", "Print Layout");

    auto* arrange = Named(new QGroupBox("Output Arrange", this), "GB_Arrange", "Output Arrange");
    auto* arrangeForm = new QFormLayout;
    m_rows = AddSpin(arrangeForm, arrange, "Edt_Lin", "Ro&w:", TLabelProject::kMinLinage,
                     TLabelProject::kMaxLinage);
    m_columns = AddSpin(arrangeForm, arrange, "Edt_Col", "Colu&mn:", TLabelProject::kMinColumn,
                        TLabelProject::kMaxColumn);
    m_splitMarks = Named(new QCheckBox("Print &split mark", arrange), "CB_SM", "Print split mark");
    auto* arrangeLayout = new QVBoxLayout(arrange);
    arrangeLayout->addLayout(arrangeForm);
    arrangeLayout->addWidget(m_splitMarks);

    auto* margins = Named(new QGroupBox("Margin  (Unit: mm)", this), "GB_Margin", "Margin  (Unit: mm)");
    auto* marginForm = new QFormLayout(margins);
    for (size_t i = 0; i < std::size(kMargins); ++i)
        m_margins[i] = AddSpin(marginForm, margins, kMargins[i].name, kMargins[i].caption,
                               TLabelProject::kMinMargin, TLabelProject::kMaxMargin);

    m_printer =
        Named(new QPushButton("Printer Settin&g ...", this), "Btn_PrinterSetting", "Printer Setting ...");
    m_stock = Named(new QPushButton("Label St&ock ...", this), "Btn_LabelStock", "Label Stock ...");
    m_stockName = Named(new QLabel(this), "Lbl_Stock", "Label stock");
    m_stockName->setWordWrap(true);
    m_fit = Named(new QPushButton("F&it to Label", this), "Btn_FitToLabel", "Fit to label");
    m_fit->setToolTip("Lower the bar height and narrow the modules until the labels fit their cells");
    // The layout's warning stays beside the settings, in red, for as long as it holds.
    m_warning = Named(new QLabel(this), "Lbl_LayoutWarning", "Layout warning");
    m_warning->setWordWrap(true);
    QPalette red = m_warning->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_warning->setPalette(red);
    m_warning->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(arrange);
    layout->addWidget(margins);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_printer);
    buttons->addWidget(m_stock);
    buttons->addWidget(m_fit);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addWidget(m_stockName);
    layout->addWidget(m_warning);
    layout->addStretch(1);

    connect(m_printer, &QPushButton::clicked, this, &LayoutPage::printerSetupRequested);
    connect(m_stock, &QPushButton::clicked, this, &LayoutPage::labelStockRequested);
}

QSpinBox* LayoutPage::Margin(TMarginSide side) const {
    for (size_t i = 0; i < std::size(kMargins); ++i)
        if (kMargins[i].side == side) return m_margins[i];
    return nullptr;
}

void LayoutPage::SetDocument(TLabelDocument* doc) {
    if (m_doc) disconnect(m_doc, nullptr, this, nullptr);
    m_doc = doc;
    if (!doc) return;
    connect(m_rows, &QSpinBox::valueChanged, doc, [doc](int v) { doc->SetLinage(v); });
    connect(m_columns, &QSpinBox::valueChanged, doc, [doc](int v) { doc->SetColumn(v); });
    for (size_t i = 0; i < std::size(kMargins); ++i) {
        const TMarginSide side = kMargins[i].side;
        connect(m_margins[i], &QSpinBox::valueChanged, doc, [doc, side](int v) { doc->SetMargin(side, v); });
    }
    connect(m_splitMarks, &QCheckBox::clicked, doc, [doc](bool on) { doc->SetSplitMarks(on); });
    connect(doc, &TLabelDocument::projectChanged, this, &LayoutPage::RefreshValues);
    connect(doc, &TLabelDocument::layoutWarningChanged, this, &LayoutPage::RefreshWarning);
    connect(m_fit, &QPushButton::clicked, doc, [doc] { doc->FitToLabel(); });
    RefreshValues();
    RefreshWarning();
}

void LayoutPage::RefreshWarning() {
    const QString text = ToQ(m_doc->LayoutWarning());
    m_warning->setText(text);
    m_warning->setAccessibleDescription(text);
    m_warning->setVisible(!text.isEmpty());
}

void LayoutPage::RefreshValues() {
    const TLabelProject& p = m_doc->Project();
    SetValue(m_rows, p.Linage());
    SetValue(m_columns, p.Column());
    SetValue(Margin(TMarginSide::msLeft), p.MarginLeft());
    SetValue(Margin(TMarginSide::msRight), p.MarginRight());
    SetValue(Margin(TMarginSide::msTop), p.MarginTop());
    SetValue(Margin(TMarginSide::msBottom), p.MarginBottom());
    m_splitMarks->setChecked(p.SplitMarks());
    // The margins shown are whole millimetres; the stock's own, to a hundredth, are named here.
    if (const auto& stock = p.Stock())
        m_stockName->setText(QString("Label stock: %1 (margins %2, %3, %4, %5 mm)")
                                 .arg(QString::fromStdString(stock->Name()))
                                 .arg(stock->marginLeft / 100.0, 0, 'f', 2)
                                 .arg(stock->marginRight / 100.0, 0, 'f', 2)
                                 .arg(stock->marginTop / 100.0, 0, 'f', 2)
                                 .arg(stock->marginBottom / 100.0, 0, 'f', 2));
    else
        m_stockName->setText("Label stock: none");
}

} // namespace qbm
