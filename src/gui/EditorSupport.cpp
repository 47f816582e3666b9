#include "gui/EditorSupport.h"

#include "gui/GuiText.h"
#include "gui/TBrandLabel.h"
#include "surface/TBitmap.h"
#include "surface/TBitmapImpl.h"
#include "surface/TSystemPrinter.h"
#include "util/TUserPrompts.h"

#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace qbm {
namespace {

// A stored font without a size is drawn at the toolkit's default size.
constexpr int kDefaultPoints = 8;

} // namespace

QImage ToQImage(const TBitmap& bitmap) {
    return bitmap.Internal().Image().copy();
}

QFont FontForDialog(const TFont& font) {
    QFont q(QString::fromLatin1(ResolveFontFamily(font.Name()).c_str()));
    q.setPointSize(font.Size() > 0 ? font.Size() : kDefaultPoints);
    q.setBold(font.Style() & fsBold);
    q.setItalic(font.Style() & fsItalic);
    q.setUnderline(font.Style() & fsUnderline);
    q.setStrikeOut(font.Style() & fsStrikeOut);
    return q;
}

TFont FontFromDialog(const QFont& q, const TFont& base) {
    TFont font = base;
    font.SetName(q.family().toLatin1().toStdString());
    font.SetSize(q.pointSize() > 0 ? q.pointSize() : kDefaultPoints);
    TFontStyles style = 0;
    if (q.bold()) style |= fsBold;
    if (q.italic()) style |= fsItalic;
    if (q.underline()) style |= fsUnderline;
    if (q.strikeOut()) style |= fsStrikeOut;
    font.SetStyle(style);
    return font;
}

std::optional<QFont> ChooseFontWithDialog(QWidget* parent, const QFont& current, const QString& title) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, current, parent, title);
    if (!ok) return std::nullopt;
    return font;
}

QString FilterExtension(const QString& filter) {
    const QRegularExpressionMatch m = QRegularExpression(R"(\*(\.[A-Za-z0-9]+))").match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString WithFilterExtension(const QString& path, const QString& filter) {
    const QString ext = FilterExtension(filter);
    if (ext.isEmpty() || path.endsWith(ext, Qt::CaseInsensitive)) return path;
    return path + ext;
}

QString PathForFilters(const QString& typed, const QString& chosenFilter, const QStringList& filters) {
    const QString suffix = QFileInfo(typed).suffix().toLower();
    const QString spelled = suffix == "jpeg" ? "jpg" : suffix == "tiff" ? "tif" : suffix;
    for (const QString& filter : filters)
        if (!spelled.isEmpty() && FilterExtension(filter).mid(1).toLower() == spelled) return typed;
    return WithFilterExtension(typed, chosenFilter);
}

QStringList PictureExportFilters(const QString& first) {
    QStringList filters = {"Bitmaps (*.bmp)",    "PNG Image (*.png)",   "JPEG Image (*.jpg)",
                           "TIFF Image (*.tif)", "SVG Drawing (*.svg)", "PDF Document (*.pdf)"};
    filters.removeAll(first);
    filters.prepend(first);
    return filters;
}

std::optional<QString> ChooseSavePathWithDialog(QWidget* parent, const QString& caption,
                                                const QStringList& filters) {
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(FilterExtension(filters.value(0)).mid(1));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(FilterExtension(filter).mid(1));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString typed = dialog.selectedFiles().front();
    const QString path = PathForFilters(typed, dialog.selectedNameFilter(), filters);
    // The dialog asked about the name as typed; a name that only now got its extension is asked here.
    if (path != typed && QFileInfo::exists(path) &&
        QMessageBox::warning(parent, caption,
                             QFileInfo(path).fileName() + " already exists.\nDo you want to replace it?",
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return std::nullopt;
    return path;
}

int EditorPrinterResolution() {
    if (TSystemPrinter::InstalledPrinters().empty()) return 300;
    const int dpi = TSystemPrinter().ResolutionX();
    return dpi > 0 ? dpi : 300;
}

QHBoxLayout* EditorButtonRow(QPushButton* exportButton, QPushButton* ok) {
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new TBrandLabel);
    buttons->addStretch();
    buttons->addWidget(exportButton);
    buttons->addWidget(ok);
    exportButton->hide();
    ok->setDefault(true);
    return buttons;
}

QHBoxLayout* OkCancelRow(QDialog* dialog) {
    auto* ok = Named(new QPushButton(QStringLiteral("&OK"), dialog), "Btn_OK", QStringLiteral("OK"));
    auto* cancel =
        Named(new QPushButton(QStringLiteral("&Cancel"), dialog), "Btn_Cancel", QStringLiteral("Cancel"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    return buttons;
}

bool LeavesField(const QEvent* event) {
    return event->type() == QEvent::FocusOut &&
           static_cast<const QFocusEvent*>(event)->reason() != Qt::PopupFocusReason;
}

void ExportPreview(QWidget* parent, const TSavePathChooser& choosePath, const QStringList& filters,
                   TUserPrompts& prompts, const std::function<void(const std::string& path)>& write) {
    const auto path = choosePath(parent, "Export Image", filters);
    if (!path) return;
    try {
        write(path->toLocal8Bit().toStdString());
    } catch (const std::runtime_error& e) {
        prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, e.what());
    }
}

} // namespace qbm
