#include "cli/CliProject.h"

#include "cli/CliCommand.h"
#include "util/Errors.h"
#include "util/Text.h"

#include <filesystem>
#include <iostream>

namespace qbm::cli {

TBarcodeKind KindOption(const Args& args) {
    const std::string kind = args.Value("--kind", "linear");
    if (kind != "linear" && kind != "2d") throw UsageError("--kind must be linear or 2d, not '" + kind + "'");
    return kind == "2d" ? TBarcodeKind::bk2D : TBarcodeKind::bkLinear;
}

void LoadProjectForRun(const Args& args, const std::string& path, TLabelProject& project,
                       const TProjectEnvironment& env) {
    const TBarcodeKind kind = KindOption(args);
    if (!std::filesystem::is_regular_file(path)) throw EInOutError("Cannot open file \"" + path + "\"");
    for (const std::string& warning : LoadProject(path, project, env)) std::cerr << Latin1ToUtf8(warning) << "\n";
    project.SetKind(kind);
}

} // namespace qbm::cli
