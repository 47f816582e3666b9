#pragma once
// The line beside a field that says why its value cannot be drawn: shown while there is something to
// say, hidden otherwise, and read by screen readers as its text. It replaces a message box that would
// interrupt the typing.

#include <QLabel>

#include <string>

namespace qbm {

class TProblemLabel : public QLabel {
    Q_OBJECT
public:
    explicit TProblemLabel(const char* objectName, QWidget* parent = nullptr);
    void ShowProblem(const std::string& text);
};

} // namespace qbm
