#include "gui/LinearCodePage.h"

#include "app/TLabelDocument.h"
#include "gui/GuiText.h"
#include "gui/TProblemLabel.h"
#include "project/ControlCharMenu.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qbm {

namespace {

QLabel* Buddy(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    control->setAccessibleName(CaptionName(label->text()));
    return label;
}

// The list's entries as the document has them; the selection and the view stay when nothing changed.
// Template names are the library's Latin-1 text, data fields the datasheet's UTF-8 (`utf8`).
void SetItems(QComboBox* box, const std::vector<std::string>& items, int selected, bool utf8 = false) {
    const QSignalBlocker block(box);
    const auto text = [utf8](const std::string& item) { return utf8 ? Utf8ToQ(item) : ToQ(item); };
    bool same = box->count() == static_cast<int>(items.size());
    for (int i = 0; same && i < box->count(); ++i)
        same = box->itemText(i) == text(items[static_cast<size_t>(i)]);
    if (!same) {
        box->clear();
        for (const auto& item : items) box->addItem(text(item));
    }
    box->setCurrentIndex(selected < box->count() ? selected : -1);
}

void SetText(QLineEdit* edit, const QString& value) {
    if (edit->text() == value) return; // keeps the caret while typing
    const QSignalBlocker block(edit);
    edit->setText(value);
}

} // namespace

LinearCodePage::LinearCodePage(QWidget* parent) : QWidget(parent) {
    Named(this, "TB_Code", "1D Barcode ");

    auto* templateBox = new QGroupBox("Barcode Template", this);
    templateBox->setAccessibleName("Barcode Template");
    m_templates = Named(new QComboBox(templateBox), "ComboBox1", "Barcode Template");
    m_modify = Named(new QPushButton("Modify  Templates Properties ", templateBox), "Btn_ModifyTemplate",
                     "Modify  Templates Properties ");
    auto* templateLayout = new QVBoxLayout(templateBox);
    templateLayout->addWidget(m_templates);
    templateLayout->addWidget(m_modify);

    auto* constantBox = new QGroupBox(this);
    m_constant = Named(new QRadioButton("Constant Code Value: ", constantBox), "RadioButton1",
                       "Constant Code Value: ");
    m_fixedCode = Named(new QLineEdit(constantBox), "Edt_singletxt");
    m_codeLabel = Buddy(Named(new QLabel("Co&de:", constantBox), "Lb_Code"), m_fixedCode);
    m_extCaption = Named(new QLineEdit(constantBox), "Edt_ExtCaption");
    m_captionLabel =
        Buddy(Named(new QLabel("E&xtended Caption:", constantBox), "Lb_ExtCaption"), m_extCaption);
    m_amount = Named(new QSpinBox(constantBox), "Edt_Amount");
    m_amount->setRange(TLabelProject::kMinAmount, TLabelProject::kMaxAmount);
    m_amountTitle = Buddy(Named(new QLabel("&Amount:", constantBox), "Lb_AmountTitle"), m_amount);
    auto* constantForm = new QFormLayout;
    constantForm->addRow(m_codeLabel, m_fixedCode);
    m_codeProblem = new TProblemLabel("Lbl_CodeProblem", constantBox);
    constantForm->addRow("", m_codeProblem);
    constantForm->addRow(m_captionLabel, m_extCaption);
    constantForm->addRow(m_amountTitle, m_amount);
    auto* constantLayout = new QVBoxLayout(constantBox);
    constantLayout->addWidget(m_constant);
    constantLayout->addLayout(constantForm);

    auto* datasheetBox = new QGroupBox(this);
    m_datasheet = Named(new QRadioButton("Code Value From DataSheet: ", datasheetBox), "RadioButton2",
                        "Code Value From DataSheet: ");
    m_codeField = Named(new QComboBox(datasheetBox), "CBX_BarcodeValue");
    m_codeFieldLabel = Buddy(Named(new QLabel("Bar Code:", datasheetBox), "Lb_BarcodeValue"), m_codeField);
    m_codeFieldData = Named(new QPushButton("Datasheet ...", datasheetBox), "Btn_CodeData", "Datasheet ...");
    m_capField = Named(new QComboBox(datasheetBox), "CBX_ExtCaptionValue");
    m_capFieldLabel =
        Buddy(Named(new QLabel("Extended Caption", datasheetBox), "Lb_ExtCaptionValue"), m_capField);
    m_capFieldData = Named(new QPushButton("Datasheet ...", datasheetBox), "Btn_CapData", "Datasheet ...");
    // Both buttons read the same; screen readers tell them apart by the field beside them.
    m_codeFieldData->setAccessibleDescription("Datasheet of the bar code field");
    m_capFieldData->setAccessibleDescription("Datasheet of the extended caption field");
    // Wide enough for the placeholder and the usual column names; longer names widen the list.
    for (QComboBox* box : {m_codeField, m_capField}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        box->setMinimumContentsLength(static_cast<int>(kFieldPlaceholderLoaded.size()));
    }
    auto* datasheetGrid = new QGridLayout;
    datasheetGrid->addWidget(m_codeFieldLabel, 0, 0);
    datasheetGrid->addWidget(m_codeField, 0, 1);
    datasheetGrid->addWidget(m_codeFieldData, 0, 2);
    datasheetGrid->addWidget(m_capFieldLabel, 1, 0);
    datasheetGrid->addWidget(m_capField, 1, 1);
    datasheetGrid->addWidget(m_capFieldData, 1, 2);
    datasheetGrid->setColumnStretch(1, 1);
    auto* datasheetLayout = new QVBoxLayout(datasheetBox);
    datasheetLayout->addWidget(m_datasheet);
    datasheetLayout->addLayout(datasheetGrid);

    // Filled by the code list commands; the page count of the datasheet source does not read it.
    m_amountLabel = Named(new QLabel(this), "Lb_Amount");
    m_amountLabel->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(templateBox);
    layout->addWidget(constantBox);
    layout->addWidget(datasheetBox);
    layout->addStretch(1);

    m_controlChars = Named(new QMenu(this), "PopupMenu_ControlChar", ToQ(kControlCharMenuTitle));
    m_fixedCode->installEventFilter(this);
    m_fixedCode->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_fixedCode, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (!m_controlChars->isEmpty()) m_controlChars->popup(m_fixedCode->mapToGlobal(pos));
    });

    connect(m_modify, &QPushButton::clicked, this, &LinearCodePage::modifyTemplateRequested);
    connect(m_codeFieldData, &QPushButton::clicked, this, &LinearCodePage::datasheetRequested);
    connect(m_capFieldData, &QPushButton::clicked, this, &LinearCodePage::datasheetRequested);
    UpdateEnabled();
}

void LinearCodePage::SetDocument(TLabelDocument* doc) {
    if (m_doc) disconnect(m_doc, nullptr, this, nullptr);
    m_doc = doc;
    if (!doc) return;
    // Choosing the same template again applies it again, as a click in the list always did.
    connect(m_templates, &QComboBox::activated, doc, [doc](int index) { doc->SelectTemplate(index); });
    connect(m_constant, &QRadioButton::clicked, doc,
            [doc] { doc->SetLinearSource(TLinearSource::lsConstant); });
    connect(m_datasheet, &QRadioButton::clicked, doc,
            [doc] { doc->SetLinearSource(TLinearSource::lsDatasheet); });
    connect(m_fixedCode, &QLineEdit::textEdited, doc,
            [doc](const QString& t) { doc->SetTypedFixedCode(Utf8FromQ(t)); });
    connect(m_extCaption, &QLineEdit::textEdited, doc,
            [doc](const QString& t) { doc->SetExtCaption(Utf8FromQ(t)); });
    connect(m_amount, &QSpinBox::valueChanged, doc, [doc](int v) { doc->SetFixedCodeAmount(v); });
    connect(m_codeField, &QComboBox::activated, doc, [doc](int i) { doc->SetCodeField(i); });
    connect(m_capField, &QComboBox::activated, doc, [doc](int i) { doc->SetCapField(i); });

    connect(doc, &TLabelDocument::templateListChanged, this, &LinearCodePage::RefreshTemplates);
    connect(doc, &TLabelDocument::fieldListChanged, this, &LinearCodePage::RefreshFields);
    connect(doc, &TLabelDocument::projectChanged, this, [this] {
        RefreshTemplates();
        RefreshFields();
        RefreshValues();
    });
    connect(doc, &TLabelDocument::amountLabelChanged, this,
            [this] { m_amountLabel->setText(ToQ(m_doc->AmountLabel2D())); });
    const auto showProblem = [this] {
        m_codeProblem->ShowProblem(m_doc->Kind() == TBarcodeKind::bkLinear ? m_doc->InputProblem() : "");
    };
    connect(doc, &TLabelDocument::inputProblemChanged, this, showProblem);
    connect(doc, &TLabelDocument::kindChanged, this, showProblem);
    showProblem();
    RefreshTemplates();
    RefreshFields();
    RefreshValues();
}

void LinearCodePage::RefreshTemplates() {
    SetItems(m_templates, m_doc->TemplateNames(), m_doc->SelectedTemplate());
}

void LinearCodePage::RefreshFields() {
    const TLabelProject& p = m_doc->Project();
    SetItems(m_codeField, p.FieldList(), p.CodeField(), true);
    SetItems(m_capField, p.FieldList(), p.CapField(), true);
}

void LinearCodePage::RefreshValues() {
    const TLabelProject& p = m_doc->Project();
    SetText(m_fixedCode, ToQ(p.FixedCode()));
    SetText(m_extCaption, Utf8ToQ(p.ExtCaption())); // captions are for people: any script
    if (m_amount->value() != p.FixedCodeAmount()) {
        const QSignalBlocker block(m_amount);
        m_amount->setValue(p.FixedCodeAmount());
    }
    const bool datasheet = p.LinearSource() == TLinearSource::lsDatasheet;
    m_constant->setChecked(!datasheet);
    m_datasheet->setChecked(datasheet);
    UpdateEnabled();
    AttachControlCharMenu();
}

void LinearCodePage::UpdateEnabled() {
    const bool datasheet = m_datasheet->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{m_codeFieldLabel, m_codeField, m_codeFieldData,
                                                      m_capFieldLabel, m_capField, m_capFieldData})
        w->setEnabled(datasheet);
    for (QWidget* w : std::initializer_list<QWidget*>{m_codeLabel, m_fixedCode, m_captionLabel, m_extCaption,
                                                      m_amountTitle, m_amount})
        w->setEnabled(!datasheet);
}

// The menu follows the symbology of the template in use; it is rebuilt whenever the field is
// entered, since the template may have changed in between.
void LinearCodePage::AttachControlCharMenu() {
    m_controlChars->clear();
    if (!m_doc) return;
    const TControlCharMenu menu = m_doc->ControlCharMenu();
    m_fixedCode->setToolTip(menu.attached ? ToQ(menu.hint) : QString());
    if (!menu.attached) return;
    QAction* title = m_controlChars->addAction(ToQ(kControlCharMenuTitle));
    title->setEnabled(false);
    m_controlChars->addSeparator();
    auto addEntry = [this](QMenu* into, const TControlCharEntry& entry) {
        QAction* action = into->addAction(ToQ(entry.caption));
        connect(action, &QAction::triggered, this, [this, &entry] {
            m_doc->InsertControlChar(entry);
            m_fixedCode->setFocus();
            m_fixedCode->end(false);
        });
    };
    if (menu.showSubmenus) {
        for (const TControlCharSubmenu& sub : ControlCharSubmenus()) {
            QMenu* subMenu = m_controlChars->addMenu(ToQ(sub.caption));
            for (const TControlCharEntry& entry : sub.entries) addEntry(subMenu, entry);
        }
    }
    if (menu.showDel) addEntry(m_controlChars, ControlCharDel());
}

bool LinearCodePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_fixedCode && event->type() == QEvent::FocusIn) AttachControlCharMenu();
    return QWidget::eventFilter(watched, event);
}

} // namespace qbm
