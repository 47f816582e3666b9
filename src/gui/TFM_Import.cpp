#include "gui/TFM_Import.h"

#include "data/DelimitedTextReader.h"
#include "gui/GuiText.h"
#include "gui/TDatasheetModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <array>
#include <exception>
#include <filesystem>

namespace qbm {
namespace {

constexpr std::array<TTextEncoding, 4> kEncodings = {TTextEncoding::teUtf8, TTextEncoding::teUtf16LE,
                                                     TTextEncoding::teUtf16BE, TTextEncoding::teWindows1252};

struct TDelimiterItem {
    char delimiter;
    const char* caption;
};
// The detection's candidates in its order, then "none".
constexpr std::array<TDelimiterItem, 11> kDelimiters = {{{',', "Comma ,"},
                                                         {';', "Semicolon ;"},
                                                         {'#', "Number sign #"},
                                                         {'\t', "Tab"},
                                                         {'|', "Vertical bar |"},
                                                         {'@', "At sign @"},
                                                         {'*', "Asterisk *"},
                                                         {'-', "Hyphen -"},
                                                         {'+', "Plus +"},
                                                         {'&', "Ampersand &"},
                                                         {'\0', "None (one field a line)"}}};

template <typename W> W* Labelled(QFormLayout* form, const QString& caption, W* widget, const char* name) {
    auto* label = new QLabel(caption);
    label->setBuddy(widget);
    form->addRow(label, Named(widget, name, caption));
    return widget;
}

} // namespace

TFM_Import::TFM_Import(const std::string& path, QWidget* parent)
    : QDialog(parent), m_path(path), m_kind(ImportKindOf(path)) {
    setObjectName(QStringLiteral("FM_Import"));
    setWindowTitle(QStringLiteral("Import Data - ") +
                   PathToQ(std::filesystem::path(path).filename().string()));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    if (m_kind == TImportKind::ikText) BuildTextChoices(form);
    if (m_kind == TImportKind::ikWorkbook) BuildSheetChoices(form);
    if (!m_problem.isEmpty()) {
        auto* problem = Named(new QLabel(m_problem), "Lbl_Problem");
        problem->setWordWrap(true);
        layout->addWidget(problem);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Named(buttons->button(QDialogButtonBox::Ok), "Btn_OK", QStringLiteral("&OK"))
        ->setText(QStringLiteral("&OK"));
    Named(buttons->button(QDialogButtonBox::Cancel), "Btn_Cancel", QStringLiteral("&Cancel"))
        ->setText(QStringLiteral("&Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (m_grid) {
        layout->addWidget(Named(new QLabel(QStringLiteral("Preview of the first rows:")), "Lbl_Preview"));
        layout->addWidget(m_grid, 1);
    }
    layout->addWidget(buttons);
    resize(m_grid ? QSize(640, 420) : sizeHint());
}

void TFM_Import::BuildTextChoices(QFormLayout* form) {
    m_encoding = Labelled(form, QStringLiteral("&Encoding:"), new QComboBox(this), "CBX_Encoding");
    m_delimiter = Labelled(form, QStringLiteral("&Delimiter:"), new QComboBox(this), "CBX_Delimiter");
    m_fieldNames = Named(new QCheckBox(QStringLiteral("&First row holds the field names"), this),
                         "CB_FieldNames", QStringLiteral("&First row holds the field names"));
    m_fieldNames->setChecked(true);
    form->addRow(QString(), m_fieldNames);
    m_detected = Named(new QLabel(this), "Lbl_Detected");
    form->addRow(QString(), m_detected);
    m_grid = Named(new QTableView(this), "Grd_Preview", QStringLiteral("Preview of the first rows"));
    m_model = new TDatasheetModel(this);
    m_model->SetDatasheet(&m_preview, nullptr);
    m_grid->setModel(m_model);
    m_grid->verticalHeader()->setDefaultSectionSize(TDatasheet::kDefaultRowHeight);

    // What detection finds fills the lists first; the user's changes read the file again.
    TTextImportInfo detected;
    try {
        detected = PreviewDelimitedTextFile(m_preview, m_path, kPreviewRows);
    } catch (const std::exception& e) {
        m_problem = AnyTextToQ(e.what());
    }
    for (const TTextEncoding encoding : kEncodings) {
        QString caption = Utf8ToQ(EncodingName(encoding));
        if (encoding == detected.encoding) caption += QStringLiteral(" (detected)");
        m_encoding->addItem(caption);
        if (encoding == detected.encoding) m_encoding->setCurrentIndex(m_encoding->count() - 1);
    }
    for (const TDelimiterItem& item : kDelimiters) {
        QString caption = QString::fromLatin1(item.caption);
        if (item.delimiter == detected.delimiter) caption += QStringLiteral(" (detected)");
        m_delimiter->addItem(caption);
        if (item.delimiter == detected.delimiter) m_delimiter->setCurrentIndex(m_delimiter->count() - 1);
    }
    m_detected->setText(QStringLiteral("Detected: ") + Utf8ToQ(EncodingName(detected.encoding)) +
                        QStringLiteral(", ") +
                        m_delimiter->currentText().remove(QStringLiteral(" (detected)")));
    m_model->Reload();
    connect(m_encoding, &QComboBox::currentIndexChanged, this, &TFM_Import::RefreshPreview);
    connect(m_delimiter, &QComboBox::currentIndexChanged, this, &TFM_Import::RefreshPreview);
    connect(m_fieldNames, &QCheckBox::toggled, this, &TFM_Import::RefreshPreview);
}

void TFM_Import::BuildSheetChoices(QFormLayout* form) {
    m_sheet = Labelled(form, QStringLiteral("&Sheet:"), new QComboBox(this), "CBX_Sheet");
    m_storedValues = Named(new QCheckBox(QStringLiteral("Stored &values"), this), "CB_StoredValues",
                           QStringLiteral("Stored &values"));
    m_storedValues->setToolTip(QStringLiteral("Numbers and dates as the workbook stores them, without their "
                                              "cells' formats"));
    form->addRow(QString(), m_storedValues);
    try {
        const TWorkbookSheetList list = ListImportSheets(m_path);
        int chosen = -1;
        for (size_t i = 0; i < list.sheets.size(); ++i) {
            QString caption = Utf8ToQ(list.sheets[i].name);
            if (list.sheets[i].hidden) caption += QStringLiteral(" (hidden)");
            m_sheet->addItem(caption, Utf8ToQ(list.sheets[i].name));
            if (chosen < 0 && !list.sheets[i].hidden &&
                (static_cast<int>(i) == list.active || list.active < 0 ||
                 list.sheets[static_cast<size_t>(list.active)].hidden))
                chosen = static_cast<int>(i);
        }
        m_sheet->setCurrentIndex(std::max(chosen, 0));
    } catch (const std::exception& e) {
        m_problem = AnyTextToQ(e.what());
    }
}

void TFM_Import::RefreshPreview() {
    try {
        PreviewDelimitedTextFile(m_preview, m_path, kPreviewRows, Options().text);
        m_problem.clear();
    } catch (const std::exception& e) {
        m_problem = AnyTextToQ(e.what());
    }
    m_model->Reload();
}

TImportOptions TFM_Import::Options() const {
    TImportOptions options;
    if (m_encoding && m_encoding->currentIndex() >= 0)
        options.text.encoding = kEncodings[static_cast<size_t>(m_encoding->currentIndex())];
    if (m_delimiter && m_delimiter->currentIndex() >= 0)
        options.text.delimiter = kDelimiters[static_cast<size_t>(m_delimiter->currentIndex())].delimiter;
    if (m_fieldNames) options.text.firstRowHoldsNames = m_fieldNames->isChecked();
    if (m_sheet && m_sheet->currentIndex() >= 0)
        options.workbook.sheet = Utf8FromQ(m_sheet->currentData().toString());
    if (m_storedValues) options.workbook.storedValues = m_storedValues->isChecked();
    return options;
}

} // namespace qbm
