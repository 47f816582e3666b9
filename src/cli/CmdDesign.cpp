#include "app/DesignLabel.h"
#include "cli/CliCommand.h"
#include "design/DesignJson.h"
#include "ini/TBigIniFile.h"
#include "project/DesignSections.h"
#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "util/AtomicFile.h"
#include "util/Errors.h"

#include <filesystem>
#include <iostream>

namespace qbm::cli {
namespace {

const char* kDescription =
    "Exports the label design of the project FILE.bpj as JSON, or imports one into it. The JSON form is\n"
    "{\"objects\": [{\"type\": \"text\" | \"barcode\" | \"image\" | \"line\" | \"rect\" | \"ellipse\",\n"
    "\"x_mm\", \"y_mm\", \"width_mm\", \"height_mm\", ...}]} (see docs/design-json.md). An export writes "
    "each\n"
    "picture beside the JSON file (DESIGN-picture-N.png); an import embeds the pictures its objects name,\n"
    "relative to the JSON file, so that the project travels alone. Unknown keys, kinds and symbologies\n"
    "are refused by name and the project is left as it was; objects that reach past the label are\n"
    "named on stderr. --classic takes the design out again: the project prints its one barcode.";

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path, const char* what) {
    std::string content;
    if (!ReadFileIfExists(path, content))
        throw EInOutError(std::string("Cannot open the ") + what + " \"" + path + "\".");
    return content;
}

void WriteFile(const std::string& path, std::string_view content) {
    try {
        WriteFileAtomically(path, content);
    } catch (const EInOutError& e) {
        throw EInOutError("Cannot write \"" + path + "\": " + e.what());
    }
}

int Export(const std::string& projectPath, const std::string& jsonPath) {
    TBigIniFile ini(projectPath);
    const std::optional<TLabelDesign> design = ReadDesignSections(ini, projectPath);
    if (!design) {
        std::cerr << "\"" << projectPath
                  << "\" holds the classic label (one barcode and its caption), no design.\n";
        return 1;
    }
    const fs::path target(jsonPath);
    const std::string stem = target.stem().string();
    const std::string json = DesignToJson(*design, [&](const TDesignPicture& picture, int number) {
        const std::string name = stem + "-picture-" + std::to_string(number) + "." +
                                 (picture.format == "jpeg" ? "jpg" : picture.format);
        WriteFileAtomically(
            (target.parent_path() / name).string(),
            std::string_view(reinterpret_cast<const char*>(picture.bytes.data()), picture.bytes.size()));
        return name;
    });
    WriteFile(jsonPath, json);
    return 0;
}

int Import(const std::string& projectPath, const std::string& jsonPath) {
    const fs::path folder = fs::path(jsonPath).parent_path();
    const TLabelDesign design = DesignFromJson(ReadFile(jsonPath, "design"), [&](const std::string& file) {
        const std::string bytes = ReadFile((folder / file).string(), "picture");
        return std::vector<uint8_t>(bytes.begin(), bytes.end());
    });
    TLabelProject project;
    LoadProject(projectPath, project);
    const TLabelSizeMm label = DesignLabelSize(project, nullptr);
    for (const std::string& warning : DesignPlacementWarnings(design, label.width, label.height))
        std::cerr << "warning: " << warning << "\n";
    ReplaceDesignInFile(projectPath, design);
    return 0;
}

int RunDesign(const Args& args) {
    const std::string& project = args.Positional(0, "FILE.bpj");
    const int actions = args.Has("--export") + args.Has("--import") + args.Has("--classic");
    if (actions != 1) throw UsageError("give one of --export, --import and --classic");
    if (!fs::is_regular_file(project)) throw EInOutError("Cannot open the project \"" + project + "\".");
    try {
        if (const auto json = args.Value("--export")) return Export(project, *json);
        if (const auto json = args.Value("--import")) return Import(project, *json);
        ReplaceDesignInFile(project, std::nullopt);
        return 0;
    } catch (const EDesignError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}

} // namespace

QBM_REGISTER_COMMAND(Command{
    .name = "design",
    .summary = "export or import a project's label design as JSON",
    .synopsis = "FILE.bpj --export DESIGN.json\nFILE.bpj --import DESIGN.json\nFILE.bpj --classic",
    .description = kDescription,
    .options = {{"--export", "DESIGN.json", "write the design as JSON"},
                {"--import", "DESIGN.json", "put the design of the JSON file into the project"},
                {"--classic", "", "take the design out: the classic label"}},
    .run = RunDesign});

} // namespace qbm::cli
