#include "cli/CliLibrary.h"

#include "cli/CliCommand.h"
#include "templates/TemplateLibrary.h"

namespace qbm::cli {

std::string LibraryPathFor(const Args& args) {
    const std::string path = args.Value("--library", TemplateLibraryPath());
    WriteDefaultTemplates(path);
    return path;
}

} // namespace qbm::cli
