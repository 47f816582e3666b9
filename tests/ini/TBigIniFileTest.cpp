#include "ini/TBigIniFile.h"

#include "TestSupport.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

namespace qbm {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string TempFile(const std::string& name, const std::string& text) {
    const std::string path = test::MakeTempDir() + "/" + name;
    WriteAll(path, text);
    return path;
}

TEST(TBigIniFileParsing, AcceptsLfCrLfAndDropsStrayCarriageReturns) {
    const std::string path = TempFile("a.ini", "[S]\nA=1\r\nB=2\rx\n\n\r\nC=3");
    TBigIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "A", "?"), "1");
    EXPECT_EQ(ini.ReadString("S", "B", "?"), "2x");
    EXPECT_EQ(ini.ReadString("S", "C", "?"), "3");
    TStrings lines;
    ini.ReadSectionValues("S", lines);
    EXPECT_EQ(lines, (TStrings{"A=1", "B=2x", "C=3"})); // empty lines are not kept
}

TEST(TBigIniFileParsing, CtrlZEndsTheInput) {
    const std::string path = TempFile("a.ini", "[S]\nA=1\n\x1a\nB=2\n");
    TBigIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "A", "?"), "1");
    EXPECT_EQ(ini.ReadString("S", "B", "?"), "?");
}

TEST(TBigIniFileParsing, SectionHeadersAreTakenLiterally) {
    const std::string path = TempFile("a.ini", "[ A ]\nx=1\n[B] \ny=2\n[[C]]\nz=3\n[]\nw=4\n");
    TBigIniFile ini(path);
    TStrings names;
    ini.ReadSections(names);
    // "[B] " has a trailing blank, so it is a line of section " A ".
    EXPECT_EQ(names, (TStrings{" A ", "[C]", ""}));
    EXPECT_EQ(ini.ReadString(" A ", "x", "?"), "1");
    TStrings lines;
    ini.ReadSectionValues(" a ", lines);
    EXPECT_EQ(lines, (TStrings{"x=1", "[B] ", "y=2"}));
    EXPECT_EQ(ini.ReadString("", "w", "?"), "4");
}

TEST(TBigIniFileParsing, DuplicateSectionsKeepTheFirstAndDropTheRestAtTheNextWrite) {
    const std::string path = TempFile("a.ini", "[A]\r\nx=1\r\n[B]\r\ny=1\r\n[a]\r\nx=2\r\nz=3\r\n");
    {
        TBigIniFile ini(path);
        EXPECT_FALSE(ini.Dirty()); // a fresh engine is never dirty, even after a merge
        EXPECT_EQ(ini.ReadString("A", "x", "?"), "1");
        EXPECT_EQ(ini.ReadString("a", "z", "?"), "?"); // lines are not merged
        TStrings names;
        ini.ReadSections(names);
        EXPECT_EQ(names, (TStrings{"A", "B"}));
    }
    EXPECT_EQ(ReadAll(path), "[A]\r\nx=1\r\n[B]\r\ny=1\r\n[a]\r\nx=2\r\nz=3\r\n"); // nothing written yet
    {
        TBigIniFile ini(path);
        ini.WriteString("B", "y", "2");
    }
    EXPECT_EQ(ReadAll(path), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n\r\n");
}

TEST(TBigIniFileParsing, DuplicateSectionCallbackDecidesTheSurvivor) {
    TBigIniFile ini;
    std::vector<std::string> asked;
    ini.SetOnDuplicateSection([&](const std::string& name, TStrings& kept, TStrings& other) {
        asked.push_back(name + ":" + kept.front() + "/" + other.front());
        return false; // keep the later one
    });
    ini.SetStrings({"[A]", "x=1", "[B]", "y=1", "[a]", "x=2", "[A]", "x=3"});
    EXPECT_EQ(asked, (std::vector<std::string>{"A:x=1/x=2", "a:x=2/x=3"}));
    TStrings names;
    ini.ReadSections(names);
    EXPECT_EQ(names, (TStrings{"B", "A"}));
    EXPECT_EQ(ini.ReadString("A", "x", "?"), "3");
    EXPECT_TRUE(ini.Dirty());
}

TEST(TBigIniFileParsing, OptionsTidyLinesWhenSet) {
    TBigIniFile ini;
    ini.SetSkipComments(true);
    ini.SetTrimAroundEquals(true);
    ini.SetStripQuotes(true);
    ini.SetTrimTrailing(true);
    ini.SetKeyLinesOnly(true);
    // Quotes are stripped before trailing blanks are trimmed, so "w" keeps its quotes.
    ini.SetStrings({"[S]", "; note", "key \t=  \"a b\"", "loose text", "q='x'", "e=\"\"", "w=\"y\"  "});
    TStrings lines;
    ini.ReadSectionValues("S", lines);
    EXPECT_EQ(lines, (TStrings{"key=a b", "q=x", "e=", "w=\"y\""}));
}

TEST(TBigIniFileParsing, SetStringsAddsToTheContentAndIsSaved) {
    const std::string path = TempFile("a.ini", "[A]\nx=1\n");
    {
        TBigIniFile ini(path);
        ini.SetStrings({"lost", "[B]", "y=2", "[a]", "x=9"});
        EXPECT_TRUE(ini.Dirty());
        TStrings values{"old"};
        ini.SetClearValuesTarget(true);
        ini.ReadSectionValues("A", values);
        EXPECT_EQ(values, (TStrings{"x=1"}));
        ini.UpdateFile();
    }
    EXPECT_EQ(ReadAll(path), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n\r\n");
}

TEST(TSectionList, LookupsByNameAndByNameValueEntries) {
    TSectionList list;
    EXPECT_EQ(list.IndexOf("A"), -1);
    list.Add("A");
    list.Add("k=v");
    list.Add("B");
    list.Add("b");
    EXPECT_EQ(list.IndexOf("b"), 2);
    EXPECT_EQ(list.LastFound(), 2);
    EXPECT_EQ(list.IndexOf("B"), 2); // the search starts at the last match
    EXPECT_EQ(list.IndexOf("a"), 0);
    EXPECT_EQ(list.IndexOf("none"), -1);
    EXPECT_EQ(list.LastFound(), 0);
    EXPECT_EQ(list.IndexOfName("K"), 1);
    EXPECT_EQ(list.IndexOfName("A"), -1);
    list.Lines(3).push_back("x=1");
    list.DeleteMarked({false, true, false, false});
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Lines(2), (TStrings{"x=1"}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.LastFound(), 0);
}

TEST(TBigIniFileParsing, TextBeforeTheFirstSectionIsLostOnWrite) {
    const std::string path = TempFile("a.ini", "; header comment\nfree=1\n[S]\nk=v\n");
    {
        TBigIniFile ini(path);
        ini.WriteString("S", "k", "w");
    }
    EXPECT_EQ(ReadAll(path), "[S]\r\nk=w\r\n\r\n");
}

TEST(TBigIniFileKeys, BlanksBeforeEqualsArePartOfTheKey) {
    TBigIniFile ini;
    ini.SetStrings({"[S]", "Key = value"});
    EXPECT_EQ(ini.ReadString("S", "Key", "def"), "def");
    EXPECT_EQ(ini.ReadString("S", "key ", "def"), " value");
    EXPECT_TRUE(ini.ValueExists("S", "KEY "));
    EXPECT_FALSE(ini.ValueExists("S", "Key"));
}

TEST(TBigIniFileKeys, ValueKeepsEverythingAfterTheFirstEquals) {
    TBigIniFile ini;
    ini.SetStrings({"[S]", "k=\"a=b\" ", "k=second"});
    EXPECT_EQ(ini.ReadString("s", "K", ""), "\"a=b\" ");
}

TEST(TBigIniFileKeys, WritingReplacesKeyCaseAndTracksDirty) {
    TBigIniFile ini;
    ini.WriteString("S", "K", "1");
    EXPECT_TRUE(ini.Dirty());
    ini.FlushFile();
    EXPECT_FALSE(ini.Dirty());
    ini.WriteString("s", "k", "1");
    EXPECT_TRUE(ini.Dirty());
    ini.FlushFile();
    ini.WriteString("S", "k", "1");
    EXPECT_FALSE(ini.Dirty()); // identical line
    TStrings lines;
    ini.ReadSectionValues("S", lines);
    EXPECT_EQ(lines, (TStrings{"k=1"}));
    TStrings names;
    ini.ReadSections(names);
    EXPECT_EQ(names, (TStrings{"S"}));
}

TEST(TBigIniFileKeys, OnlyTheFirstOfRepeatedKeysIsReplaced) {
    TBigIniFile ini;
    ini.SetStrings({"[S]", "k=1", "x", "K=2"});
    ini.WriteString("S", "k", "3");
    TStrings lines;
    ini.ReadSectionValues("S", lines);
    EXPECT_EQ(lines, (TStrings{"k=3", "x", "K=2"}));
    ini.DeleteKey("S", "K");
    lines.clear();
    ini.ReadSectionValues("S", lines);
    EXPECT_EQ(lines, (TStrings{"x", "K=2"}));
}

TEST(TBigIniFileKeys, ReadSectionSkipsLinesWithoutName) {
    TBigIniFile ini;
    ini.SetStrings({"[S]", "a=1", "=2", "plain", "b=", "c=x=y"});
    TStrings keys{"kept"};
    ini.ReadSection("S", keys);
    EXPECT_EQ(keys, (TStrings{"kept", "a", "b", "c"}));
    ini.ReadSection("missing", keys);
    EXPECT_EQ(keys.size(), 4u);
}

TEST(TBigIniFileKeys, IntegersInDecimalAndHexadecimal) {
    TBigIniFile ini;
    ini.SetStrings({"[N]", "a=0x1F", "b=$1F", "c=0X1f", "d= 42", "e=42 ", "f=", "g=-7", "h=99999999999",
                    "i=x10", "j=0x", "k=1"});
    EXPECT_EQ(ini.ReadInteger("N", "a", -1), 31);
    EXPECT_EQ(ini.ReadInteger("N", "b", -1), 31);
    EXPECT_EQ(ini.ReadInteger("N", "c", -1), 31);
    EXPECT_EQ(ini.ReadInteger("N", "d", -1), 42);
    EXPECT_EQ(ini.ReadInteger("N", "e", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "f", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "g", -1), -7);
    EXPECT_EQ(ini.ReadInteger("N", "h", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "i", -1), 16);
    EXPECT_EQ(ini.ReadInteger("N", "j", -1), -1);
    EXPECT_TRUE(ini.ReadBool("N", "k", false));
    EXPECT_TRUE(ini.ReadBool("N", "missing", true));
    EXPECT_FALSE(ini.ReadBool("N", "f", false));
    ini.WriteInteger("N", "w", -120);
    ini.WriteBool("N", "v", true);
    EXPECT_EQ(ini.ReadString("N", "w", ""), "-120");
    EXPECT_EQ(ini.ReadString("N", "v", ""), "1");
}

TEST(TBigIniFileValues, BinaryDataRoundTripsAsUpperCaseHex) {
    TBigIniFile ini;
    std::string bytes;
    for (int i = 0; i < 1300; ++i) bytes += static_cast<char>(i * 7);
    std::istringstream in(bytes);
    ini.WriteBinaryData("B", "data", in);
    const std::string text = ini.ReadString("B", "data", "");
    EXPECT_EQ(text.size(), 2600u);
    EXPECT_EQ(text.substr(0, 6), "00070E");
    std::ostringstream out;
    EXPECT_EQ(ini.ReadBinaryData("B", "data", out), 1300);
    EXPECT_EQ(out.str(), bytes);

    ini.WriteString("B", "odd", "41zz4");
    std::ostringstream odd;
    EXPECT_EQ(ini.ReadBinaryData("B", "odd", odd), 2);
    EXPECT_EQ(odd.str(), std::string("A\0", 2));
}

TEST(TBigIniFileValues, DatesTimesAndFloatsInOneFixedForm) {
    TBigIniFile ini;
    const TDateTime moment = 46365.5 + 1.0 / 86400; // 2026-12-09 12:00:01
    ini.WriteDate("D", "date", moment);
    ini.WriteTime("D", "time", moment);
    ini.WriteDateTime("D", "both", moment);
    ini.WriteFloat("D", "f", 0.1);
    EXPECT_EQ(ini.ReadString("D", "date", ""), "2026-12-09");
    EXPECT_EQ(ini.ReadString("D", "time", ""), "12:00:01");
    EXPECT_EQ(ini.ReadString("D", "both", ""), "2026-12-09 12:00:01");
    EXPECT_EQ(ini.ReadString("D", "f", ""), "0.1");
    EXPECT_DOUBLE_EQ(ini.ReadDate("D", "date", -1), 46365);
    EXPECT_NEAR(ini.ReadTime("D", "time", -1), 0.5 + 1.0 / 86400, 1e-9);
    EXPECT_NEAR(ini.ReadDateTime("D", "both", -1), moment, 1e-9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("D", "f", -1), 0.1);
    ini.WriteString("D", "bad", "2026-02-30");
    EXPECT_EQ(ini.ReadDate("D", "bad", -1), -1);
    EXPECT_EQ(ini.ReadFloat("D", "bad", -1), -1);
    EXPECT_EQ(ini.ReadTime("D", "date", -1), -1);
    EXPECT_EQ(ini.ReadFloat("D", "missing", 2.5), 2.5);
}

TEST(TBigIniFileSections, EmptyKeyErasesAndAllEmptyFlushes) {
    const std::string path = TempFile("a.ini", "[A]\nx=1\n[B]\ny=2\n");
    TBigIniFile ini(path);
    ini.WriteString("A", "", "");
    EXPECT_FALSE(ini.SectionExists("A"));
    EXPECT_TRUE(ini.Dirty());
    EXPECT_EQ(ReadAll(path), "[A]\nx=1\n[B]\ny=2\n");
    ini.WriteString("", "", "");
    EXPECT_FALSE(ini.Dirty());
    EXPECT_EQ(ReadAll(path), "[B]\r\ny=2\r\n\r\n");
}

TEST(TBigIniFileSections, EmptySectionsAreListedButNotWritten) {
    const std::string path = TempFile("a.ini", "[A]\nx=1\n[B]\ny=2\n");
    {
        TBigIniFile ini(path);
        ini.DeleteKey("A", "x");
        ini.DeleteKey("New", "k"); // creates an empty section on the way
        TStrings names;
        ini.ReadSections(names);
        EXPECT_EQ(names, (TStrings{"A", "B", "New"}));
        EXPECT_TRUE(ini.SectionExists("a"));
        TStrings strings{"first"};
        ini.GetStrings(strings);
        EXPECT_EQ(strings, (TStrings{"first", "[B]", "y=2", ""}));
    }
    EXPECT_EQ(ReadAll(path), "[B]\r\ny=2\r\n\r\n");
    TBigIniFile again(path);
    EXPECT_FALSE(again.SectionExists("A"));
}

TEST(TBigIniFileSections, LookupsRememberTheirPlace) {
    TBigIniFile ini;
    ini.SetStrings({"[A]", "k=a", "[B]", "k=b", "[C]", "k=c"});
    EXPECT_EQ(ini.ReadString("C", "k", ""), "c");
    EXPECT_EQ(ini.SectionIndex(), 2);
    EXPECT_EQ(ini.ReadString("A", "k", ""), "a");
    EXPECT_EQ(ini.SectionIndex(), 0);
    EXPECT_TRUE(ini.SectionExists("B"));
    EXPECT_EQ(ini.Sections().LastFound(), 1);
    ini.EraseSection("C");
    EXPECT_EQ(ini.Sections().LastFound(), 0);
    ini.WriteString("B", "k", "x");
    EXPECT_EQ(ini.SectionIndex(), 1);
    ini.EraseSection("B");
    EXPECT_EQ(ini.SectionIndex(), 0);
    EXPECT_EQ(ini.ReadString("A", "k", ""), "a");
}

TEST(TBigIniFileFlush, WritesCrLfLayoutFromLfInput) {
    const std::string path = TempFile("a.ini", "[A]\nx=1\n\n\n[B]\ny=2");
    {
        TBigIniFile ini(path);
        ini.WriteString("B", "z", "3");
        ini.WriteString("C", "w", "4");
        ini.UpdateFile();
        EXPECT_FALSE(ini.Dirty());
    }
    EXPECT_EQ(ReadAll(path), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\nz=3\r\n\r\n[C]\r\nw=4\r\n\r\n");
}

TEST(TBigIniFileFlush, MissingFileIsCreatedOnTheFirstWrite) {
    const std::string path = test::MakeTempDir() + "/new.ini";
    {
        TBigIniFile ini(path);
        EXPECT_EQ(ini.ReadString("S", "k", "d"), "d");
    }
    EXPECT_FALSE(std::filesystem::exists(path)); // nothing to write
    {
        TBigIniFile ini(path);
        ini.WriteString("S", "k", "v");
    }
    EXPECT_EQ(ReadAll(path), "[S]\r\nk=v\r\n\r\n");
}

TEST(TBigIniFileFlush, FailedWriteReportsAndKeepsTheOldFile) {
    const std::string dir = test::MakeTempDir();
    const std::string path = dir + "/a.ini";
    WriteAll(path, "[S]\nk=old\n");
    TBigIniFile ini(path);
    ini.WriteString("S", "k", std::string(100000, 'n'));
    // A file size limit makes the write fail half-way, as a full disk would, also for root.
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW_MSG(ini.UpdateFile(), EInOutError, "I/O error 27");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(ini.Dirty());
    EXPECT_EQ(ReadAll(path), "[S]\nk=old\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1); // no temporary left
    ini.UpdateFile();
    EXPECT_EQ(ReadAll(path).size(), 100000u + 11);
}

TEST(TBigIniFileFlush, DestructorSwallowsWriteErrors) {
    const std::string path = test::MakeTempDir() + "/no/such/dir/a.ini";
    EXPECT_NO_THROW({
        TBigIniFile ini(path);
        ini.WriteString("S", "k", "v");
    });
}

TEST(TBigIniFileFlush, SetFileNameSavesTheOldFileAndLoadsTheNew) {
    const std::string dir = test::MakeTempDir();
    WriteAll(dir + "/b.ini", "[B]\nk=b\n");
    TBigIniFile ini(dir + "/a.ini");
    ini.WriteString("A", "k", "a");
    ini.SetFileName(dir + "/b.ini");
    EXPECT_FALSE(ini.Dirty());
    EXPECT_EQ(ReadAll(dir + "/a.ini"), "[A]\r\nk=a\r\n\r\n");
    EXPECT_EQ(ini.ReadString("B", "k", ""), "b");
    EXPECT_FALSE(ini.SectionExists("A"));
}

} // namespace
} // namespace qbm
