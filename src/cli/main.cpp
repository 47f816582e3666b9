// qbm: the label engines from the command line.

#include "cli/CliCommand.h"
#include "util/TempFileCleanup.h"

#include <exception>
#include <iostream>

namespace {

void PrintOverview() {
    std::cout << "Usage: qbm COMMAND [ARGS] [--help]\n\nCommands:\n";
    for (const auto& [name, cmd] : qbm::cli::Registry())
        std::cout << "  " << name << "\t" << cmd.summary << "\n";
}

} // namespace

int main(int argc, char** argv) {
    using namespace qbm::cli;
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h" ||
        std::string(argv[1]) == "help") {
        PrintOverview();
        return argc < 2 ? 2 : 0;
    }
    const auto it = Registry().find(argv[1]);
    if (it == Registry().end()) {
        std::cerr << "qbm: unknown command '" << argv[1] << "'\n";
        PrintOverview();
        return 2;
    }
    const Command& cmd = it->second;
    qbm::RemoveTempFilesOnSignals();
    try {
        const Args args(std::vector<std::string>(argv + 2, argv + argc), cmd.options);
        if (args.WantsHelp()) {
            std::cout << UsageText(cmd) << "\n";
            return 0;
        }
        return cmd.run(args);
    } catch (const UsageError& e) {
        std::cerr << "qbm " << cmd.name << ": " << e.what() << "\n\n" << UsageText(cmd) << "\n";
        return 2;
    } catch (const std::exception& e) {
        // Engine errors carry the system's own message texts; print them as they are.
        std::cerr << e.what() << "\n";
        return 1;
    }
}
