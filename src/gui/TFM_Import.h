#pragma once
// The import's choices before a file is read: for a text file its encoding, delimiter and whether the
// first row holds the field names, with a live preview of the first rows; for a workbook its sheet
// and whether values come as shown or as stored.

#include "data/DatasheetImport.h"
#include "data/TDatasheet.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QTableView;

namespace qbm {

class TDatasheetModel;

class TFM_Import : public QDialog {
    Q_OBJECT
public:
    TFM_Import(const std::string& path, QWidget* parent = nullptr);

    // The choices as the import takes them.
    TImportOptions Options() const;
    // The preview's table (the first rows as they would be imported).
    const TDatasheet& Preview() const { return m_preview; }
    // The message when the file could not be looked into; empty otherwise.
    const QString& Problem() const { return m_problem; }

    static constexpr int kPreviewRows = 20;

private:
    void BuildTextChoices(QFormLayout* form);
    void BuildSheetChoices(QFormLayout* form);
    void RefreshPreview();

    std::string m_path;
    TImportKind m_kind;
    TDatasheet m_preview;
    QString m_problem;
    QComboBox* m_encoding = nullptr;
    QComboBox* m_delimiter = nullptr;
    QCheckBox* m_fieldNames = nullptr;
    QComboBox* m_sheet = nullptr;
    QCheckBox* m_storedValues = nullptr;
    QTableView* m_grid = nullptr;
    TDatasheetModel* m_model = nullptr;
    QLabel* m_detected = nullptr;
};

} // namespace qbm
