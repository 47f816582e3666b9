#include "cli/CliCommand.h"
#include "cli/CliLibrary.h"
#include "templates/TemplateLibrary.h"
#include "util/Text.h"

#include <iostream>

namespace qbm::cli {
namespace {

const char* kDescription = "Lists the template names of the library in file order.";

int RunTemplates(const Args& args) {
    if (!args.Positional().empty()) throw UsageError("no arguments expected");
    const std::string path = args.Has("--library") ? *args.Value("--library") : TemplateLibraryPath();
    WriteDefaultTemplates(path);
    CheckLibraryReadable(path);
    for (const std::string& name : LoadTemplateNames(path)) std::cout << Latin1ToUtf8(name) << "\n";
    return 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{.name = "templates",
                             .summary = "list the templates of the library",
                             .synopsis = "[OPTIONS]",
                             .description = kDescription,
                             .options = {LibraryOption()},
                             .run = RunTemplates});

} // namespace qbm::cli
