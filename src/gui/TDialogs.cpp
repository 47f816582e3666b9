#include "gui/TDialogs.h"

#include "app/TLabelDocument.h"
#include "gui/QtUserPrompts.h"
#include "gui/TDatasheetServices.h"
#include "gui/TFM_About.h"
#include "gui/TFM_Data.h"
#include "gui/TFM_PrintOptions.h"
#include "gui/TFM_Stock.h"
#include "gui/TFM_Wel.h"
#include "gui/THelpViewer.h"
#include "gui/TTemplateEditors.h"

#include <QMessageBox>

#include "stock/TStockDatabase.h"

namespace qbm {

TDialogs::TDialogs() : m_templateEditors(std::make_shared<TTemplateEditors>()) {}

TDialogs::~TDialogs() {
    delete m_datasheetWindow.data();
}

TDatasheetServices& TDialogs::DatasheetServices(QWidget*) {
    if (!m_datasheetServices) {
        // No fixed parent: the questions belong to whichever window asks, the datasheet window mostly.
        m_datasheetPrompts = std::make_shared<QtUserPrompts>(nullptr);
        m_datasheetServices = std::make_shared<TDatasheetServices>(*m_datasheetPrompts);
    }
    return *m_datasheetServices;
}

int TDialogs::Welcome(QWidget* parent) {
    TFM_Wel dialog(parent);
    return dialog.Choose();
}

void TDialogs::About(QWidget* parent) {
    TFM_About about(parent);
    about.exec();
}

void TDialogs::LinearTemplateEditor(QWidget* parent, TLabelDocument& doc,
                                    const TLinearEditorRequest& request) {
    m_templateEditors->OpenLinear(parent, doc.LibraryPath(), request);
}

std::optional<T2DSettings> TDialogs::Template2DEditor(QWidget* parent, TLabelDocument& doc,
                                                      const T2DEditorRequest& request) {
    return m_templateEditors->Open2D(parent, doc.LibraryPath(), request);
}

bool TDialogs::Datasheet(QWidget* parent, TLabelDocument& doc) {
    TDatasheetServices& services = DatasheetServices(parent);
    if (!m_datasheetWindow) m_datasheetWindow = new TFM_Data(services, parent);
    m_datasheetWindow->SetDatasheet(&doc.Datasheet(), &doc.DatasheetHistory());
    m_datasheetWindow->exec();
    return m_datasheetWindow->Changed();
}

std::optional<std::vector<std::string>> TDialogs::Sequence(QWidget* parent) {
    return DatasheetServices(parent).Sequence(parent);
}

void TDialogs::LabelStock(QWidget* parent, TLabelDocument& doc) {
    // Read on each opening: a few hundredths of a second, and a changed folder shows at once.
    const TStockDatabase db = TStockDatabase::Load(DefaultStockFolder());
    if (db.Stocks().empty()) {
        QMessageBox::warning(
            parent, "Label Stock",
            QString("No label stock was found in %1. Install the package glabels-data, or set "
                    "the folder with the QBM_STOCK_DIR environment variable.")
                .arg(QString::fromStdString(db.Folder())));
        return;
    }
    const auto& stock = doc.Project().Stock();
    TFM_Stock dialog(db, stock ? stock->Name() : std::string(), parent);
    if (dialog.exec() == QDialog::Accepted && dialog.Chosen()) doc.ChooseStock(*dialog.Chosen());
}

void TDialogs::PrintOptions(QWidget* parent, TLabelDocument& doc) {
    const TLabelProject& project = doc.Project();
    TFM_PrintOptions dialog(project.PrintPreferences(), project.Linage() * project.Column(), doc.LabelCount(),
                            parent);
    if (dialog.exec() == QDialog::Accepted) doc.SetPrintPreferences(dialog.Preferences());
}

void TDialogs::Help(QWidget* parent, const QString& topic) {
    ShowHelpTopic(parent, topic);
}

void TDialogs::OpenLink(QWidget* parent, TProductLink link) {
    if (!OpenProductLink(link))
        QMessageBox::warning(parent, "Quirbel Barcode Maker",
                             "No program is set up to open " + ProductLinkUrl(link).toString());
}

} // namespace qbm
