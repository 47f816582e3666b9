#include "output/CalibrationSheet.h"
#include "surface/TPageFileWriter.h"
#include "surface/TRasterPrinter.h"

#include "TestSupport.h"

namespace qbm {
namespace {

// The sheet as a page file, drawn whole (bandRows 0) or in bands of `bandRows` rows.
std::string SheetFile(int bandRows) {
    const std::string dir = test::MakeTempDir();
    TRasterPrinter printer(TPaperSize::A4(), 150, std::make_unique<TPageFileWriter>(dir, 1));
    printer.SetBandRows(bandRows);
    TLayoutSettings layout;
    layout.rows = 4;
    layout.columns = 3;
    PrintCalibrationSheet(printer, layout, "PNG");
    return test::ReadWholeFile(TPageFileWriter(dir, 1).PagePath(1));
}

// Rulers, cell outlines, crosses and the caption cut by band edges come out as on the page drawn
// whole.
TEST(CalibrationSheet, SheetDrawnInBandsIsTheSheetDrawnWhole) {
    const std::string whole = SheetFile(0);
    ASSERT_FALSE(whole.empty());
    for (const int rows : {1, 23, 400}) EXPECT_TRUE(SheetFile(rows) == whole) << "bands of " << rows;
}

} // namespace
} // namespace qbm
