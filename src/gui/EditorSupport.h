#pragma once
// What the two template editors share at the widget edge: font and picture conversions, and the
// font and save dialogs behind replaceable functions (tests answer them from a script).

#include "surface/TFont.h"

#include <QFont>
#include <QImage>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

class QDialog;
class QEvent;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace qbm {

class TBitmap;
class TUserPrompts;

QImage ToQImage(const TBitmap& bitmap);
QFont FontForDialog(const TFont& font);
// Point size, styles and family of a chosen font; the rest (colour, turn) from `base`.
TFont FontFromDialog(const QFont& font, const TFont& base);

// A confirmed font, or nullopt when the user cancels.
using TFontChooser =
    std::function<std::optional<QFont>(QWidget* parent, const QFont& current, const QString& title)>;
std::optional<QFont> ChooseFontWithDialog(QWidget* parent, const QFont& current, const QString& title);

// A file to write, or nullopt on Cancel. `filters` are "Name (*.ext)" entries, the first one
// preselected. The extension of the filter the user picked decides the format, so a name without it
// gets it; the dialog asks before overwriting.
using TSavePathChooser = std::function<std::optional<QString>(QWidget* parent, const QString& caption,
                                                              const QStringList& filters)>;
std::optional<QString> ChooseSavePathWithDialog(QWidget* parent, const QString& caption,
                                                const QStringList& filters);

// "Bitmaps (*.bmp)" -> ".bmp".
QString FilterExtension(const QString& filter);
// The path with the filter's extension appended unless it already ends with it.
QString WithFilterExtension(const QString& path, const QString& filter);
// The name the user typed decides the file type when its extension is one of the filters' (or a
// spelling of one, ".jpeg", ".tiff"); otherwise the chosen filter's extension is appended.
QString PathForFilters(const QString& typed, const QString& chosenFilter, const QStringList& filters);

// The picture formats both editors export, the editor's own default first.
QStringList PictureExportFilters(const QString& first);

// Templates are laid out for the printer the labels go to; without one, for 300 dpi.
int EditorPrinterResolution();

// The row below an editor's fields: the brand on the left, then "&Export" (shown for "Export Image
// ...") and "&OK".
QHBoxLayout* EditorButtonRow(QPushButton* exportButton, QPushButton* ok);

// The right-aligned "&OK" (the default button, accepting) and "&Cancel" (rejecting) of a small dialog.
QHBoxLayout* OkCancelRow(QDialog* dialog);

// Leaving a field writes the library; opening the field's own pop-up list does not leave it.
bool LeavesField(const QEvent* event);

// "&Export": asks for the file and writes the preview there; a failure is shown and nothing else
// changes.
void ExportPreview(QWidget* parent, const TSavePathChooser& choosePath, const QStringList& filters,
                   TUserPrompts& prompts, const std::function<void(const std::string& path)>& write);

} // namespace qbm
