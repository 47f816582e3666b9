#include "gui/TProblemLabel.h"

#include "gui/GuiText.h"

namespace qbm {

TProblemLabel::TProblemLabel(const char* objectName, QWidget* parent) : QLabel(parent) {
    setObjectName(objectName);
    setWordWrap(true);
    setStyleSheet("color: #b00000;");
    hide();
}

void TProblemLabel::ShowProblem(const std::string& text) {
    const QString q = ToQ(text);
    setText(q);
    setAccessibleName(q);
    setVisible(!q.isEmpty());
}

} // namespace qbm
