#include "cli/CliCommand.h"

#include <iostream>

namespace qbm::cli {
namespace {

int RunVersion(const Args&) {
    std::cout << "qbm 0.1 (Quirbel Barcode Maker)\n";
    return 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{.name = "version",
                             .summary = "print the version",
                             .synopsis = "",
                             .description = "",
                             .options = {},
                             .run = RunVersion});

} // namespace qbm::cli
