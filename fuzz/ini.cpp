// Two fuzz targets from one file: the INI engine parsing a project file (default) and the profile
// store reading the template library (QBM_FUZZ_PROFILE_STORE).

#include "ini/TBigIniFile.h"
#include "ini/TIniFile.h"

#include "FuzzSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

char g_inputPath[512];

const char* InputPath() {
    if (!g_inputPath[0]) {
        // A memory file system keeps the per-input file and the store's replacements fast.
        const char* dir = std::getenv("TMPDIR");
        const char* base = dir && *dir ? dir : ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::snprintf(g_inputPath, sizeof g_inputPath, "%s/qbm-fuzz-ini-%d.ini", base, int(::getpid()));
        std::atexit([] { ::unlink(g_inputPath); });
    }
    return g_inputPath;
}

void WriteInput(const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(InputPath(), "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}

using qbm::fuzz::Check;

#ifndef QBM_FUZZ_PROFILE_STORE

void Run() {
    qbm::TBigIniFile ini;
    ini.LoadFromFile(InputPath());
    qbm::TStrings sections;
    ini.ReadSections(sections);
    for (const std::string& section : sections) {
        qbm::TStrings keys;
        ini.ReadSection(section, keys);
        for (const std::string& key : keys) {
            (void)ini.ReadString(section, key, "");
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadFloat(section, key, 0);
            (void)ini.ReadDateTime(section, key, 0);
            (void)ini.ReadTime(section, key, 0);
            std::ostringstream bytes;
            (void)ini.ReadBinaryData(section, key, bytes);
            Check(ini.ValueExists(section, key));
        }
    }

    // What the engine would write, parsed again, is the same content.
    qbm::TStrings layout;
    ini.GetStrings(layout);
    qbm::TBigIniFile again;
    again.SetStrings(layout);
    qbm::TStrings relayout;
    again.GetStrings(relayout);
    Check(layout == relayout);

    if (!sections.empty()) {
        ini.WriteString(sections.front(), "FuzzKey", "value");
        Check(ini.ReadString(sections.front(), "fuzzkey", "") == "value");
        ini.DeleteKey(sections.back(), "FuzzKey");
        ini.EraseSection(sections.back());
        Check(!ini.SectionExists(sections.back()));
    }
}

#else

void Run() {
    qbm::TIniFile ini(InputPath());
    qbm::TStrings sections;
    ini.ReadSections(sections);
    for (const std::string& section : sections) {
        qbm::TStrings keys;
        ini.ReadSection(section, keys);
        for (const std::string& key : keys) {
            (void)ini.ReadString(section, key, "");
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadBool(section, key, false);
        }
        (void)ini.SectionExists(section);
    }
    // A written value reads back, wherever the section stands and however the file is laid out.
    const std::string section = sections.empty() ? std::string("Fuzz") : sections.front();
    ini.WriteString(section, "FuzzKey", "value");
    Check(ini.ReadString(section, "FUZZKEY", "") == "value");
    ini.EraseSection(section);
    Check(ini.ReadString(section, "FuzzKey", "gone") == "gone");
}

#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput(data, size);
    Run();
    return 0;
}
