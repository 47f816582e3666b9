#include "templates/TemplateLibrary.h"

#include "ini/TIniFile.h"
#include "util/AtomicFile.h"
#include "util/Errors.h"

#include <QStandardPaths>
#include <QString>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace qbm {
namespace {

std::string ExecutableDir() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path(error).string();
    return exe.parent_path().string();
}

std::string UserDataDir() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.toStdString() + "/Quirbel Barcode Maker";
}

// Section and code lines of the defaults, each exactly as the first release wrote them (the blanks
// at their ends included, the misspelt names too: users' labels refer to these names).
constexpr const char* kDefaultTemplates[][2] = {
    {"[Code-2-5-interleaved] ", "CodeType=0 "},
    {"[Code-2-5-industrial] ", "CodeType=1 "},
    {"[Code-2-5-matrix] ", "CodeType=2 "},
    {"[Code39] ", "CodeType=3 "},
    {"[Code39Entended] ", "CodeType=4 "},
    {"[Code128A] ", "CodeType=5 "},
    {"[Code128B] ", "CodeType=6 "},
    {"[Code128C] ", "CodeType=7 "},
    {"[Code93] ", "CodeType=8 "},
    {"[Code93Entended] ", "CodeType=9 "},
    {"[MSI] ", "CodeType=10 "},
    {"[PostNet] ", "CodeType=11 "},
    {"[Codebar] ", "CodeType=12 "},
    {"[EAN8] ", "CodeType=13 "},
    {"[EAN13 (ISBN)] ", "CodeType=14 "},
    {"[UPC-A] ", "CodeType=15 "},
    {"[UPC-E0] ", "CodeType=16 "},
    {"[UPC-E1] ", "CodeType=17 "},
    {"[UPC-Supp2] ", "CodeType=18 "},
    {"[UPC-Supp5] ", "CodeType=19 "},
    {"[EAN128A] ", "CodeType=20 "},
    {"[EAN128B] ", "CodeType=21 "},
    {"[EAN128C] ", "CodeType=22 "},
};

constexpr const char* kDefaultTemplateLines[] = {
    "TextContent=1 ",
    "TextLayout=3",
    "Height=30 ",
    "ExtCaptionPosition=0",
    "XFontName=MS Sans Serif",
    "XFontSize=8",
    "XFontStyle=",
    "CFontName=MS Sans Serif",
    "CFontSize=8",
    "CFontStyle=",
    "CheckSum=0 ",
};

constexpr const char* kDefault2DLines[] = {
    "[Barcode2D]",  "PECC=3",    "PTruncated=0", "PBW=1",      "PBH=4",    "PCol=0",     "PRow=0",
    "MMode=4",      "MMAS=1",    "MCON=12",      "MSEV=22",    "MPST=145", "CodeType=0", "TextContent=0",
    "TextLayout=0", "Height=30", "Angle=0",      "CheckSum=0", "MBWH=6",
};

} // namespace

std::string TemplateLibraryPath(const std::string& executableDir, const std::string& userDataDir) {
    const std::string dir = ::access(executableDir.c_str(), W_OK) == 0 ? executableDir : userDataDir;
    return (std::filesystem::path(dir) / "Templates.dat").string();
}

std::string TemplateLibraryPath() {
    return TemplateLibraryPath(ExecutableDir(), UserDataDir());
}

std::string DefaultTemplatesText() {
    std::string text;
    for (const auto& entry : kDefaultTemplates) {
        text.append(entry[0]).append("\r\n").append(entry[1]).append("\r\n");
        for (const char* line : kDefaultTemplateLines) text.append(line).append("\r\n");
    }
    for (const char* line : kDefault2DLines) text.append(line).append("\r\n");
    return text;
}

void WriteDefaultTemplates(const std::string& path) {
    std::error_code error;
    if (std::filesystem::exists(path, error)) return;
    try {
        const std::filesystem::path parent = std::filesystem::path(path).parent_path();
        if (!parent.empty()) std::filesystem::create_directories(parent, error);
        WriteFileAtomically(path, DefaultTemplatesText());
    } catch (const EInOutError&) {
        throw EInOutError("Cannot create file " + path);
    }
}

TStrings LoadTemplateNames(const std::string& path) {
    TStrings names;
    TIniFile(path).ReadSections(names);
    names.erase(std::remove(names.begin(), names.end(), kBarcode2DSection), names.end());
    return names;
}

} // namespace qbm
