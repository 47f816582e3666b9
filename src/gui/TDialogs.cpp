#include "gui/TDialogs.h"

#include "gui/TFM_About.h"
#include "gui/THelpViewer.h"
#include "gui/TFM_Wel.h"

#include <QMessageBox>

namespace qbm {

void TDialogs::NotYetAvailable(QWidget* parent, const QString& what)
{
    QMessageBox::information(parent, what, what + " is not yet available in this build.");
}

int TDialogs::Welcome(QWidget* parent)
{
    TFM_Wel dialog(parent);
    return dialog.Choose();
}

void TDialogs::About(QWidget* parent)
{
    TFM_About about(parent);
    about.exec();
}

void TDialogs::LinearTemplateEditor(QWidget* parent, TLabelDocument&, const TLinearEditorRequest&)
{
    NotYetAvailable(parent, "The barcode template editor");
}

void TDialogs::Template2DEditor(QWidget* parent, TLabelDocument&, const T2DEditorRequest&)
{
    NotYetAvailable(parent, "The 2D template editor");
}

bool TDialogs::Datasheet(QWidget* parent, TLabelDocument&)
{
    NotYetAvailable(parent, "The datasheet window");
    return false;
}

std::optional<std::vector<std::string>> TDialogs::Sequence(QWidget* parent)
{
    NotYetAvailable(parent, "The serial code dialog");
    return std::nullopt;
}

void TDialogs::LabelStock(QWidget* parent, TLabelDocument&)
{
    NotYetAvailable(parent, "The label stock picker");
}

void TDialogs::PrintOptions(QWidget* parent, TLabelDocument&)
{
    NotYetAvailable(parent, "The print options");
}

void TDialogs::Help(QWidget* parent, const QString& topic)
{
    ShowHelpTopic(parent, topic);
}

void TDialogs::OpenLink(QWidget* parent, TProductLink link)
{
    if (!OpenProductLink(link))
        QMessageBox::warning(parent, "Quirbel Barcode Maker",
                             "No program is set up to open " + ProductLinkUrl(link).toString());
}

} // namespace qbm
