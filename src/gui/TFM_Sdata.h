#pragma once
// "Generate Sequence": a number range with leading zeros, prefix, suffix, step and repeat. The dialog
// lives for the whole run and keeps its fields and its last list between uses.

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QSpinBox;

namespace qbm {

class TUserPrompts;

class TFM_Sdata : public QDialog {
    Q_OBJECT
public:
    TFM_Sdata(TUserPrompts& prompts, QWidget* parent = nullptr);

    // The list the last OK generated (emptied at the start of each OK).
    const std::vector<std::string>& Codes() const { return m_codes; }
    // Generates on OK; refusals and conversion errors are shown and keep the dialog open.
    void accept() override;

    QLineEdit* Head() const { return m_head; }
    QLineEdit* Begin() const { return m_begin; }
    QLineEdit* End() const { return m_end; }
    QLineEdit* Foot() const { return m_foot; }
    QSpinBox* Repeat() const { return m_repeat; }
    QSpinBox* Step() const { return m_step; }

private:
    void WarnNonDigits(const QLineEdit* edit);

    TUserPrompts& m_prompts;
    QLineEdit* m_head;
    QLineEdit* m_begin;
    QLineEdit* m_end;
    QLineEdit* m_foot;
    QSpinBox* m_repeat;
    QSpinBox* m_step;
    std::vector<std::string> m_codes;
};

} // namespace qbm
