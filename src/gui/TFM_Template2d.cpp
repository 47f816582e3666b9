#include "gui/TFM_Template2d.h"

#include "gui/GuiText.h"
#include "gui/TExportOptions.h"
#include "gui/TProblemLabel.h"
#include "output/PreviewExport.h"
#include "util/TUserPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <climits>

namespace qbm {
namespace {

QComboBox* EditableList(const TStrings& items) {
    auto* combo = new QComboBox;
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : items) combo->addItem(ToQ(item));
    return combo;
}

// The modes are a choice, not a text: nothing else can be typed.
QComboBox* FixedList(const TStrings& items) {
    auto* combo = new QComboBox;
    for (const std::string& item : items) combo->addItem(ToQ(item));
    return combo;
}

QSpinBox* Number(int min, int max) {
    auto* spin = new QSpinBox;
    spin->setRange(min, max);
    return spin;
}

void SetText(QLineEdit* edit, const std::string& text) {
    if (FromQ(edit->text()) != text) edit->setText(ToQ(text));
}

} // namespace

TFM_Template2d::TFM_Template2d(const std::string& libraryPath, TUserPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_editor(libraryPath, prompts) {
    setObjectName("FM_Template2d");
    setWindowTitle("Barcode Templates");
    setAccessibleName("Barcode Templates");
    BuildControls();
    Connect();
    m_editor.SetOnPreviewChanged([this] { RefreshPreview(); });
    Refresh();
}

QStringList TFM_Template2d::ExportFilters() {
    return PictureExportFilters("JPEG Image (*.jpg)");
}

void TFM_Template2d::BuildControls() {
    m_pages = Named(new QTabWidget, "PageControl1", "");
    m_pdfText = Named(new QPlainTextEdit, "Memo1", "Test Code");
    m_ecc = Named(EditableList(T2DTemplateEditor::EccItems()), "ECC", "ECC Level");
    m_truncated = Named(new QCheckBox("Truncated"), "chkCompact", "Truncated");
    m_barWidth =
        Named(Number(T2DTemplateEditor::kMinBarWidth, T2DTemplateEditor::kMaxBarWidth), "BW", "Bar Width");
    m_heightToWidth = Named(
        Number(T2DTemplateEditor::kMinHeightToWidth, T2DTemplateEditor::kMaxHeightToWidth), "BH", "H : W");
    m_columns = Named(Number(0, T2DTemplateEditor::kMaxColumns), "pCOL", "Columns");
    m_rows = Named(Number(0, T2DTemplateEditor::kMaxRows), "pROW", "Rows");
    m_maxiText = Named(new QLineEdit, "Edit3", "Test Code");
    m_mode = Named(FixedList(T2DTemplateEditor::ModeItems()), "MMode", "Mode");
    m_country = Named(Number(INT_MIN, INT_MAX), "CON", "Country");
    m_service = Named(Number(INT_MIN, INT_MAX), "SEV", "Service Class");
    m_postal = Named(new QLineEdit, "PST", "Postal Code");
    m_autoScale = Named(new QCheckBox("AutoScale      "), "AuotS", "AutoScale");
    m_moduleSize = Named(Number(INT_MIN, INT_MAX), "WH", "Width");
    m_preview = Named(new QLabel, "Image1", "Preview:");
    m_scroll = Named(new QScrollArea, "ScrollBox1", "Preview:");
    m_export = Named(new QPushButton("&Export"), "Button1", "Export");
    m_ok = Named(new QPushButton("&OK"), "Button2", "OK");
    m_cancel = Named(new QPushButton("&Cancel"), "Btn_Cancel", "Cancel");
    m_pdfTextProblem = new TProblemLabel("Lbl_Memo1Problem");
    m_maxiTextProblem = new TProblemLabel("Lbl_Edit3Problem");
    m_postalProblem = new TProblemLabel("Lbl_PSTProblem");
    m_countryProblem = new TProblemLabel("Lbl_CONProblem");
    m_serviceProblem = new TProblemLabel("Lbl_SEVProblem");
    m_pdfText->setTabChangesFocus(true);
    m_pdfText->setFixedHeight(70);

    auto* pdfPage = Named(new QWidget, "TS_pdf", "PDF417 Properties");
    auto* pdfForm = new QFormLayout(pdfPage);
    pdfForm->addRow("Test Code", m_pdfText);
    pdfForm->addRow("", m_pdfTextProblem);
    pdfForm->addRow("ECC Level", m_ecc);
    pdfForm->addRow("", m_truncated);
    pdfForm->addRow("Bar Width", m_barWidth);
    pdfForm->addRow("H : W", m_heightToWidth);
    pdfForm->addRow("Columns", m_columns);
    pdfForm->addRow("Rows", m_rows);
    auto* maxiPage = Named(new QWidget, "TS_max", "MaxiCode Properties");
    auto* maxiForm = new QFormLayout(maxiPage);
    maxiForm->addRow("Test Code", m_maxiText);
    maxiForm->addRow("", m_maxiTextProblem);
    maxiForm->addRow("Mode", m_mode);
    maxiForm->addRow("Country", m_country);
    maxiForm->addRow("", m_countryProblem);
    maxiForm->addRow("Service Class", m_service);
    maxiForm->addRow("", m_serviceProblem);
    maxiForm->addRow("Postal Code", m_postal);
    maxiForm->addRow("", m_postalProblem);
    maxiForm->addRow("", m_autoScale);
    maxiForm->addRow("Width", m_moduleSize);
    m_pages->addTab(pdfPage, "PDF417 Properties ");
    m_pages->addTab(maxiPage, "MaxiCode Properties");

    m_preview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scroll->setWidget(m_preview);
    m_scroll->setWidgetResizable(false);
    m_scroll->setMinimumSize(T2DTemplateEditor::kVisibleWidth + 4, T2DTemplateEditor::kVisibleHeight + 4);
    m_scroll->setBackgroundRole(QPalette::Base);
    auto* previewBox = new QVBoxLayout;
    auto* previewCaption = new QLabel("Preview:");
    previewCaption->setBuddy(m_scroll);
    previewBox->addWidget(previewCaption);
    previewBox->addWidget(m_scroll, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(m_pages);
    top->addLayout(previewBox, 1);
    auto* buttons = EditorButtonRow(m_export, m_ok);
    m_exportOptions = new TExportOptions;
    buttons->insertWidget(buttons->indexOf(m_export), m_exportOptions);
    m_exportOptions->hide();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    // Leaving any of these writes both pages into the library.
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_ecc, m_truncated, m_barWidth, m_heightToWidth, m_columns, m_rows,
                                         m_mode, m_autoScale, m_country, m_service, m_postal, m_moduleSize})
        w->installEventFilter(this);
}

void TFM_Template2d::Connect() {
    const auto guarded = [this](auto handler) {
        return [this, handler](auto... args) {
            if (m_updating) return;
            handler(args...);
            Refresh();
        };
    };
    connect(m_pages, &QTabWidget::currentChanged, this, guarded([this](int index) {
                m_editor.SetPage(index == 1 ? T2DTemplateEditor::TPage::MaxiCode
                                            : T2DTemplateEditor::TPage::Pdf417);
            }));
    connect(m_pdfText, &QPlainTextEdit::textChanged, this,
            guarded([this] { m_editor.SetPdf417Text(FromQ(m_pdfText->toPlainText())); }));
    connect(m_ecc, &QComboBox::currentTextChanged, this,
            guarded([this](const QString& t) { m_editor.SetEccText(FromQ(t)); }));
    connect(m_truncated, &QCheckBox::toggled, this, guarded([this](bool on) { m_editor.SetTruncated(on); }));
    connect(m_barWidth, &QSpinBox::valueChanged, this, guarded([this](int v) { m_editor.SetBarWidth(v); }));
    connect(m_heightToWidth, &QSpinBox::valueChanged, this,
            guarded([this](int v) { m_editor.SetHeightToWidth(v); }));
    connect(m_columns, &QSpinBox::valueChanged, this, guarded([this](int v) { m_editor.SetColumns(v); }));
    connect(m_rows, &QSpinBox::valueChanged, this, guarded([this](int v) { m_editor.SetRows(v); }));
    connect(m_maxiText, &QLineEdit::textChanged, this,
            guarded([this](const QString& t) { m_editor.SetMaxiCodeText(FromQ(t)); }));
    connect(m_mode, &QComboBox::currentIndexChanged, this, guarded([this](int index) {
                m_editor.SetModeText(index >= 0 ? FromQ(m_mode->itemText(index)) : std::string());
            }));
    connect(m_country, &QSpinBox::valueChanged, this, guarded([this](int v) { m_editor.SetCountry(v); }));
    connect(m_service, &QSpinBox::valueChanged, this,
            guarded([this](int v) { m_editor.SetServiceClass(v); }));
    connect(m_postal, &QLineEdit::textChanged, this,
            guarded([this](const QString& t) { m_editor.SetPostalCode(FromQ(t)); }));
    connect(m_autoScale, &QCheckBox::toggled, this, guarded([this](bool on) { m_editor.SetAutoScale(on); }));
    connect(m_moduleSize, &QSpinBox::valueChanged, this,
            guarded([this](int v) { m_editor.SetModuleSize(v); }));
    connect(m_export, &QPushButton::clicked, this, &TFM_Template2d::Export);
    connect(m_ok, &QPushButton::clicked, this, &TFM_Template2d::Accept);
    connect(m_cancel, &QPushButton::clicked, this, &TFM_Template2d::reject);
}

void TFM_Template2d::Refresh() {
    m_updating = true;
    m_pages->setCurrentIndex(m_editor.Page() == T2DTemplateEditor::TPage::MaxiCode ? 1 : 0);
    if (FromQ(m_pdfText->toPlainText()) != m_editor.Pdf417Text())
        m_pdfText->setPlainText(ToQ(m_editor.Pdf417Text()));
    if (FromQ(m_ecc->currentText()) != m_editor.EccText()) m_ecc->setCurrentText(ToQ(m_editor.EccText()));
    m_truncated->setChecked(m_editor.Truncated());
    m_barWidth->setValue(m_editor.BarWidth());
    m_heightToWidth->setValue(m_editor.HeightToWidth());
    m_columns->setValue(m_editor.Columns());
    m_rows->setValue(m_editor.Rows());
    SetText(m_maxiText, m_editor.MaxiCodeText());
    m_mode->setCurrentIndex(m_editor.ModeIndex());
    m_country->setValue(m_editor.Country());
    m_service->setValue(m_editor.ServiceClass());
    SetText(m_postal, m_editor.PostalCode());
    m_autoScale->setChecked(m_editor.AutoScale());
    m_moduleSize->setValue(m_editor.ModuleSize());
    m_updating = false;
    RefreshPreview();
}

void TFM_Template2d::RefreshPreview() {
    const QImage image = ToQImage(m_editor.Preview());
    m_preview->setPixmap(QPixmap::fromImage(image));
    m_preview->resize(image.size());
    m_preview->setToolTip(ToQ(m_editor.PreviewError()));
    ShowProblem();
}

void TFM_Template2d::ShowProblem() {
    using F = T2DTemplateEditor::TProblemField;
    const std::string& text = m_editor.PreviewError();
    const F field = m_editor.PreviewErrorField();
    const bool maxi = m_editor.Page() == T2DTemplateEditor::TPage::MaxiCode;
    const auto when = [&text](bool shown) { return shown ? text : std::string(); };
    m_pdfTextProblem->ShowProblem(when(!maxi && field != F::None));
    m_maxiTextProblem->ShowProblem(when(maxi && (field == F::TestText || field == F::Settings)));
    m_postalProblem->ShowProblem(when(maxi && field == F::PostalCode));
    m_countryProblem->ShowProblem(when(maxi && field == F::Country));
    m_serviceProblem->ShowProblem(when(maxi && field == F::ServiceClass));
}

void TFM_Template2d::OpenOnPage(T2DTemplateEditor::TPage page, const std::string& testText,
                                const T2DSettings& settings) {
    m_editor.PrepareOpening(page, testText, settings);
    Refresh();
}

void TFM_Template2d::OpenOnPage(T2DTemplateEditor::TPage page, const std::string& testText) {
    m_editor.PrepareOpening(page, testText);
    Refresh();
}

void TFM_Template2d::ShowExportButton() {
    m_export->show();
    m_exportOptions->show();
}

void TFM_Template2d::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    m_editor.SetVisibleArea(m_scroll->viewport()->width(), m_scroll->viewport()->height());
    m_editor.Show();
    Refresh();
}

void TFM_Template2d::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    m_editor.SetVisibleArea(m_scroll->viewport()->width(), m_scroll->viewport()->height());
}

void TFM_Template2d::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        m_export->hide();
        m_exportOptions->hide();
    }
}

bool TFM_Template2d::eventFilter(QObject* watched, QEvent* event) {
    if (LeavesField(event) && !m_updating) m_editor.Save2DSettings();
    return QDialog::eventFilter(watched, event);
}

void TFM_Template2d::Export() {
    ExportPreview(this, m_chooseSavePath, ExportFilters(), m_prompts, [this](const std::string& path) {
        Export2DPreview(m_editor, path, m_exportOptions->Choice());
    });
}

void TFM_Template2d::Accept() {
    if (m_editor.Ok()) accept();
    Refresh();
}

void TFM_Template2d::reject() {
    m_editor.Cancel();
    Refresh();
    QDialog::reject();
}

} // namespace qbm
