#include "help/TChmFile.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

namespace qbm {
namespace {

namespace fs = std::filesystem;

TEST(ChmTopicPath, NamesTheEntryWhicheverWayATopicIsWritten) {
    struct Case {
        const char* topic;
        const char* path;
    };
    const Case cases[] = {
        /* 0 */ {"html/plovet.htm", "/html/plovet.htm"},
        /* 1 */ {"\\help.chm::/html\\plovet.htm", "/html/plovet.htm"},
        /* 2 */ {"C:\\Quirbel\\help.chm::\\html\\plovet.htm", "/html/plovet.htm"},
        /* 3 */ {"/html/datasheet.htm#import", "/html/datasheet.htm"},
        /* 4 */ {"", "/"},
    };
    for (const Case& c : cases) EXPECT_EQ(ChmTopicPath(c.topic), c.path) << c.topic;
}

TEST(ChmFile, RefusesMissingAndForeignFilesByName) {
    const fs::path dir = fs::temp_directory_path() / "qbm-chm-test";
    fs::create_directories(dir);
    const fs::path foreign = dir / "notes.chm";
    std::ofstream(foreign) << "these are not compiled help pages";
    for (const fs::path& path : {dir / "missing.chm", foreign, dir}) {
        try {
            TChmFile file(path.string());
            ADD_FAILURE() << "opened " << path;
        } catch (const EInOutError& e) {
            EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
        }
    }
    fs::remove_all(dir);
}

// The shipped help file: both topics the program opens are there, and every link and picture of
// every page leads to an entry of the file, so no click in the help ends on a blank page.
TEST(ShippedHelpFile, HoldsTheProgramsTopicsAndEveryPageItLinks) {
    TChmFile file(QBM_HELP_FILE);
    EXPECT_TRUE(file.Contains(ChmTopicPath("html\\plovet.htm")));
    EXPECT_TRUE(file.Contains(ChmTopicPath("html\\datasheet.htm")));
    EXPECT_FALSE(file.Contains("/html/nothing.htm"));

    const std::regex reference(R"re((?:href|src)\s*=\s*"([^"]+)")re", std::regex::icase);
    int pages = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(QBM_HELP_SOURCES) / "html")) {
        if (entry.path().extension() != ".htm") continue;
        ++pages;
        const std::string entryPath = "/html/" + entry.path().filename().string();
        const auto page = file.Read(entryPath);
        ASSERT_TRUE(page) << entryPath;
        for (std::sregex_iterator it(page->begin(), page->end(), reference), end; it != end; ++it) {
            const std::string target = (*it)[1];
            if (target.find(':') != std::string::npos) continue; // web and mail addresses
            const fs::path resolved =
                (fs::path("/html") / target.substr(0, target.find('#'))).lexically_normal();
            EXPECT_TRUE(file.Contains(resolved.generic_string())) << entryPath << " -> " << target;
        }
    }
    EXPECT_GE(pages, 8);
    const auto picture = file.Read("/images/grid.png");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->substr(1, 3), "PNG");
}

} // namespace
} // namespace qbm
