#include "gui/TFM_Wel.h"

#include "gui/GuiText.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qbm {

TFM_Wel::TFM_Wel(QWidget* parent) : QDialog(parent) {
    Named(this, "FM_Wel", "Welcome");
    setWindowTitle("Welcome");
    // A dialog border without a close button: the choice is made with the buttons (Esc cancels).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* picture = Named(new QLabel(this), "Image1", "Quirbel Barcode Maker");
    picture->setPixmap(QIcon(":/qbm/app.svg").pixmap(64, 64));
    auto* title = Named(new QLabel("Quirbel", this), "Label1", "Quirbel");
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    title->setFont(big);
    auto* subtitle = Named(new QLabel("Barcode Maker 2.1", this), "Label2", "Barcode Maker 2.1");
    QFont medium = subtitle->font();
    medium.setPointSizeF(medium.pointSizeF() * 1.3);
    subtitle->setFont(medium);

    m_list = Named(new QListWidget(this), "ListBox1", "What would you like to do?");
    m_list->addItems({"Create a new barcode project ...", "Open a existing project file ...",
                      "Modify barcode templates ..."});
    m_list->setMinimumWidth(m_list->sizeHintForColumn(0) + 24);
    m_list->setFixedHeight(m_list->sizeHintForRow(0) * 3 + 2 * m_list->frameWidth() + 6);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = Named(buttons->addButton("&OK", QDialogButtonBox::AcceptRole), "BitBtn1", "&OK");
    Named(buttons->addButton("&Cancel", QDialogButtonBox::RejectRole), "BitBtn2", "&Cancel");
    ok->setDefault(true);

    auto* titles = new QVBoxLayout;
    titles->addWidget(title);
    titles->addWidget(subtitle);
    titles->addStretch(1);
    auto* head = new QHBoxLayout;
    head->addWidget(picture);
    head->addLayout(titles, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(m_list);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

int TFM_Wel::Choose() {
    m_list->setCurrentRow(0);
    m_list->setFocus();
    if (exec() != QDialog::Accepted) return -1;
    return m_list->currentRow();
}

} // namespace qbm
