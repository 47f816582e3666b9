#include "cli/CliLibrary.h"

#include "cli/CliCommand.h"
#include "templates/TemplateLibrary.h"
#include "util/Errors.h"

#include <filesystem>
#include <fstream>

namespace qbm::cli {

Option LibraryOption() {
    return {"--library", "PATH",
            "the template library (default: the program's own Templates.dat, written with the\n"
            "default templates when it is missing)"};
}

std::string LibraryPathFor(const Args& args) {
    const std::string path = args.Value("--library", TemplateLibraryPath());
    WriteDefaultTemplates(path);
    CheckLibraryReadable(path);
    return path;
}

void CheckLibraryReadable(const std::string& path) {
    // The INI engine reads a file it cannot open as an empty library, and a device such as /dev/zero
    // without end: either would list no templates, or blame the project's template for it.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw EInOutError("Cannot read template library " + path + ": not a regular file");
    if (!std::ifstream(path, std::ios::binary)) throw EInOutError("Cannot read template library " + path);
}

} // namespace qbm::cli
