#include "gui/TPrintRunTab.h"

#include "gui/GuiText.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>
#include <climits>

namespace qbm {
namespace {

// Runs beyond this many pages are printed whole; the range fields need not reach further.
constexpr int kMaxPageField = 99999;

QSpinBox* Spin(QWidget* parent, const char* name, const QString& caption, int low, int high, int value) {
    auto* spin = Named(new QSpinBox(parent), name, caption);
    spin->setRange(low, high);
    spin->setValue(value);
    return spin;
}

} // namespace

TPrintRunTab::TPrintRunTab(int cells, long long labels, bool verify, QWidget* parent) : QWidget(parent) {
    Named(this, "Tab_PrintRun", "Labels");
    setWindowTitle("Labels"); // the dialog names the tab by its window title
    m_verify = Named(new QCheckBox("&Verify every label", this), "Chk_Verify", "&Verify every label");
    m_verify->setChecked(verify);
    m_verify->setToolTip("Reads every label back as a scanner would before the first page goes out; "
                         "nothing is printed when one does not read as its value.");
    m_startCell = Spin(this, "Edt_StartCell", "First free cell", 1, std::max(1, cells), 1);
    m_startCell->setToolTip("The first free cell of the first sheet, counted row by row from the top left; "
                            "the cells before it stay empty.");
    const int labelMax = static_cast<int>(std::clamp<long long>(labels, 1, INT_MAX));
    m_fromLabel = Spin(this, "Edt_FromLabel", "Start at label", 1, labelMax, 1);
    m_fromLabel->setToolTip("Prints from this label on, e.g. again after a paper jam (the print journal "
                            "beside the project lists what went out).");
    m_firstPage = Spin(this, "Edt_FirstPage", "From page", 1, kMaxPageField, 1);
    m_lastPage = Spin(this, "Edt_LastPage", "To page", 0, kMaxPageField, 0);
    m_lastPage->setSpecialValueText("Last");
    // Pages count the whole run, the empty cells of the first sheet included.
    connect(m_firstPage, &QSpinBox::valueChanged, this, [this](int first) {
        if (m_lastPage->value() != 0 && m_lastPage->value() < first) m_lastPage->setValue(first);
    });
    connect(m_lastPage, &QSpinBox::valueChanged, this, [this](int last) {
        if (last != 0 && last < m_firstPage->value()) m_firstPage->setValue(last);
    });

    auto* form = new QFormLayout(this);
    form->addRow(m_verify);
    const auto row = [&](const QString& caption, QSpinBox* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row(QString("First free &cell (1 to %1):").arg(std::max(1, cells)), m_startCell);
    row("Start at &label:", m_fromLabel);
    row("From &page:", m_firstPage);
    row("&To page:", m_lastPage);
}

void TPrintRunTab::Show(const TPrintPreferences& p) {
    m_verify->setChecked(p.verify);
    m_startCell->setValue(p.startCell);
    m_fromLabel->setValue(static_cast<int>(std::clamp<long long>(p.fromLabel, 1, INT_MAX)));
    m_firstPage->setValue(p.firstPage);
    m_lastPage->setValue(p.lastPage);
}

TPrintPreferences TPrintRunTab::Preferences(const TPrintPreferences& base) const {
    TPrintPreferences p = base;
    p.verify = m_verify->isChecked();
    p.startCell = m_startCell->value();
    p.fromLabel = m_fromLabel->value();
    p.firstPage = m_firstPage->value();
    p.lastPage = m_lastPage->value();
    return p;
}

void TPrintRunTab::FillIn(TPrinterChoice& choice) const {
    choice.verify = m_verify->isChecked();
    choice.startCell = m_startCell->value();
    choice.fromLabel = m_fromLabel->value();
    choice.firstPage = m_firstPage->value();
    choice.lastPage = m_lastPage->value();
}

} // namespace qbm
