#include "gui/TDatasheetServices.h"

#include "gui/TFM_Import.h"

#include "data/DatasheetImport.h"
#include "gui/TFM_GetTable.h"
#include "gui/TFM_Sdata.h"
#include "gui/THelpViewer.h"
#include "gui/TQtProgress.h"

#include <QFileDialog>
#include <QImageReader>

namespace qbm {

QString DialogFilter(const char* filter) {
    const QStringList parts = QString::fromLatin1(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

TDatasheetServices::TDatasheetServices(TUserPrompts& prompts) : m_prompts(prompts) {}

TDatasheetServices::~TDatasheetServices() {
    delete m_sequence.data();
    delete m_picker.data();
}

std::optional<std::string> TDatasheetServices::AskImportPath(QWidget* parent) {
    const QString path = QFileDialog::getOpenFileName(parent, QStringLiteral("Import Data"), QString(),
                                                      DialogFilter(kImportFilter));
    if (path.isEmpty()) return std::nullopt;
    return path.toLocal8Bit().toStdString();
}

std::optional<TImportOptions> TDatasheetServices::AskImportOptions(QWidget* parent, const std::string& path) {
    // Databases have their table picker; other kinds have nothing to choose.
    const TImportKind kind = ImportKindOf(path);
    if (kind != TImportKind::ikText && kind != TImportKind::ikWorkbook) return TImportOptions{};
    TFM_Import dialog(path, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Options();
}

std::vector<std::string> TDatasheetServices::AskPicturePaths(QWidget* parent, bool several) {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    const QString filter =
        QStringLiteral("Pictures (") + patterns.join(QLatin1Char(' ')) + QStringLiteral(");;All Files (*)");
    QStringList chosen;
    if (several) {
        chosen = QFileDialog::getOpenFileNames(parent, QStringLiteral("Open Pictures"), QString(), filter);
    } else {
        const QString one =
            QFileDialog::getOpenFileName(parent, QStringLiteral("Open Picture"), QString(), filter);
        if (!one.isEmpty()) chosen << one;
    }
    std::vector<std::string> paths;
    for (const QString& p : chosen) paths.push_back(p.toStdString()); // the datasheet holds UTF-8
    return paths;
}

TFM_GetTable* TDatasheetServices::TablePicker(QWidget* parent) {
    if (!m_picker) m_picker = new TFM_GetTable(parent);
    return m_picker;
}

std::optional<std::string> TDatasheetServices::PickTable(QWidget* parent,
                                                         const std::vector<std::string>& names) {
    return TablePicker(parent)->Pick(names);
}

TFM_Sdata* TDatasheetServices::SequenceDialog(QWidget* parent) {
    if (!m_sequence) m_sequence = new TFM_Sdata(m_prompts, parent);
    return m_sequence;
}

std::optional<std::vector<std::string>> TDatasheetServices::Sequence(QWidget* parent) {
    TFM_Sdata* dialog = SequenceDialog(parent);
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    return dialog->Codes();
}

std::unique_ptr<TProgress> TDatasheetServices::Progress(QWidget* parent, const QString& label) {
    return std::make_unique<TQtProgress>(parent, label);
}

void TDatasheetServices::Help(QWidget* parent, const QString& topic) {
    ShowHelpTopic(parent, topic);
}

} // namespace qbm
