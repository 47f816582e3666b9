#include "gui/TFM_Template.h"

#include "barcode/EBarcodeError.h"
#include "gui/GuiText.h"
#include "gui/TExportOptions.h"
#include "gui/TProblemLabel.h"
#include "output/PreviewExport.h"
#include "templates/TemplatePreview.h"
#include "util/Errors.h"
#include "util/TUserPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace qbm {
namespace {

QLabel* Caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QComboBox* FixedList(const TStrings& items) {
    auto* combo = new QComboBox;
    for (const std::string& item : items) combo->addItem(ToQ(item));
    return combo;
}

} // namespace

TFM_Template::TFM_Template(const std::string& libraryPath, TUserPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_editor(libraryPath, prompts) {
    setObjectName("FM_Template");
    setWindowTitle("Barcode Templates");
    setAccessibleName("Barcode Templates");
    m_editor.SetPrinterResolution(EditorPrinterResolution());
    BuildControls();
    Connect();
    m_editor.SetOnPreviewChanged([this] { RefreshPreview(); });
    Refresh();
}

QStringList TFM_Template::ExportFilters() {
    return PictureExportFilters("Bitmaps (*.bmp)");
}

void TFM_Template::BuildControls() {
    m_list = Named(new QListWidget, "ListBox1", "Names:");
    m_addNew = Named(new QPushButton("Add New"), "SpeedButton1", "Add New");
    m_delete = Named(new QPushButton("Delete"), "Sbt_import", "Delete");
    m_testCode = Named(new QLineEdit, "Edit1", "Test Code:");
    m_codeFont = Named(new QToolButton, "SBtn_CodeFont", "Code Font ...");
    m_textLayout = Named(FixedList(TTemplateEditor::TextLayoutItems()), "ComboBox3", "Code Align:");
    m_testCaption = Named(new QLineEdit, "Edt_ExtCaption", "Test ExtCap:");
    m_captionFont = Named(new QToolButton, "SBtn_CapFont", "ExtCap Font ...");
    m_captionPosition =
        Named(FixedList(TTemplateEditor::CaptionPositionItems()), "CBX_ExtCapPos", "ExtCap Aliogn:");
    m_format = Named(FixedList(TTemplateEditor::FormatItems()), "ComboBox1", "Format:");
    m_height = Named(new QSpinBox, "SpinEdit2", "Height:");
    m_checkSum = Named(new QCheckBox("CheckSum"), "CBCheckSum", "CheckSum");
    m_barWidth = Named(new QSpinBox, "SpinEdit1", "Bar Width:");
    m_preview = Named(new QLabel, "Image1", "Preview:");
    m_export = Named(new QPushButton("&Export"), "Button1", "Export");
    m_ok = Named(new QPushButton("&OK"), "Button2", "OK");
    m_cancel = Named(new QPushButton("Cancel"), "Btn_Cancel", "Cancel");
    m_cancel->setToolTip("Discard the changes made since the templates were opened (Esc)");

    for (QToolButton* button : {m_codeFont, m_captionFont}) {
        button->setText("F");
        QFont font = button->font();
        font.setBold(true);
        font.setItalic(true);
        button->setFont(font);
    }
    m_codeFont->setToolTip("Font of the code text");
    m_captionFont->setToolTip("Font of the extended caption");
    for (QSpinBox* spin : {m_height, m_barWidth})
        spin->setRange(TTemplateEditor::kMinSize, TTemplateEditor::kMaxSize);
    m_height->setSuffix(" mm");
    m_barWidth->setSuffix(" 1% mm");
    m_barWidth->setToolTip("Width of the narrow bar in hundredths of a millimetre");
    m_preview->setFixedSize(kTemplatePreviewWidth, kTemplatePreviewHeight);
    m_preview->setFrameShape(QFrame::NoFrame);

    auto* names = new QVBoxLayout;
    names->addWidget(Caption("Names:", m_list));
    names->addWidget(m_list, 1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(m_addNew);
    listButtons->addWidget(m_delete);
    names->addLayout(listButtons);

    auto* group = Named(new QGroupBox("Template Properties "), "GroupBox1", "Template Properties");
    auto* grid = new QGridLayout(group);
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* field, QWidget* extra = nullptr) {
        grid->addWidget(Caption(caption, field), row, 0);
        grid->addWidget(field, row, 1);
        if (extra) grid->addWidget(extra, row, 2);
        ++row;
    };
    addRow("Test Code:", m_testCode, m_codeFont);
    m_codeProblem = new TProblemLabel("Lbl_TestCodeProblem");
    grid->addWidget(m_codeProblem, row++, 1, 1, 2);
    addRow("Code Align:", m_textLayout);
    addRow("Test ExtCap:", m_testCaption, m_captionFont);
    addRow("ExtCap Aliogn:", m_captionPosition);
    addRow("Format:", m_format);
    addRow("Height:", m_height, m_checkSum);
    addRow("Bar Width:", m_barWidth);
    grid->setColumnStretch(1, 1);

    auto* previewBox = new QVBoxLayout;
    previewBox->addWidget(Caption("Preview:", m_preview));
    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::StyledPanel);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(1, 1, 1, 1);
    frameLayout->addWidget(m_preview);
    previewBox->addWidget(frame);
    previewBox->addStretch();

    auto* buttons = EditorButtonRow(m_export, m_ok);
    m_exportOptions = new TExportOptions;
    buttons->insertWidget(buttons->indexOf(m_export), m_exportOptions);
    m_exportOptions->hide();
    buttons->addWidget(m_cancel);

    auto* top = new QHBoxLayout;
    top->addLayout(names);
    top->addWidget(group, 1);
    top->addLayout(previewBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    // Leaving any of these writes the template.
    for (QWidget* w : std::initializer_list<QWidget*>{m_testCode, m_testCaption, m_format, m_textLayout,
                                                      m_captionPosition, m_height, m_barWidth, m_checkSum})
        w->installEventFilter(this);
}

void TFM_Template::Connect() {
    const auto guarded = [this](auto handler) {
        return [this, handler](auto... args) {
            if (m_updating) return;
            handler(args...);
            Refresh();
        };
    };
    connect(m_list, &QListWidget::currentRowChanged, this,
            guarded([this](int row) { m_editor.SelectTemplate(row); }));
    connect(m_testCode, &QLineEdit::textChanged, this,
            guarded([this](const QString& text) { m_editor.SetTestCode(FromQ(text)); }));
    connect(m_testCaption, &QLineEdit::textChanged, this,
            guarded([this](const QString& text) { m_editor.SetTestCaption(Utf8FromQ(text)); }));
    connect(m_captionPosition, &QComboBox::currentIndexChanged, this,
            guarded([this](int index) { m_editor.SetCaptionPosition(index); }));
    connect(m_format, &QComboBox::currentIndexChanged, this,
            guarded([this](int index) { m_editor.SetFormatIndex(index); }));
    connect(m_textLayout, &QComboBox::currentIndexChanged, this,
            guarded([this](int index) { m_editor.SetTextLayout(index); }));
    connect(m_height, &QSpinBox::valueChanged, this,
            guarded([this](int value) { m_editor.SetBarHeight(value); }));
    connect(m_barWidth, &QSpinBox::valueChanged, this,
            guarded([this](int value) { m_editor.SetBarWidth(value); }));
    connect(m_checkSum, &QCheckBox::toggled, this,
            guarded([this](bool checked) { m_editor.SetCheckSum(checked); }));
    connect(m_codeFont, &QToolButton::clicked, this, [this] { ChooseFont(true); });
    connect(m_captionFont, &QToolButton::clicked, this, [this] { ChooseFont(false); });
    connect(m_addNew, &QPushButton::clicked, this, guarded([this](bool) { m_editor.AddNew(); }));
    connect(m_delete, &QPushButton::clicked, this, guarded([this](bool) { m_editor.Delete(); }));
    connect(m_export, &QPushButton::clicked, this, &TFM_Template::Export);
    connect(m_ok, &QPushButton::clicked, this, &TFM_Template::Accept);
    connect(m_cancel, &QPushButton::clicked, this, &TFM_Template::reject);
}

void TFM_Template::Refresh() {
    m_updating = true;
    QStringList names;
    for (const std::string& name : m_editor.Names()) names << ToQ(name);
    QStringList shown;
    for (int i = 0; i < m_list->count(); ++i) shown << m_list->item(i)->text();
    if (names != shown) {
        m_list->clear();
        m_list->addItems(names);
    }
    m_list->setCurrentRow(m_editor.Selected());
    if (FromQ(m_testCode->text()) != m_editor.TestCode()) m_testCode->setText(ToQ(m_editor.TestCode()));
    if (Utf8FromQ(m_testCaption->text()) != m_editor.TestCaption())
        m_testCaption->setText(Utf8ToQ(m_editor.TestCaption()));
    m_format->setCurrentIndex(m_editor.FormatIndex());
    m_textLayout->setCurrentIndex(m_editor.TextLayout());
    m_captionPosition->setCurrentIndex(m_editor.CaptionPosition());
    m_height->setValue(m_editor.BarHeight());
    m_barWidth->setValue(m_editor.BarWidth());
    m_checkSum->setChecked(m_editor.CheckSum());
    m_updating = false;
    RefreshPreview();
}

void TFM_Template::RefreshPreview() {
    m_preview->setPixmap(QPixmap::fromImage(ToQImage(m_editor.Preview())));
    m_preview->setToolTip(ToQ(m_editor.PreviewError()));
    m_codeProblem->ShowProblem(m_editor.PreviewError());
}

void TFM_Template::ShowExportButton() {
    m_export->show();
    m_exportOptions->show();
}

void TFM_Template::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    m_editor.Show();
    Refresh();
}

void TFM_Template::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        m_export->hide();
        m_exportOptions->hide();
    }
}

bool TFM_Template::eventFilter(QObject* watched, QEvent* event) {
    if (LeavesField(event) && !m_updating) m_editor.SaveTemplate();
    return QDialog::eventFilter(watched, event);
}

void TFM_Template::ChooseFont(bool codeFont) {
    const TFont& current = codeFont ? m_editor.CodeFont() : m_editor.CaptionFont();
    const auto chosen = m_chooseFont(this, FontForDialog(current), codeFont ? "Code Font" : "ExtCap Font");
    if (!chosen) return;
    if (codeFont)
        m_editor.ChooseCodeFont(FontFromDialog(*chosen, current));
    else
        m_editor.ChooseCaptionFont(FontFromDialog(*chosen, current));
    Refresh();
}

void TFM_Template::Export() {
    ExportPreview(this, m_chooseSavePath, ExportFilters(), m_prompts, [this](const std::string& path) {
        ExportTemplatePreview(m_editor, path, m_exportOptions->Choice());
    });
}

void TFM_Template::Accept() {
    if (m_editor.Ok()) accept();
}

void TFM_Template::reject() {
    // Esc and the window's close button cancel too; a library that cannot be put back keeps the
    // editor open with its message shown.
    m_updating = true; // leaving a field while closing must not write it again
    const bool restored = m_editor.Cancel();
    m_updating = false;
    if (restored) QDialog::reject();
}

} // namespace qbm
