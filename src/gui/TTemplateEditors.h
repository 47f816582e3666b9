#pragma once
// The two template editors of a window, made on first use and kept for the rest of the run, so each
// shows the template, test code and values the user left in it. The window owns the dialogs.

#include "gui/QtUserPrompts.h"
#include "templates/T2DSettings.h"

#include <QPointer>

#include <optional>
#include <string>

class QWidget;

namespace qbm {

class TFM_Template;
class TFM_Template2d;
struct TLinearEditorRequest;
struct T2DEditorRequest;

class TTemplateEditors {
public:
    // Shows the linear editor modally as the request says.
    void OpenLinear(QWidget* parent, const std::string& libraryPath, const TLinearEditorRequest& request);
    // Shows the 2D editor modally on the requested page with its test text and settings; the settings
    // confirmed with OK, nullopt after Cancel.
    std::optional<T2DSettings> Open2D(QWidget* parent, const std::string& libraryPath,
                                      const T2DEditorRequest& request);

    // The dialogs once made (null before the first opening).
    TFM_Template* Linear() const;
    TFM_Template2d* TwoD() const;

private:
    QtUserPrompts m_linearPrompts;
    QtUserPrompts m_2dPrompts;
    QPointer<TFM_Template> m_linear;
    QPointer<TFM_Template2d> m_2d;
};

} // namespace qbm
