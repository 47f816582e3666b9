#include "gui/QtUserPrompts.h"

#include "gui/GuiText.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace qbm {

namespace {

QMessageBox::Icon IconOf(TMsgKind kind) {
    switch (kind) {
    case TMsgKind::mkWarning:
        return QMessageBox::Warning;
    case TMsgKind::mkError:
        return QMessageBox::Critical;
    case TMsgKind::mkConfirmation:
        return QMessageBox::Question;
    case TMsgKind::mkInformation:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QString TitleOf(TMsgKind kind) {
    switch (kind) {
    case TMsgKind::mkWarning:
        return "Warning";
    case TMsgKind::mkError:
        return "Error";
    case TMsgKind::mkConfirmation:
        return "Confirm";
    case TMsgKind::mkInformation:
        return "Information";
    }
    return {};
}

} // namespace

TMsgResult QtUserPrompts::Message(TMsgKind kind, TMsgButtons buttons, const std::string& text) {
    QMessageBox box(IconOf(kind), TitleOf(kind), AnyTextToQ(text), QMessageBox::NoButton,
                    m_parent ? m_parent : QApplication::activeWindow());
    box.setObjectName("MessageBox");
    switch (buttons) {
    case TMsgButtons::mbOK:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case TMsgButtons::mbYesCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::Cancel);
        break;
    case TMsgButtons::mbYesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case TMsgButtons::mbFitToLabelCancel: {
        QAbstractButton* fit = box.addButton("&Fit to label", QMessageBox::AcceptRole);
        fit->setObjectName("FitToLabel");
        box.setStandardButtons(QMessageBox::Cancel);
        box.setDefaultButton(static_cast<QPushButton*>(fit));
        box.setEscapeButton(QMessageBox::Cancel);
        box.exec();
        return box.clickedButton() == fit ? TMsgResult::mrYes : TMsgResult::mrCancel;
    }
    case TMsgButtons::mbProjectOrLibrary: {
        QAbstractButton* project = box.addButton("Use the &project's copy", QMessageBox::AcceptRole);
        QAbstractButton* library = box.addButton("Use the &library's", QMessageBox::RejectRole);
        project->setObjectName("UseProjectTemplate");
        library->setObjectName("UseLibraryTemplate");
        box.setDefaultButton(static_cast<QPushButton*>(project));
        box.setEscapeButton(project);
        box.exec();
        return box.clickedButton() == library ? TMsgResult::mrNo : TMsgResult::mrYes;
    }
    }
    // Esc answers Cancel where there is one, OK otherwise: never a silent Yes.
    box.setEscapeButton(buttons == TMsgButtons::mbOK ? QMessageBox::Ok : QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return TMsgResult::mrYes;
    case QMessageBox::No:
        return TMsgResult::mrNo;
    case QMessageBox::Ok:
        return TMsgResult::mrOK;
    default:
        return buttons == TMsgButtons::mbOK ? TMsgResult::mrOK : TMsgResult::mrCancel;
    }
}

std::optional<std::string> QtUserPrompts::InputBox(const std::string& caption, const std::string& prompt,
                                                   const std::string& value) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent ? m_parent : QApplication::activeWindow(), Utf8ToQ(caption),
                              Utf8ToQ(prompt), QLineEdit::Normal, Utf8ToQ(value), &ok);
    if (!ok) return std::nullopt;
    return Utf8FromQ(text);
}

} // namespace qbm
