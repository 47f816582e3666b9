#include "gui/TFM_PrintOptions.h"

#include "gui/GuiText.h"
#include "gui/TPrintRunTab.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace qbm {

TFM_PrintOptions::TFM_PrintOptions(const TPrintPreferences& preferences, int cells, long long labels,
                                   QWidget* parent)
    : QDialog(parent), m_base(preferences) {
    Named(this, "FM_PrintOptions", "Print Options");
    setWindowTitle("Print Options");
    m_labels = new TPrintRunTab(cells, labels, preferences.verify, this);
    m_labels->Show(preferences);
    m_journal = Named(new QCheckBox("Write the print &journal beside the project", this), "Chk_Journal",
                      "Write the print journal beside the project");
    m_journal->setChecked(preferences.journal);
    m_journal->setToolTip("Every run adds what it printed to NAME.bpj.log beside the saved project.");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("Btn_OK");
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName("OK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("Btn_Cancel");
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName("Cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_labels);
    layout->addWidget(m_journal);
    layout->addWidget(buttons);
}

TPrintPreferences TFM_PrintOptions::Preferences() const {
    TPrintPreferences p = m_labels->Preferences(m_base);
    p.journal = m_journal->isChecked();
    return p;
}

} // namespace qbm
