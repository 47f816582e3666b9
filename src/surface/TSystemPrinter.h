#pragma once
// The system's printers (CUPS through Qt print support). "No printer installed" is an empty list.

#include "surface/TPrinter.h"

#include <memory>
#include <string>
#include <vector>

namespace qbm {

class TSystemPrinter : public TPrinter {
public:
    // An empty name takes the system's default printer.
    explicit TSystemPrinter(const std::string& printerName = {});
    ~TSystemPrinter() override;

    static std::vector<std::string> InstalledPrinters();

    int PrinterCount() const override;
    std::string Title() const override { return m_title; }
    void SetTitle(const std::string& title) override { m_title = title; }
    int ResolutionX() const override;
    int ResolutionY() const override;
    int PageWidth() const override;
    int PageHeight() const override;
    TPrinterOrientation Orientation() const override;
    void SetOrientation(TPrinterOrientation orientation) override;
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override;
    TCanvas& Canvas() override;

    // The underlying QPrinter, for the GUI's printer setup dialog (a QPrinter*).
    void* NativePrinter() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
    std::string m_title = "Barcode labels";
};

} // namespace qbm
