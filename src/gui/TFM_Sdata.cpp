#include "gui/TFM_Sdata.h"

#include "data/SequenceGenerator.h"
#include "gui/EditorSupport.h"
#include "gui/TQtProgress.h"
#include "util/Errors.h"
#include "util/TUserPrompts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qbm {
namespace {

std::string Latin1(const QLineEdit* edit) {
    return edit->text().toLatin1().toStdString();
}

} // namespace

TFM_Sdata::TFM_Sdata(TUserPrompts& prompts, QWidget* parent) : QDialog(parent), m_prompts(prompts) {
    setObjectName(QStringLiteral("FM_Sdata"));
    setWindowTitle(QStringLiteral("Generate Sequence"));
    auto* grid = new QGridLayout;
    int row = 0;
    const auto add = [&](const char* caption, const char* name, QWidget* field) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        field->setObjectName(QString::fromLatin1(name));
        field->setAccessibleName(QString::fromLatin1(caption).remove(QLatin1Char(':')).trimmed());
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
    };
    m_head = new QLineEdit(this);
    m_begin = new QLineEdit(this);
    m_end = new QLineEdit(this);
    m_repeat = new QSpinBox(this);
    m_step = new QSpinBox(this);
    m_foot = new QLineEdit(this);
    for (QSpinBox* spin : {m_repeat, m_step}) {
        spin->setRange(1, 100);
        spin->setValue(1);
    }
    add("Prefix:", "Edt_Head", m_head);
    add("From:", "Edt_Begin", m_begin);
    add("To:", "Edt_End", m_end);
    add("Repeat :", "RPT", m_repeat);
    add("Step :", "SEdt_Step", m_step);
    add("Suffix:", "Edt_Foot", m_foot);

    QHBoxLayout* buttons = OkCancelRow(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_head, m_begin);
    setTabOrder(m_begin, m_end);
    setTabOrder(m_end, m_foot);
    setTabOrder(m_foot, m_repeat);
    setTabOrder(m_repeat, m_step);
    auto* ok = findChild<QPushButton*>(QStringLiteral("Btn_OK"));
    setTabOrder(m_step, ok);
    setTabOrder(ok, findChild<QPushButton*>(QStringLiteral("Btn_Cancel")));

    // The From field is checked when it or the prefix or suffix changes, the To field when it changes.
    for (QLineEdit* edit : {m_begin, m_head, m_foot})
        connect(edit, &QLineEdit::textChanged, this, [this] { WarnNonDigits(m_begin); });
    connect(m_end, &QLineEdit::textChanged, this, [this] { WarnNonDigits(m_end); });
}

void TFM_Sdata::WarnNonDigits(const QLineEdit* edit) {
    const int warnings = NonDigitWarnings(Latin1(edit));
    for (int i = 0; i < warnings; ++i)
        m_prompts.Message(TMsgKind::mkWarning, TMsgButtons::mbOK, std::string(kValueMustBeNumeric));
}

void TFM_Sdata::accept() {
    m_codes.clear();
    TSequenceSettings settings;
    settings.prefix = Latin1(m_head);
    settings.from = Latin1(m_begin);
    settings.to = Latin1(m_end);
    settings.suffix = Latin1(m_foot);
    settings.repeat = m_repeat->value();
    settings.step = m_step->value();
    try {
        TQtProgress progress(this, QStringLiteral("Generating the sequence ..."));
        m_codes = GenerateSequence(settings, &progress);
    } catch (const EOperationCancelled&) {
        return; // the list stays empty and the dialog open
    } catch (const std::exception& e) {
        m_prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
        return;
    }
    QDialog::accept();
}

} // namespace qbm
