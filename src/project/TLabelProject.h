#pragma once
// The document: everything a project file stores and the code value sources read, held apart from
// any widget so that the GUI, the CLI and the tests share it.

#include "data/TDatasheet.h"
#include "design/TLabelDesign.h"
#include "project/TPrintPreferences.h"
#include "project/TStockChoice.h"
#include "surface/Graphics.h"
#include "symbols/TSymbolSettings.h"
#include "templates/T2DSettings.h"
#include "templates/TTemplate.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

// The kind of the code tab shown last; it decides which pair of sources the labels come from.
enum class TBarcodeKind { bkLinear, bk2D };
enum class TLinearSource { lsConstant, lsDatasheet };
enum class T2DSource { tsCodeList, tsFixedText };

// Entry 0 of the data-field lists, as it reads at start, after the datasheet window and after a load.
inline constexpr std::string_view kFieldPlaceholderStart = "Please choose the data field";
inline constexpr std::string_view kFieldPlaceholderDatasheet = "Please choose the data field ...";
inline constexpr std::string_view kFieldPlaceholderLoaded = "Please choose the data field ... ";

inline constexpr std::array<std::string_view, 6> k2DFormatNames = {"PDF417 Format",  "Maxicode Format",
                                                                   "QR Code Format", "Data Matrix Format",
                                                                   "Aztec Format",   "Micro QR Format"};
// The formats from this index on are drawn through the symbols' encoders, in the order of
// k2DSymbolFormats.
inline constexpr int kFirstSymbolFormat = 2;
inline constexpr std::array<TSymbology, 4> k2DSymbolFormats = {TSymbology::QrCode, TSymbology::DataMatrix,
                                                               TSymbology::Aztec, TSymbology::MicroQr};

class TLabelProject {
public:
    static constexpr int kMinAmount = 1;
    static constexpr int kMaxAmount = 999999999;
    static constexpr int kMinLinage = 1;
    static constexpr int kMaxLinage = 30;
    static constexpr int kMinColumn = 1;
    static constexpr int kMaxColumn = 50;
    static constexpr int kMinMargin = 0;
    static constexpr int kMaxMargin = 800;

    // As a new main window starts: constant value and fixed text selected, the linear kind.
    TLabelProject();

    // The New command: sources and values back to their starting state. The template, the extended
    // caption, the datasheet, the field choices, the 2D source choice and the orientation stay.
    void NewProject();

    // The selected template's name; empty when none is selected.
    const std::string& TemplateName() const { return m_templateName; }
    void SetTemplateName(std::string name) { m_templateName = std::move(name); }
    bool HasTemplate() const { return !m_templateName.empty(); }
    // The settings of the template the labels are drawn with, carried in the project so that it
    // prints the same on a machine whose library lacks the template or holds another version of it.
    const std::optional<TTemplate>& TemplateCopy() const { return m_templateCopy; }
    void SetTemplateCopy(std::optional<TTemplate> t) { m_templateCopy = std::move(t); }
    // The label as a design of objects; none for the classic label (one barcode and its caption).
    const std::optional<TLabelDesign>& Design() const { return m_design; }
    void SetDesign(std::optional<TLabelDesign> design) { m_design = std::move(design); }
    // "Verify every label": every label is read back before printing. On for a new project; a file
    // that does not say keeps it off.
    bool VerifyLabels() const { return m_printPreferences.verify; }
    void SetVerifyLabels(bool on) { m_printPreferences.verify = on; }

    TBarcodeKind Kind() const { return m_kind; }
    void SetKind(TBarcodeKind kind) { m_kind = kind; }

    TLinearSource LinearSource() const { return m_linearSource; }
    void SetLinearSource(TLinearSource source) { m_linearSource = source; }
    const std::string& FixedCode() const { return m_fixedCode; }
    void SetFixedCode(std::string code) { m_fixedCode = std::move(code); }
    const std::string& ExtCaption() const { return m_extCaption; }
    void SetExtCaption(std::string caption) { m_extCaption = std::move(caption); }
    int FixedCodeAmount() const { return m_fixedCodeAmount; }
    void SetFixedCodeAmount(int amount);

    // The two data-field lists: entry 0 the placeholder, entry i the name of datasheet column i.
    const std::vector<std::string>& FieldList() const { return m_fieldList; }
    // Refills both lists from the datasheet's header row with the given placeholder as entry 0;
    // the selections are left as they are.
    void RebuildFieldList(std::string_view placeholder);
    // Selected indexes; -1 selects nothing, and a field is chosen from index 1 on.
    int CodeField() const { return m_codeField; }
    void SetCodeField(int index) { m_codeField = ValidFieldIndex(index); }
    int CapField() const { return m_capField; }
    void SetCapField(int index) { m_capField = ValidFieldIndex(index); }
    // The text of the selected entry ("" when nothing is selected).
    std::string CodeFieldName() const;
    std::string CapFieldName() const;

    T2DSource Source2D() const { return m_source2D; }
    void SetSource2D(T2DSource source) { m_source2D = source; }
    std::vector<std::string>& CodeList2D() { return m_codeList2D; }
    const std::vector<std::string>& CodeList2D() const { return m_codeList2D; }
    // The fixed 2D text, its lines joined by CR LF.
    const std::string& Text2D() const { return m_text2D; }
    void SetText2D(std::string text) { m_text2D = std::move(text); }
    int Amount2D() const { return m_amount2D; }
    void SetAmount2D(int amount);
    // 0: PDF417, 1: MaxiCode, then QR Code, Data Matrix, Aztec and Micro QR: the index of the 2D format
    // list. An index beyond it is PDF417.
    int Format2D() const { return m_format2D; }
    void SetFormat2D(int index) {
        m_format2D = index >= 0 && index < static_cast<int>(k2DFormatNames.size()) ? index : 0;
    }
    std::string_view Format2DName() const { return k2DFormatNames[static_cast<size_t>(m_format2D)]; }
    // The options of QR Code, Data Matrix, Aztec and Micro QR; Symbol2DSettings() carries the symbology
    // of the chosen format, when it is one of them.
    void SetSymbolOptions2D(const TSymbolSettings& options) { m_symbolOptions2D = options; }
    const TSymbolSettings& SymbolOptions2D() const { return m_symbolOptions2D; }
    std::optional<TSymbolSettings> Symbol2DSettings() const {
        if (m_format2D < kFirstSymbolFormat) return std::nullopt;
        TSymbolSettings s = m_symbolOptions2D;
        s.symbology = k2DSymbolFormats[static_cast<size_t>(m_format2D - kFirstSymbolFormat)];
        return s;
    }

    // The project's own copy of the 2D settings (symbol options, MaxiCode mode and carrier data), so
    // that a project moved to another machine prints the same symbols; nullopt until it has one (an
    // older file), when the library's settings apply.
    const std::optional<T2DSettings>& Settings2D() const { return m_settings2D; }
    void SetSettings2D(std::optional<T2DSettings> settings) { m_settings2D = std::move(settings); }

    // The print options of the project's runs.
    const TPrintPreferences& PrintPreferences() const { return m_printPreferences; }
    void SetPrintPreferences(const TPrintPreferences& p) { m_printPreferences = p; }

    // Filled by "Import Various Code ..." and "Serial Code ..." in the linear kind; not printed.
    std::vector<std::string>& LinearCodeList() { return m_linearCodeList; }
    const std::vector<std::string>& LinearCodeList() const { return m_linearCodeList; }

    // Rows, columns and margins changed to another value drop the label stock: the grid no longer
    // follows its sheet.
    int Linage() const { return m_linage; }
    void SetLinage(int rows);
    int Column() const { return m_column; }
    void SetColumn(int columns);
    int MarginLeft() const { return m_marginLeft; }
    void SetMarginLeft(int mm);
    int MarginRight() const { return m_marginRight; }
    void SetMarginRight(int mm);
    int MarginTop() const { return m_marginTop; }
    void SetMarginTop(int mm);
    int MarginBottom() const { return m_marginBottom; }
    void SetMarginBottom(int mm);
    bool SplitMarks() const { return m_splitMarks; }
    void SetSplitMarks(bool on) { m_splitMarks = on; }
    TPrinterOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TPrinterOrientation orientation) { m_orientation = orientation; }

    // The label stock the grid was set from. Choosing one sets rows, columns, the whole-millimetre
    // margins (rounded), the orientation and then the stock itself; see the stock folder.
    const std::optional<TStockChoice>& Stock() const { return m_stock; }
    void SetStock(std::optional<TStockChoice> stock) { m_stock = std::move(stock); }
    // The margins in millimetres as the page grid uses them: to a hundredth with a stock chosen.
    double MarginLeftMm() const;
    double MarginRightMm() const;
    double MarginTopMm() const;
    double MarginBottomMm() const;

    TDatasheet& Datasheet() { return m_datasheet; }
    const TDatasheet& Datasheet() const { return m_datasheet; }

private:
    int ValidFieldIndex(int index) const;

    std::string m_templateName;
    std::optional<TTemplate> m_templateCopy;
    std::optional<TLabelDesign> m_design;
    TBarcodeKind m_kind = TBarcodeKind::bkLinear;
    TLinearSource m_linearSource = TLinearSource::lsConstant;
    std::string m_fixedCode;
    std::string m_extCaption;
    int m_fixedCodeAmount = 1;
    std::vector<std::string> m_fieldList;
    int m_codeField = 0;
    int m_capField = 0;
    T2DSource m_source2D = T2DSource::tsFixedText;
    std::vector<std::string> m_codeList2D;
    std::string m_text2D;
    int m_amount2D = 1;
    int m_format2D = 0;
    std::optional<T2DSettings> m_settings2D;
    TPrintPreferences m_printPreferences;
    TSymbolSettings m_symbolOptions2D;
    std::vector<std::string> m_linearCodeList;
    int m_linage = 2;
    int m_column = 2;
    int m_marginLeft = 10;
    int m_marginRight = 10;
    int m_marginTop = 10;
    int m_marginBottom = 10;
    bool m_splitMarks = true;
    TPrinterOrientation m_orientation = TPrinterOrientation::poPortrait;
    std::optional<TStockChoice> m_stock;
    TDatasheet m_datasheet;
};

} // namespace qbm
