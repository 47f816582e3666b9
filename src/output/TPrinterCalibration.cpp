#include "output/TPrinterCalibration.h"

#include "util/Rounding.h"

#include <QFile>
#include <QSettings>
#include <QUrl>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace qbm {
namespace {

constexpr double kMaxOffsetMm = 50;
// The limits themselves are allowed: compared as written, not as 1 + 0.1 (which is more than 1.1).
constexpr double kMinScale = 0.9;
constexpr double kMaxScale = 1.1;

std::unique_ptr<QSettings> OpenSettings(const std::string& file) {
    if (!file.empty()) return std::make_unique<QSettings>(QString::fromStdString(file), QSettings::IniFormat);
    return std::make_unique<QSettings>("Quirbel", "Quirbel Barcode Maker");
}

// The settings store writes its file in place: a write cut short (a full disk, a file-size limit)
// leaves a truncated file and still reports success. So the change is made on a copy beside the file,
// the copy is read back and compared key by key, and only a complete copy replaces the file.
void EditSettings(const std::string& file, const std::function<void(QSettings&)>& edit) {
    const QString path = OpenSettings(file)->fileName();
    const QString copy = path + "." + QString::number(getpid()) + ".part";
    const auto fail = [&] {
        QFile::remove(copy);
        throw std::runtime_error("Cannot save the printer calibration");
    };
    QFile::remove(copy);
    if (QFile::exists(path) && !QFile::copy(path, copy)) fail();
    QStringList keys;
    std::vector<QVariant> values;
    {
        QSettings settings(copy, QSettings::IniFormat);
        edit(settings);
        settings.sync();
        if (settings.status() != QSettings::NoError) fail();
        keys = settings.allKeys();
        for (const QString& key : keys) values.push_back(settings.value(key));
    }
    QSettings written(copy, QSettings::IniFormat);
    if (written.status() != QSettings::NoError || written.allKeys().size() != keys.size()) fail();
    for (qsizetype i = 0; i < keys.size(); ++i)
        if (written.value(keys[i]) != values[static_cast<size_t>(i)]) fail();
    std::error_code error;
    std::filesystem::rename(copy.toStdString(), path.toStdString(), error);
    if (error) fail();
}

// Printer names may hold "/" and other characters a settings key treats specially.
QString GroupOf(const std::string& printerName) {
    // An empty name would address the whole group: every printer's calibration.
    if (printerName.empty()) throw std::invalid_argument("a printer name is needed");
    return "PrinterCalibration/" +
           QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(printerName)));
}

} // namespace

TPoint TPrinterCalibration::Map(TPoint p, int resX, int resY) const {
    return {Rnd(p.x * scaleX + offsetX / 25.4 * resX), Rnd(p.y * scaleY + offsetY / 25.4 * resY)};
}

std::string TPrinterCalibration::Problem() const {
    for (const double offset : {offsetX, offsetY})
        if (!std::isfinite(offset) || std::abs(offset) > kMaxOffsetMm) return "offsets go from -50 to 50 mm";
    for (const double scale : {scaleX, scaleY})
        if (!std::isfinite(scale) || scale < kMinScale || scale > kMaxScale)
            return "scales go from 0.9 to 1.1";
    return {};
}

TPrinterCalibration TCalibrationStore::Load(const std::string& printerName) const {
    if (printerName.empty()) return {};
    const auto settings = OpenSettings(m_file);
    settings->beginGroup(GroupOf(printerName));
    TPrinterCalibration c;
    c.offsetX = settings->value("OffsetX", 0.0).toDouble();
    c.offsetY = settings->value("OffsetY", 0.0).toDouble();
    c.scaleX = settings->value("ScaleX", 1.0).toDouble();
    c.scaleY = settings->value("ScaleY", 1.0).toDouble();
    return c.Problem().empty() ? c : TPrinterCalibration{};
}

void TCalibrationStore::Save(const std::string& printerName, const TPrinterCalibration& c) const {
    if (const std::string problem = c.Problem(); !problem.empty()) throw std::invalid_argument(problem);
    const QString group = GroupOf(printerName);
    EditSettings(m_file, [&](QSettings& settings) {
        settings.beginGroup(group);
        settings.setValue("OffsetX", c.offsetX);
        settings.setValue("OffsetY", c.offsetY);
        settings.setValue("ScaleX", c.scaleX);
        settings.setValue("ScaleY", c.scaleY);
        settings.endGroup();
    });
}

void TCalibrationStore::Clear(const std::string& printerName) const {
    const QString group = GroupOf(printerName);
    EditSettings(m_file, [&](QSettings& settings) { settings.remove(group); });
}

} // namespace qbm
