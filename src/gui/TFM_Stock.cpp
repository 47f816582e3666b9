#include "gui/TFM_Stock.h"

#include "gui/GuiText.h"
#include "gui/TStockSheetView.h"
#include "gui/TStockTableModel.h"
#include "stock/TStockDatabase.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <cstdio>

namespace qbm {
namespace {

QString Hundredths(int v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v / 100.0);
    return text;
}

QString GridDescription(const TStock& s, const TStockFit& fit) {
    QString text = QString::fromStdString(s.Name() + ": " + s.description) + "\n";
    if (!s.equivalentOf.empty())
        text += QString::fromStdString("The same sheet as " + s.brand + " " + s.equivalentOf) + ".\n";
    if (!fit.grid) return text + QString::fromStdString(fit.refusal);
    const TStockGrid& g = *fit.grid;
    const TStockChoice& c = g.choice;
    return text + QString("%1 rows, %2 columns on %3 %4; margins (mm) left %5, right %6, top %7, bottom %8.")
                      .arg(g.rows)
                      .arg(g.columns)
                      .arg(QString::fromStdString(s.PaperText()))
                      .arg(g.orientation == TPrinterOrientation::poPortrait ? "portrait" : "landscape")
                      .arg(Hundredths(c.marginLeft), Hundredths(c.marginRight), Hundredths(c.marginTop),
                           Hundredths(c.marginBottom));
}

} // namespace

TFM_Stock::TFM_Stock(const TStockDatabase& db, const std::string& current, QWidget* parent)
    : QDialog(parent), m_db(db) {
    Named(this, "FM_Stock", "Label Stock");
    setWindowTitle("Label Stock");

    m_model = new TStockTableModel(db, this);
    m_filter = new TStockFilter(*m_model, this);

    auto* searchLabel = new QLabel("&Search:", this);
    m_search = Named(new QLineEdit(this), "Edt_StockSearch", "Search:");
    m_search->setPlaceholderText("Brand, part number, description, paper or size");
    m_search->setClearButtonEnabled(true);
    searchLabel->setBuddy(m_search);

    m_list = Named(new QTableView(this), "Grd_Stock", "Label stock");
    m_list->setModel(m_filter);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setAlternatingRowColors(true);
    m_list->verticalHeader()->hide();
    // Rows of one height: the view need not measure 1,750 rows to lay them out.
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->horizontalHeader()->setSectionResizeMode(TStockTableModel::scDescription, QHeaderView::Stretch);
    const int widths[] = {90, 90, 0, 90, 120, 60};
    for (int c = 0; c < TStockTableModel::scCount; ++c)
        if (widths[c]) m_list->setColumnWidth(c, widths[c]);

    m_sheet = Named(new TStockSheetView(this), "Img_Sheet", "Sheet");
    m_info = Named(new QLabel(this), "Lbl_StockInfo", "Grid");
    m_info->setWordWrap(true);
    m_info->setMinimumHeight(m_info->fontMetrics().height() * 3);
    m_count = Named(new QLabel(this), "Lbl_StockCount", "Stocks shown");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = Named(buttons->button(QDialogButtonBox::Ok), "Btn_OK", "OK");
    Named(buttons->button(QDialogButtonBox::Cancel), "Btn_Cancel", "Cancel");

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(m_count);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    middle->addWidget(m_sheet);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addLayout(middle, 1);
    layout->addWidget(m_info);
    layout->addWidget(buttons);
    resize(860, 520);

    connect(m_search, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_filter->SetSearch(text);
        m_count->setText(QString("%1 of %2").arg(m_filter->rowCount()).arg(m_db.Stocks().size()));
        if (!m_list->selectionModel()->hasSelection() && m_filter->rowCount() > 0) m_list->selectRow(0);
        SelectionChanged();
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFM_Stock::SelectionChanged);
    connect(m_list, &QTableView::doubleClicked, this, [this] {
        if (m_ok->isEnabled()) Accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &TFM_Stock::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    m_count->setText(QString("%1 of %1").arg(m_db.Stocks().size()));
    if (const TStock* stock = db.Find(current)) {
        const int row = static_cast<int>(stock - db.Stocks().data());
        const QModelIndex index = m_filter->mapFromSource(m_model->index(row, 0));
        m_list->selectRow(index.row());
        m_list->scrollTo(index, QAbstractItemView::PositionAtCenter);
    }
    SelectionChanged();
    m_search->setFocus();
}

TFM_Stock::~TFM_Stock() = default;

const TStock* TFM_Stock::Selected() const {
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty()) return nullptr;
    return &m_model->Stock(m_filter->mapToSource(rows.first()).row());
}

void TFM_Stock::SelectionChanged() {
    const TStock* stock = Selected();
    m_sheet->SetStock(stock);
    if (!stock) {
        m_info->setText(m_filter->rowCount() ? "Choose a label stock."
                                             : "No label stock holds every word typed.");
        m_ok->setEnabled(false);
        return;
    }
    const TStockFit fit = FitStock(*stock);
    m_info->setText(GridDescription(*stock, fit));
    m_ok->setEnabled(fit.grid.has_value());
}

void TFM_Stock::Accept() {
    const TStock* stock = Selected();
    if (!stock) return;
    m_chosen = FitStock(*stock).grid;
    if (m_chosen) accept();
}

} // namespace qbm
