#pragma once
// "Printer Calibration": the correction a user reads off the calibration sheet for one printer, how
// far labels move right and down and how much positions stretch, saved for every later run on it.

#include "output/TPrinterCalibration.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QDoubleSpinBox;

namespace qbm {

class TCalibrationDialog : public QDialog {
    Q_OBJECT
public:
    // `printers`: the names to choose from ("PDF" among them); `current` is chosen first. `printSheet`
    // prints the calibration sheet (the dialog's "Print Calibration Sheet" button).
    TCalibrationDialog(std::vector<std::string> printers, const std::string& current, TCalibrationStore store,
                       std::function<void()> printSheet, QWidget* parent = nullptr);

    std::string Printer() const;
    TPrinterCalibration Values() const;
    // Saves the values for the chosen printer; unusable values are named and keep the dialog open.
    void accept() override;

private:
    void Show(const TPrinterCalibration& c);

    TCalibrationStore m_store;
    QComboBox* m_printer;
    QDoubleSpinBox* m_offsetX;
    QDoubleSpinBox* m_offsetY;
    QDoubleSpinBox* m_scaleX;
    QDoubleSpinBox* m_scaleY;
};

} // namespace qbm
