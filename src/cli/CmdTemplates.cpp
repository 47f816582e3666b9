#include "cli/CliCommand.h"
#include "cli/CliLibrary.h"
#include "templates/TemplateLibrary.h"
#include "util/Text.h"

#include <iostream>

namespace qbm::cli {
namespace {

const char* kUsage =
    "Usage: qbm templates [--library PATH]\n"
    "Lists the template names of the library in file order. Without --library the program's\n"
    "own Templates.dat is used, written with the default templates when it is missing.";

int RunTemplates(const Args& args) {
    args.OnlyKnown({"--library"});
    if (!args.Positional().empty()) throw UsageError("no arguments expected");
    const std::string path = args.Has("--library") ? *args.Value("--library") : TemplateLibraryPath();
    WriteDefaultTemplates(path);
    CheckLibraryReadable(path);
    for (const std::string& name : LoadTemplateNames(path)) std::cout << Latin1ToUtf8(name) << "\n";
    return 0;
}

} // namespace

QBM_REGISTER_COMMAND(Command{"templates", "list the templates of the library", kUsage, RunTemplates, {}});

} // namespace qbm::cli
