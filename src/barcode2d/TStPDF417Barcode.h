#pragma once
// The PDF417 component: compaction, error correction, sizing and drawing of the stacked symbol.

#include "barcode2d/Pdf417Encoder.h"
#include "barcode2d/TStCustom2DBarcode.h"

#include <cstdint>
#include <vector>

namespace qbm {

// Ordinals are stored in templates.
enum TStPDF417ECCLevels : uint8_t {
    ecAuto,
    ecLevel0,
    ecLevel1,
    ecLevel2,
    ecLevel3,
    ecLevel4,
    ecLevel5,
    ecLevel6,
    ecLevel7,
    ecLevel8
};

struct TPdf417Dimensions {
    int columns = 0;
    int rows = 0;
    friend bool operator==(const TPdf417Dimensions&, const TPdf417Dimensions&) = default;
};

class TStPDF417Barcode : public TStCustom2DBarcode {
public:
    TStPDF417Barcode();

    TStPDF417ECCLevels ECCLevel() const;
    void SetECCLevel(TStPDF417ECCLevels level);
    // Data columns 0..30 and rows 0..90; 0 lets the component choose.
    int NumColumns() const { return m_numColumns; }
    void SetNumColumns(int columns);
    int NumRows() const { return m_numRows; }
    void SetNumRows(int rows);
    // Compact form: no right row indicator, a one-module stop bar.
    bool Truncated() const { return m_truncated; }
    void SetTruncated(bool truncated);

    void SetBarWidth(int pixels) override;
    void SetBarHeight(int pixels) override;
    void SetBarHeightToWidth(int ratio) override;
    void SetRelativeBarHeight(bool relative) override;

    bool PrintsAsShapes() const override { return true; }

    // The codeword buffer: descriptor, data, pads and check codewords of the current symbol.
    const TPdf417Codewords& Codewords() const { return m_codewords; }
    int CodewordCount() const { return m_codewords.count; }
    // Every codeword of the symbol in row order (columns x rows entries).
    std::vector<int> SymbolCodewords() const;

    // The level in use, 0..8.
    int EffectiveECCLevel() const;
    TPdf417Dimensions CalcDimensions() const;
    // The 17-module pattern of value v in the cluster of the row; "Invalid Codeword" outside 0..928.
    static uint32_t CodewordPattern(int row, int v);

protected:
    int CalcBarCodeWidth(int width) override;
    int CalcBarCodeHeight(int height) override;
    void DrawBarcode() override;
    void GenerateCodewords() override;

private:
    int CheckCodewordCount() const { return 2 << EffectiveECCLevel(); }
    // Module width and row height in dots of the device being drawn for.
    int DeviceBarWidth() const;
    int RowHeight() const;
    void RequireRowHeightSource(int barHeight, int ratio, bool relative) const;

    int m_eccLevel = -1; // -1 is ecAuto
    int m_numColumns = 0;
    int m_numRows = 0;
    bool m_truncated = false;
    TPdf417Codewords m_codewords;
};

} // namespace qbm
