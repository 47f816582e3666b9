#include "ini/TIniFile.h"

#include "TestSupport.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qbm {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string TempFile(const std::string& text) {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(TIniFileRead, IsLenientAboutBlanksAndHeaders) {
    TIniFile ini(TempFile("[Code39] \r\nCodeType=3 \r\n  Height  =  30  \r\n[Other] comment\nk=v\n"));
    EXPECT_EQ(ini.ReadString("code39", "codetype", "?"), "3");
    EXPECT_EQ(ini.ReadInteger("Code39", "Height", 0), 30);
    EXPECT_EQ(ini.ReadString("OTHER", "K", "?"), "v");
    EXPECT_EQ(ini.ReadString("Code39", "Missing", "def"), "def");
    EXPECT_EQ(ini.ReadString("Missing", "k", "def"), "def");
}

TEST(TIniFileRead, MissingFileGivesDefaults) {
    TIniFile ini(test::MakeTempDir() + "/none.dat");
    EXPECT_EQ(ini.ReadString("S", "k", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("S", "k", 7), 7);
    EXPECT_TRUE(ini.ReadBool("S", "k", true));
    TStrings names{"stale"};
    ini.ReadSections(names);
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(std::filesystem::exists(ini.FileName()));
}

TEST(TIniFileRead, IntegersBoolsAndLongValues) {
    const std::string longValue(3000, 'x');
    TIniFile ini(TempFile("[S]\na=0x1F\nb=0x\nc=abc\nd=1\ne=0\nf=" + longValue + "\ng=\n"));
    EXPECT_EQ(ini.ReadInteger("S", "a", -1), 31);
    EXPECT_EQ(ini.ReadInteger("S", "b", -1), -1);
    EXPECT_EQ(ini.ReadInteger("S", "c", -1), -1);
    EXPECT_TRUE(ini.ReadBool("S", "d", false));
    EXPECT_FALSE(ini.ReadBool("S", "e", true));
    EXPECT_EQ(ini.ReadString("S", "f", "").size(), 2047u);
    EXPECT_EQ(ini.ReadString("S", "g", "def"), ""); // present but empty is not missing
}

TEST(TIniFileRead, SectionsAndKeysInFileOrder) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "[Template number " + std::to_string(i) + "]\r\nCodeType=1\r\n";
    text += "[Empty]\r\n[code39]\r\nx=1\r\n";
    TIniFile ini(TempFile("[Code39]\r\nCodeType=3\r\n;note\r\nplain\r\n=5\r\nHeight=30\r\n" + text));
    TStrings names;
    ini.ReadSections(names);
    // Far beyond 16 KiB of names: none is cut off, and a repeated name is listed once.
    ASSERT_EQ(names.size(), 2002u);
    EXPECT_EQ(names.front(), "Code39");
    EXPECT_EQ(names[1999 + 1], "Template number 1999");
    EXPECT_EQ(names.back(), "Empty");
    TStrings keys{"stale"};
    ini.ReadSection("CODE39", keys);
    EXPECT_EQ(keys, (TStrings{"CodeType", "Height"}));
    EXPECT_TRUE(ini.SectionExists("Code39"));
    EXPECT_FALSE(ini.SectionExists("Empty"));
    EXPECT_FALSE(ini.SectionExists("Nothing"));
}

TEST(TIniFileWrite, ReplacesInPlaceAppendsKeysAndSections) {
    const std::string path = TempFile("[A] \r\nx=1 \r\ny=2\r\n\r\n[B]\ny=3");
    TIniFile ini(path);
    ini.WriteString("a", "X", "10");
    EXPECT_EQ(ReadAll(path), "[A] \r\nX=10\r\ny=2\r\n\r\n[B]\ny=3");
    ini.WriteInteger("A", "z", -4);
    EXPECT_EQ(ReadAll(path), "[A] \r\nX=10\r\ny=2\r\nz=-4\r\n\r\n[B]\ny=3");
    ini.WriteBool("B", "t", true);
    EXPECT_EQ(ReadAll(path), "[A] \r\nX=10\r\ny=2\r\nz=-4\r\n\r\n[B]\ny=3\r\nt=1\r\n");
    ini.WriteString("C", "Create Time", "10:00:00");
    EXPECT_EQ(ReadAll(path),
              "[A] \r\nX=10\r\ny=2\r\nz=-4\r\n\r\n[B]\ny=3\r\nt=1\r\n[C]\r\nCreate Time=10:00:00\r\n");
    EXPECT_EQ(ini.ReadString("c", "create time", ""), "10:00:00");
}

TEST(TIniFileWrite, CreatesTheFile) {
    const std::string path = test::MakeTempDir() + "/new.dat";
    TIniFile ini(path);
    ini.WriteString("S", "k", "v");
    EXPECT_EQ(ReadAll(path), "[S]\r\nk=v\r\n");
}

TEST(TIniFileWrite, EraseSectionRemovesEveryCopy) {
    const std::string path = TempFile("[A]\r\nx=1\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n");
    TIniFile ini(path);
    ini.EraseSection("A");
    EXPECT_EQ(ReadAll(path), "[B]\r\ny=2\r\n");
    ini.EraseSection("Missing");
    EXPECT_EQ(ReadAll(path), "[B]\r\ny=2\r\n");
}

TEST(TIniFileWrite, FailureNamesTheFile) {
    const std::string path = test::MakeTempDir() + "/no/such/dir/Templates.dat";
    TIniFile ini(path);
    EXPECT_THROW_MSG(ini.WriteString("S", "k", "v"), EInOutError, "Unable to write to " + path);
    EXPECT_THROW_MSG(ini.WriteInteger("S", "k", 1), EInOutError, "Unable to write to " + path);
}

TEST(TIniFileWrite, ADirectoryInPlaceOfTheFileIsNotReplaced) {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    std::filesystem::create_directory(path);
    TIniFile ini(path);
    EXPECT_THROW_MSG(ini.WriteString("S", "k", "v"), EInOutError, "Unable to write to " + path);
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

} // namespace
} // namespace qbm
