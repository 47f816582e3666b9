#include "cli/BarcodeOptions.h"

#include <iostream>

namespace qbm::cli {
namespace {

int RunEncode(const Args& args) {
    TBarcode bc;
    ApplyBarcodeOptions(args, bc);
    if (bc.DrawsGeometry())
        throw UsageError(std::string(bc.TypeName()) + " is drawn from its symbol, not from a bar pattern");
    std::cout << bc.BuildPattern() << "\n";
    return 0;
}

const std::string kDescription =
    std::string("Prints the bar pattern of TEXT on one line: \"0\"-\"3\" gaps, \"5\"-\"8\" bars,\n"
                "\"A\"-\"D\" short bars, each of width W1 to W4.\n\n") +
    BarcodeTypeHelp();

} // namespace

QBM_REGISTER_COMMAND(Command{.name = "encode",
                             .summary = "print the bar pattern of a linear barcode",
                             .synopsis = "TYPE TEXT [OPTIONS]",
                             .description = kDescription,
                             .options = BarcodeOptionTable(),
                             .run = RunEncode});

} // namespace qbm::cli
