#include "cli/BarcodeOptions.h"

#include <iostream>

namespace qbm::cli {
namespace {

int RunEncode(const Args& args) {
    args.OnlyKnown({"--checksum", "--modul", "--ratio"});
    TBarcode bc;
    ApplyBarcodeOptions(args, bc);
    std::cout << bc.BuildPattern() << "\n";
    return 0;
}

const std::string kUsage =
    std::string("Usage: qbm encode TYPE TEXT [--checksum] [--modul N] [--ratio R]\n\n"
                "Prints the bar pattern of TEXT on one line: \"0\"-\"3\" gaps, \"5\"-\"8\" "
                "bars,\n\"A\"-\"D\" short bars, each of width W1 to W4.\n\n") +
    BarcodeTypeHelp() +
    "\n\n  --checksum  add the optional check digit\n"
    "  --modul N   narrow element width in pixels, 1 to 49 (default 1)\n"
    "  --ratio R   wide-to-narrow ratio (default 2)";

} // namespace

QBM_REGISTER_COMMAND(Command{
    "encode", "print the bar pattern of a linear barcode", kUsage, RunEncode, {"--checksum"}});

} // namespace qbm::cli
