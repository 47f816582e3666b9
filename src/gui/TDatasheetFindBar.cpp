#include "gui/TDatasheetFindBar.h"

#include "data/DatasheetFind.h"
#include "data/TDatasheet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qbm {

TDatasheetFindBar::TDatasheetFindBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Pnl_Find"));
    auto* caption = new QLabel(QStringLiteral("F&ind:"), this);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("Edt_Find"));
    m_text->setAccessibleName(QStringLiteral("Find"));
    m_text->setClearButtonEnabled(true);
    caption->setBuddy(m_text);
    auto* next = new QPushButton(QStringLiteral("Find &Next"), this);
    next->setObjectName(QStringLiteral("Btn_FindNext"));
    next->setAccessibleName(QStringLiteral("Find Next"));
    next->setAutoDefault(false);
    auto* previous = new QPushButton(QStringLiteral("Find &Previous"), this);
    previous->setObjectName(QStringLiteral("Btn_FindPrevious"));
    previous->setAccessibleName(QStringLiteral("Find Previous"));
    previous->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Btn_FindClose"));
    close->setAccessibleName(QStringLiteral("Close Find"));
    close->setAutoDefault(false);
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("Lbl_FindResult"));
    m_result->setAccessibleName(QStringLiteral("Find result"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption);
    layout->addWidget(m_text, 1);
    layout->addWidget(next);
    layout->addWidget(previous);
    layout->addWidget(m_result);
    layout->addWidget(close);

    connect(m_text, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(m_text, &QLineEdit::textChanged, m_result, &QLabel::clear);
    connect(next, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });
    connect(close, &QPushButton::clicked, this, [this] {
        hide();
        emit Closed();
    });
}

void TDatasheetFindBar::Open() {
    show();
    m_text->setFocus();
    m_text->selectAll();
}

QString TDatasheetFindBar::Result() const {
    return m_result->text();
}

bool TDatasheetFindBar::FindNext(bool backwards) {
    if (!m_sheet || m_text->text().isEmpty()) return false;
    const QByteArray text = m_text->text().toUtf8();
    const auto found =
        FindInDatasheet(*m_sheet, std::string_view(text.constData(), static_cast<size_t>(text.size())),
                        m_sheet->CurrentColumn(), m_sheet->CurrentRow(), backwards);
    if (!found) {
        m_result->setText(QStringLiteral("Not found"));
        return false;
    }
    m_result->setText(QStringLiteral("Row %1").arg(found->row));
    emit CellFound(found->column, found->row);
    return true;
}

} // namespace qbm
