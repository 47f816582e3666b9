#include "gui/Code2DPage.h"

#include "app/TLabelDocument.h"
#include "gui/GuiText.h"
#include "gui/SymbolOptionsBox.h"
#include "gui/TProblemLabel.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qbm {

namespace {

// The memo shows lines; the document keeps them joined by CR LF as the labels carry them, in UTF-8.
QString MemoText(const std::string& text) {
    QString shown = Utf8ToQ(text);
    shown.replace("\r\n", "\n");
    return shown;
}

std::string DocumentText(const QString& memo) {
    QString text = memo;
    text.replace("\n", "\r\n");
    return Utf8FromQ(text);
}

} // namespace

Code2DPage::Code2DPage(QWidget* parent) : QWidget(parent) {
    Named(this, "TS_2d", "2D Barcode ");

    auto* formatBox = new QGroupBox("2D Format", this);
    m_format = Named(new QComboBox(formatBox), "ComboBox2", "2D Format");
    for (std::string_view name : k2DFormatNames) m_format->addItem(ToQ(name));
    m_modify = Named(new QPushButton("Modify  Templates Properties ", formatBox), "Btn_Modify2DTemplate",
                     "Modify  Templates Properties ");
    m_options = new SymbolOptionsBox(formatBox);
    auto* formatLayout = new QVBoxLayout(formatBox);
    formatLayout->addWidget(m_format);
    formatLayout->addWidget(m_options);
    formatLayout->addWidget(m_modify);

    auto* listBox = new QGroupBox(this);
    m_listSource = Named(new QRadioButton("Various Code Value:", listBox), "RD1", "Various Code Value:");
    m_list = Named(new QListWidget(listBox), "Lst_2dcode", "Various Code Value:");
    m_list->setUniformItemSizes(true); // long imported lists scroll without measuring every entry
    m_import = Named(new QPushButton("Import", listBox), "Btn_Import", "Import");
    m_serial = Named(new QPushButton("Serial ", listBox), "Btn_Serial", "Serial ");
    m_clear = Named(new QPushButton("Clear", listBox), "Btn_Clear", "Clear");
    m_amountLabel = Named(new QLabel(listBox), "Lb_2DAmount");
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_import);
    buttons->addWidget(m_serial);
    buttons->addWidget(m_clear);
    buttons->addStretch(1);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_list, 1);
    listRow->addLayout(buttons);
    auto* listLayout = new QVBoxLayout(listBox);
    listLayout->addWidget(m_listSource);
    listLayout->addLayout(listRow);
    listLayout->addWidget(m_amountLabel);

    auto* textBox = new QGroupBox(this);
    m_textSource = Named(new QRadioButton("Fixed Code Value: ", textBox), "RD2", "Fixed Code Value: ");
    m_text = Named(new QPlainTextEdit(textBox), "Memo1", "Fixed Code Value: ");
    m_text->setTabChangesFocus(true);
    m_amount = Named(new QSpinBox(textBox), "SpinEdit1");
    m_amount->setRange(TLabelProject::kMinAmount, TLabelProject::kMaxAmount);
    m_amountTitle = Named(new QLabel("Output Amount:", textBox), "Lb_2DOutputAmount");
    m_amountTitle->setBuddy(m_amount);
    m_amount->setAccessibleName("Output Amount:");
    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(m_amountTitle);
    amountRow->addWidget(m_amount, 1);
    auto* textLayout = new QVBoxLayout(textBox);
    textLayout->addWidget(m_textSource);
    textLayout->addWidget(m_text, 1);
    m_textProblem = new TProblemLabel("Lbl_TextProblem", textBox);
    textLayout->addWidget(m_textProblem);
    textLayout->addLayout(amountRow);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(formatBox);
    layout->addWidget(listBox, 1);
    layout->addWidget(textBox, 1);

    m_listMenu = Named(new QMenu(this), "PopupMenu_List", "Code list");
    m_listMenu->addAction("Delete This Item")->setObjectName("Mnu_DeleteItem");
    m_listMenu->addAction("Clear All")->setObjectName("Mnu_ClearAll");
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_listMenu->popup(m_list->viewport()->mapToGlobal(pos)); });

    connect(m_modify, &QPushButton::clicked, this, &Code2DPage::modifyTemplateRequested);
    connect(m_serial, &QPushButton::clicked, this, &Code2DPage::serialRequested);
    // The 2D settings are applied again whenever the focus enters the page from outside it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        const bool wasInside = old && (old == this || isAncestorOf(old));
        const bool isInside = now && (now == this || isAncestorOf(now));
        if (m_doc && isInside && !wasInside) m_doc->Focus2DPage();
    });
    UpdateEnabled();
}

void Code2DPage::SetDocument(TLabelDocument* doc) {
    if (m_doc) disconnect(m_doc, nullptr, this, nullptr);
    m_doc = doc;
    if (!doc) return;
    connect(m_format, &QComboBox::activated, doc, [doc](int i) { doc->SetFormat2D(i); });
    connect(m_listSource, &QRadioButton::clicked, doc, [doc] { doc->SetSource2D(T2DSource::tsCodeList); });
    connect(m_textSource, &QRadioButton::clicked, doc, [doc] { doc->SetSource2D(T2DSource::tsFixedText); });
    connect(m_text, &QPlainTextEdit::textChanged, doc, [this] {
        if (!m_refreshing) m_doc->SetText2D(DocumentText(m_text->toPlainText()));
    });
    connect(m_amount, &QSpinBox::valueChanged, doc, [doc](int v) { doc->SetAmount2D(v); });
    connect(m_import, &QPushButton::clicked, doc, [doc] { doc->Import2D(); });
    connect(m_clear, &QPushButton::clicked, doc, [doc] { doc->Clear2D(); });
    const QList<QAction*> items = m_listMenu->actions();
    connect(items[0], &QAction::triggered, doc, [this] {
        // In the linear kind the entry removes from the hidden linear list, by the same row.
        m_doc->DeleteListItem(m_list->currentRow());
    });
    connect(items[1], &QAction::triggered, doc, [doc] { doc->ClearAllList(); });

    m_options->SetDocument(doc);
    connect(doc, &TLabelDocument::projectChanged, this, &Code2DPage::RefreshValues);
    const auto showProblem = [this] {
        m_textProblem->ShowProblem(m_doc->Kind() == TBarcodeKind::bk2D ? m_doc->InputProblem() : "");
    };
    connect(doc, &TLabelDocument::inputProblemChanged, this, showProblem);
    connect(doc, &TLabelDocument::kindChanged, this, showProblem);
    showProblem();
    connect(doc, &TLabelDocument::amountLabelChanged, this,
            [this] { m_amountLabel->setText(ToQ(m_doc->AmountLabel2D())); });
    RefreshValues();
}

void Code2DPage::RefreshValues() {
    const TLabelProject& p = m_doc->Project();
    m_refreshing = true;
    {
        const QSignalBlocker block(m_format);
        m_format->setCurrentIndex(p.Format2D());
    }
    m_options->Refresh();
    // The library's template properties are those of PDF417 and MaxiCode; the other formats keep
    // their options on this page.
    m_modify->setEnabled(!p.Symbol2DSettings());
    const auto& codes = p.CodeList2D();
    bool same = m_list->count() == static_cast<int>(codes.size());
    for (int i = 0; same && i < m_list->count(); ++i)
        same = m_list->item(i)->text() == Utf8ToQ(codes[static_cast<size_t>(i)]);
    if (!same) {
        const int row = m_list->currentRow();
        m_list->clear();
        QStringList entries;
        entries.reserve(static_cast<qsizetype>(codes.size()));
        for (const auto& code : codes) entries << Utf8ToQ(code);
        m_list->addItems(entries);
        if (row >= 0 && row < m_list->count()) m_list->setCurrentRow(row);
    }
    if (DocumentText(m_text->toPlainText()) != p.Text2D()) m_text->setPlainText(MemoText(p.Text2D()));
    if (m_amount->value() != p.Amount2D()) {
        const QSignalBlocker block(m_amount);
        m_amount->setValue(p.Amount2D());
    }
    m_amountLabel->setText(ToQ(m_doc->AmountLabel2D()));
    const bool list = p.Source2D() == T2DSource::tsCodeList;
    m_listSource->setChecked(list);
    m_textSource->setChecked(!list);
    m_refreshing = false;
    UpdateEnabled();
}

void Code2DPage::UpdateEnabled() {
    const bool list = m_listSource->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{m_import, m_serial, m_clear, m_amountLabel})
        w->setEnabled(list);
    for (QWidget* w : std::initializer_list<QWidget*>{m_text, m_amount, m_amountTitle}) w->setEnabled(!list);
}

} // namespace qbm
