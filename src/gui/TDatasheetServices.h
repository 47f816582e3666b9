#pragma once
// What the datasheet window asks of the platform: the import and picture file dialogs, the table
// picker, the sequence dialog, progress and help. The defaults show the real dialogs; tests replace
// them with answers from a script.

#include "data/DatasheetImport.h"
#include "util/TProgress.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace qbm {

class TFM_GetTable;
class TFM_Sdata;
class TUserPrompts;

class TDatasheetServices {
public:
    explicit TDatasheetServices(TUserPrompts& prompts);
    virtual ~TDatasheetServices();

    TUserPrompts& Prompts() { return m_prompts; }
    // "Import Data ...": the file to read, nullopt when cancelled.
    virtual std::optional<std::string> AskImportPath(QWidget* parent);
    // The import's choices for that file (encoding, delimiter, header row; sheet, stored values), nullopt
    // when cancelled.
    virtual std::optional<TImportOptions> AskImportOptions(QWidget* parent, const std::string& path);
    // The picture dialog; several files when `several`. Empty when cancelled.
    virtual std::vector<std::string> AskPicturePaths(QWidget* parent, bool several);
    virtual std::optional<std::string> PickTable(QWidget* parent, const std::vector<std::string>& names);
    // The sequence dialog (one for the whole run): its codes, nullopt when cancelled.
    virtual std::optional<std::vector<std::string>> Sequence(QWidget* parent);
    virtual std::unique_ptr<TProgress> Progress(QWidget* parent, const QString& label);
    virtual void Help(QWidget* parent, const QString& topic);

    TFM_Sdata* SequenceDialog(QWidget* parent);
    TFM_GetTable* TablePicker(QWidget* parent);

private:
    TUserPrompts& m_prompts;
    // Made at first use and kept for the run; their parent window may take them down first.
    QPointer<TFM_Sdata> m_sequence;
    QPointer<TFM_GetTable> m_picker;
};

// The file dialogs' filter from the product's "Name|*.x|..." form.
QString DialogFilter(const char* filter);

} // namespace qbm
