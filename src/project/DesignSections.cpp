#include "project/DesignSections.h"

#include "data/DatasheetStream.h"
#include "design/DesignJson.h"
#include "ini/TBigIniFile.h"
#include "util/Errors.h"

#include <string_view>

namespace qbm {

namespace {

constexpr std::string_view kDesignSection = "LabelDesign";
constexpr std::string_view kPicturesSection = "LabelDesignPictures";

} // namespace

void WriteDesignSections(TBigIniFile& ini, const TLabelDesign& design) {
    TStrings pictures;
    const std::string json = DesignToJson(design, [&](const TDesignPicture& picture, int number) {
        const std::string name = "Picture" + std::to_string(number);
        const std::string_view bytes(reinterpret_cast<const char*>(picture.bytes.data()),
                                     picture.bytes.size());
        pictures.push_back(name + "=" + StreamToHex(bytes));
        return name;
    });
    // UTF-8 in hexadecimal, as the project's other texts beyond Latin-1: the line form keeps no
    // line break and no character 26.
    ini.WriteString(kDesignSection, "Json", StreamToHex(json));
    if (!pictures.empty()) {
        pictures.insert(pictures.begin(), "[" + std::string(kPicturesSection) + "]");
        ini.SetStrings(pictures);
    }
}

void ReplaceDesignInFile(const std::string& path, const std::optional<TLabelDesign>& design) {
    TBigIniFile ini(path);
    ini.EraseSection(kDesignSection);
    ini.EraseSection(kPicturesSection);
    if (design) WriteDesignSections(ini, *design);
    ini.UpdateFile();
}

std::optional<TLabelDesign> ReadDesignSections(TBigIniFile& ini, const std::string& path) {
    if (!ini.SectionExists(kDesignSection)) return std::nullopt;
    TStrings lines;
    ini.ReadSectionValues(kPicturesSection, lines);
    // The JSON names each picture by its key in the pictures' section (the bytes say its kind).
    const auto picture = [&](const std::string& name) {
        for (const std::string& line : lines) {
            const size_t eq = line.find('=');
            if (eq == std::string::npos || std::string_view(line).substr(0, eq) != name) continue;
            const std::string bytes = HexToStream(std::string_view(line).substr(eq + 1));
            return std::vector<uint8_t>(bytes.begin(), bytes.end());
        }
        throw EDesignError("its picture \"" + name + "\" is missing");
    };
    try {
        return DesignFromJson(HexToStream(ini.ReadString(kDesignSection, "Json", "")), picture);
    } catch (const EDesignError& e) {
        throw EInOutError("The label design in \"" + path + "\" is damaged: " + e.what() + ".");
    }
}

} // namespace qbm
