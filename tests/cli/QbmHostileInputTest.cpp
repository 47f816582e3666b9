#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "templates/TemplateLibrary.h"

#include "CliRun.h"
#include "TestSupport.h"

#include <filesystem>
#include <unistd.h>

namespace qbm {
namespace {

// Inputs and options a careless or hostile caller may hand the tool: each is refused with a message
// naming the problem, leaves the files it names as they were, and writes nothing.
struct Hostile {
    std::string dir = test::MakeTempDir();
    std::string library = dir + "/Templates.dat";
    std::string project = dir + "/p.bpj";

    Hostile() {
        WriteDefaultTemplates(library);
        TLabelProject p;
        p.SetTemplateName("Code39");
        p.SetLinearSource(TLinearSource::lsConstant);
        p.SetFixedCode("ABC");
        SaveProject(project, p, nullptr);
        std::filesystem::create_symlink("/dev/zero", dir + "/zero.txt");
        std::filesystem::create_symlink("/dev/zero", dir + "/zero.mdb");
        std::filesystem::create_directory(dir + "/folder.dat");
        // A datasheet project cut short inside its table, and one whose table declares rows it lacks.
        p.SetLinearSource(TLinearSource::lsDatasheet);
        p.Datasheet().SetRowCount(15);
        for (int r = 1; r < 15; ++r) p.Datasheet().SetCell(1, r, "ITEM" + std::to_string(r));
        p.RebuildFieldList(kFieldPlaceholderDatasheet);
        p.SetCodeField(1);
        SaveProject(dir + "/cut.bpj", p, nullptr);
        const std::string whole = test::ReadWholeFile(dir + "/cut.bpj");
        test::WriteWholeFile(dir + "/cut.bpj", whole.substr(0, whole.size() - 31));
        const std::string hugeTable = "322C3130303030303030300D0A637720302C35300D0A637720312C3131350D0A";
        test::WriteWholeFile(
            dir + "/huge.bpj",
            "[Properties]\r\nTemplate=Code39\r\nCodeField=1\r\n[VarCodeValue]\r\nData=" + hugeTable + "\r\n");
    }
};

TEST(QbmHostileInput, IsRefusedWithTheReasonAndNothingIsWritten) {
    const Hostile h;
    const std::string projectBytes = test::ReadWholeFile(h.project);
    const std::string lib = " --library " + h.library;
    const struct {
        std::string args;
        int exitCode;
        std::string message;
    } cases[] = {
        /* 0 */ {"encode 29 x", 2, "0 to 28"},
        /* 1 */ {"render bcCode39 ABC --angle nan --out " + h.dir + "/a.png", 2, "--angle"},
        /* 2 */ {"render bcCode39 ABC --angle inf --out " + h.dir + "/a.png", 2, "--angle"},
        /* 3 */ {"render bcCode39 ABC --angle 1e308 --out " + h.dir + "/a.png", 2, "--angle"},
        /* 4 */ {"print " + h.project + " --pdf " + h.dir + "/a.pdf --dpi 0" + lib, 2, "--dpi"},
        /* 5 */ {"print " + h.project + " --png-dir " + h.dir + "/pages --dpi -1" + lib, 2, "--dpi"},
        /* 6 */ {"print " + h.project + " --pdf " + h.project + lib, 2, "is the input file"},
        /* 7 */
        {"print " + h.project + " --pdf " + h.dir + "/../" +
             std::filesystem::path(h.dir).filename().string() + "/p.bpj" + lib,
         2, "is the input file"},
        /* 8 */ {"preview " + h.project + " --out " + h.project + lib, 2, "is the input file"},
        /* 9 */ {"templates --library /dev/zero", 1, "not a regular file"},
        /* 10 */ {"templates --library " + h.dir + "/folder.dat", 1, "not a regular file"},
        /* 11 */
        {"print " + h.project + " --pdf " + h.dir + "/a.pdf --library /dev/zero", 1, "not a regular file"},
        /* 12 */ {"label Code39 ABC --out " + h.dir + "/a.png --library /dev/zero", 1, "not a regular file"},
        /* 13 */ {"import " + h.dir + "/zero.txt", 1, "not a regular file"},
        /* 14 */ {"import " + h.dir + "/zero.mdb", 1, "not a regular file"},
        /* 15 */
        {"print " + h.dir + "/cut.bpj --pdf " + h.dir + "/a.pdf" + lib, 1,
         "cut.bpj\" is damaged: it ends inside"},
        /* 16 */ {"labels " + h.dir + "/cut.bpj" + lib, 1, "is damaged"},
        /* 17 */
        {"print " + h.dir + "/huge.bpj --pdf " + h.dir + "/a.pdf" + lib, 1, "declares 100000000 rows"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const test::TCliRun r = test::RunQbm(h.dir, c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << "case " << i << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << "case " << i << ": " << r.err;
        EXPECT_EQ(r.err.find("System error!"), std::string::npos) << "case " << i;
    }
    EXPECT_EQ(test::ReadWholeFile(h.project), projectBytes);
    for (const char* name : {"/a.png", "/a.pdf", "/pages"})
        EXPECT_FALSE(std::filesystem::exists(h.dir + name)) << name;
}

TEST(QbmHostileInput, UnreadableLibraryIsReportedNotItsTemplates) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root from reading the library";
    const Hostile h;
    std::filesystem::permissions(h.library, std::filesystem::perms::none);
    for (const std::string& args :
         {"templates --library " + h.library,
          "print " + h.project + " --pdf " + h.dir + "/a.pdf --library " + h.library}) {
        const test::TCliRun r = test::RunQbm(h.dir, args);
        EXPECT_EQ(r.exitCode, 1) << args;
        EXPECT_NE(r.err.find("Cannot read template library " + h.library), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("has been removed"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(h.dir + "/a.pdf"));
}

} // namespace
} // namespace qbm
