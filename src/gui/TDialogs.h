#pragma once
// Every dialog the main window opens, one method each, so that the window's commands stay the same
// whoever builds a dialog and tests can answer them from a script.

#include "gui/TProductLinks.h"
#include "templates/T2DSettings.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace qbm {

class TLabelDocument;
class TFM_Data;
class TDatasheetServices;
class QtUserPrompts;
class TTemplateEditors;

// What the linear template editor opens with.
struct TLinearEditorRequest {
    int preselect = 0;    // the template shown first (index in the document's list)
    std::string testCode; // empty: the editor's test code is cleared
    std::string testCaption;
    int symbology = -1;      // -1: the template's own
    bool showExport = false; // the image export opens the editors with their "&Export" buttons
};

// What the 2D template editor opens with: its PDF417 page (0) or its MaxiCode page (1), the test text
// and the project's 2D settings.
struct T2DEditorRequest {
    int page = 0;
    std::string testText;
    T2DSettings settings;
    bool showExport = false;
};

class TDialogs {
public:
    TDialogs();
    virtual ~TDialogs();

    // The welcome dialog: 0 new project, 1 open a project, 2 modify templates, -1 cancelled.
    virtual int Welcome(QWidget* parent);
    virtual void About(QWidget* parent);

    virtual void LinearTemplateEditor(QWidget* parent, TLabelDocument& doc,
                                      const TLinearEditorRequest& request);
    // The settings the user confirmed with OK, nullopt after Cancel.
    virtual std::optional<T2DSettings> Template2DEditor(QWidget* parent, TLabelDocument& doc,
                                                        const T2DEditorRequest& request);
    // The datasheet window, modal; true when it changed the datasheet.
    virtual bool Datasheet(QWidget* parent, TLabelDocument& doc);
    // The sequence dialog: the codes it generated, nullopt when cancelled.
    virtual std::optional<std::vector<std::string>> Sequence(QWidget* parent);
    virtual void LabelStock(QWidget* parent, TLabelDocument& doc);
    virtual void PrintOptions(QWidget* parent, TLabelDocument& doc);

    // Help topic of help.chm, and the maker's web site, FAQ page and support mail.
    virtual void Help(QWidget* parent, const QString& topic);
    virtual void OpenLink(QWidget* parent, TProductLink link);

private:
    TDatasheetServices& DatasheetServices(QWidget* parent);
    // The datasheet window and the sequence dialog live for the run, so the dialog keeps its fields
    // and its list between uses.
    std::shared_ptr<QtUserPrompts> m_datasheetPrompts; // shared: the dialogs object is copied in tests
    std::shared_ptr<TDatasheetServices> m_datasheetServices;
    QPointer<TFM_Data> m_datasheetWindow;
    // Made once, so the editors keep their state between openings.
    std::shared_ptr<TTemplateEditors> m_templateEditors;
};

} // namespace qbm
