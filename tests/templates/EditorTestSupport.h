#pragma once
// Temporary template libraries and file probes shared by the editor tests.

#include "TestSupport.h"
#include "ini/TIniFile.h"
#include "templates/TemplateLibrary.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace qbm::test {

// A library in a fresh directory: the default one, or the given text.
inline std::string DefaultLibrary() {
    const std::string path = MakeTempDir() + "/Templates.dat";
    WriteDefaultTemplates(path);
    return path;
}

inline std::string LibraryWith(const std::string& text) {
    const std::string path = MakeTempDir() + "/Templates.dat";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Makes every later write of the library fail: its directory becomes a plain file.
inline void BreakLibraryFolder(const std::string& path) {
    const std::filesystem::path dir = std::filesystem::path(path).parent_path();
    std::filesystem::remove_all(dir);
    std::ofstream(dir, std::ios::binary) << "not a folder";
}

inline TStrings SectionKeys(const std::string& path, const std::string& section) {
    TStrings keys;
    TIniFile(path).ReadSection(section, keys);
    return keys;
}

} // namespace qbm::test
