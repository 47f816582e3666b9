#pragma once
// A printer's correction of where labels land: an offset and a scale in each direction, kept per
// printer name in the user's settings and applied to every run on that printer (the preview shows
// the sheet as designed and stays uncorrected).

#include "surface/Graphics.h"

#include <optional>
#include <string>

namespace qbm {

struct TPrinterCalibration {
    double offsetX = 0; // millimetres to the right
    double offsetY = 0; // millimetres down
    double scaleX = 1;  // positions measured from the page's top left corner are multiplied by these
    double scaleY = 1;

    bool IsIdentity() const { return offsetX == 0 && offsetY == 0 && scaleX == 1 && scaleY == 1; }
    // Where a point of the page at resX x resY dots per inch goes on this printer.
    TPoint Map(TPoint p, int resX, int resY) const;
    // Empty when the values are usable; otherwise what is wrong with them. A correction beyond
    // 50 mm or 10 % is a typing error, not a printer's error, and would push labels off the sheet.
    std::string Problem() const;

    friend bool operator==(const TPrinterCalibration&, const TPrinterCalibration&) = default;
};

// The store of calibrations: the user's settings, or an INI file of its own (for tests and tools).
class TCalibrationStore {
public:
    explicit TCalibrationStore(std::string settingsFile = {}) : m_file(std::move(settingsFile)) {}

    // The printer's calibration; no correction when none was saved or the saved one is unusable.
    TPrinterCalibration Load(const std::string& printerName) const;
    // Throws std::invalid_argument with Problem() for unusable values or without a printer name, and
    // std::runtime_error when the settings cannot be written.
    void Save(const std::string& printerName, const TPrinterCalibration& calibration) const;
    // Throws as Save does: an empty name would clear every printer.
    void Clear(const std::string& printerName) const;

private:
    std::string m_file;
};

} // namespace qbm
