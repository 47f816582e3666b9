#include "templates/TemplateLibrary.h"

#include "TestSupport.h"
#include "ini/TIniFile.h"
#include "templates/FontStyleLetters.h"
#include "templates/T2DSettings.h"
#include "templates/TTemplate.h"
#include "util/Errors.h"

#include <QByteArray>
#include <QCryptographicHash>

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

const char* const kFirstTemplate = "[Code-2-5-interleaved] \r\n"
                                   "CodeType=0 \r\n"
                                   "TextContent=1 \r\n"
                                   "TextLayout=3\r\n"
                                   "Height=30 \r\n"
                                   "ExtCaptionPosition=0\r\n"
                                   "XFontName=MS Sans Serif\r\n"
                                   "XFontSize=8\r\n"
                                   "XFontStyle=\r\n"
                                   "CFontName=MS Sans Serif\r\n"
                                   "CFontSize=8\r\n"
                                   "CFontStyle=\r\n"
                                   "CheckSum=0 \r\n";

const char* const kLastTemplateAnd2D =
    "[EAN128C] \r\n"
    "CodeType=22 \r\n"
    "TextContent=1 \r\n"
    "TextLayout=3\r\n"
    "Height=30 \r\n"
    "ExtCaptionPosition=0\r\n"
    "XFontName=MS Sans Serif\r\n"
    "XFontSize=8\r\n"
    "XFontStyle=\r\n"
    "CFontName=MS Sans Serif\r\n"
    "CFontSize=8\r\n"
    "CFontStyle=\r\n"
    "CheckSum=0 \r\n"
    "[Barcode2D]\r\nPECC=3\r\nPTruncated=0\r\nPBW=1\r\nPBH=4\r\nPCol=0\r\n"
    "PRow=0\r\nMMode=4\r\nMMAS=1\r\nMCON=12\r\nMSEV=22\r\nMPST=145\r\n"
    "CodeType=0\r\nTextContent=0\r\nTextLayout=0\r\nHeight=30\r\nAngle=0\r\n"
    "CheckSum=0\r\nMBWH=6\r\n";

const TStrings kDefaultNames = {
    "Code-2-5-interleaved",
    "Code-2-5-industrial",
    "Code-2-5-matrix",
    "Code39",
    "Code39Entended",
    "Code128A",
    "Code128B",
    "Code128C",
    "Code93",
    "Code93Entended",
    "MSI",
    "PostNet",
    "Codebar",
    "EAN8",
    "EAN13 (ISBN)",
    "UPC-A",
    "UPC-E0",
    "UPC-E1",
    "UPC-Supp2",
    "UPC-Supp5",
    "EAN128A",
    "EAN128B",
    "EAN128C",
};

TEST(DefaultTemplates, FileIsWrittenByteForByte) {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    WriteDefaultTemplates(path);
    const std::string text = ReadAll(path);
    EXPECT_EQ(text, DefaultTemplatesText());
    EXPECT_EQ(text.substr(0, std::string(kFirstTemplate).size()), kFirstTemplate);
    const std::string tail = kLastTemplateAnd2D;
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);

    // 23 sections of 13 lines and the 2D section of 19, every one ending in CR LF, none empty.
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t crlf; (crlf = text.find("\r\n", start)) != std::string::npos; start = crlf + 2)
        lines.push_back(text.substr(start, crlf - start));
    EXPECT_EQ(start, text.size());
    ASSERT_EQ(lines.size(), 23u * 13 + 19);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
    for (size_t i = 0; i < 23; ++i) {
        EXPECT_EQ(lines[i * 13], "[" + kDefaultNames[i] + "] ") << i;
        EXPECT_EQ(lines[i * 13 + 1], "CodeType=" + std::to_string(i) + " ") << i;
        EXPECT_EQ(lines[i * 13 + 12], "CheckSum=0 ") << i;
    }
    for (const std::string& line : lines) EXPECT_FALSE(line.empty());
}

// The library a first start writes is the one earlier releases wrote, to the byte, whatever types the
// engine gains: its SHA-256 as the first release's file has it.
TEST(DefaultTemplates, TheFirstStartLibraryIsUnchangedToTheByte) {
    const std::string text = DefaultTemplatesText();
    EXPECT_EQ(text.size(), 4942u);
    EXPECT_EQ(QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha256)
                  .toHex()
                  .toStdString(),
              "80e669db1a77a39b287ad89973654fe0ddac73159a3085ac5c3952385f99288e");
}

TEST(DefaultTemplates, AnExistingFileIsLeftAlone) {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    std::ofstream(path, std::ios::binary) << "[Mine]\r\nCodeType=3\r\n";
    WriteDefaultTemplates(path);
    EXPECT_EQ(ReadAll(path), "[Mine]\r\nCodeType=3\r\n");
}

TEST(DefaultTemplates, CreatesTheUserDataDirectory) {
    const std::string path = test::MakeTempDir() + "/data/Quirbel Barcode Maker/Templates.dat";
    WriteDefaultTemplates(path);
    EXPECT_EQ(ReadAll(path), DefaultTemplatesText());
}

TEST(DefaultTemplates, UnwritablePlaceReportsTheFile) {
    const std::string dir = test::MakeTempDir();
    std::ofstream(dir + "/plainfile") << "x";
    const std::string path = dir + "/plainfile/Templates.dat";
    EXPECT_THROW_MSG(WriteDefaultTemplates(path), EInOutError, "Cannot create file " + path);
    EXPECT_TRUE(LoadTemplateNames(path).empty());
}

TEST(TemplateNames, DefaultsInFileOrderWithout2DSection) {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    WriteDefaultTemplates(path);
    EXPECT_EQ(LoadTemplateNames(path), kDefaultNames);
}

TEST(TemplateNames, OnlyTheExactReservedNameIsHidden) {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    std::ofstream(path, std::ios::binary)
        << "[B]\r\nCodeType=1\r\n[barcode2d]\r\nx=1\r\n[Barcode2D]\r\nPECC=1\r\n"
           "[A]\r\nCodeType=2\r\n";
    EXPECT_EQ(LoadTemplateNames(path), (TStrings{"B", "barcode2d", "A"}));
}

TEST(TemplateLibraryPath, ExecutableDirectoryWhenWritableElseUserData) {
    const std::string dir = test::MakeTempDir();
    EXPECT_EQ(TemplateLibraryPath(dir, "/home/u/.local/share/q"), dir + "/Templates.dat");
    EXPECT_EQ(TemplateLibraryPath(dir + "/missing", "/home/u/.local/share/q"),
              "/home/u/.local/share/q/Templates.dat");
    const std::string chosen = TemplateLibraryPath();
    EXPECT_EQ(std::filesystem::path(chosen).filename(), "Templates.dat");
}

TEST(FontStyleLetters, WrittenInFixedOrderReadInAnyOrderAndCase) {
    EXPECT_EQ(StyleToLetters(0), "");
    EXPECT_EQ(StyleToLetters(fsBold | fsItalic | fsUnderline | fsStrikeOut), "IBUS");
    EXPECT_EQ(StyleToLetters(fsStrikeOut | fsBold), "BS");
    const TFontStyles all = fsBold | fsItalic | fsUnderline | fsStrikeOut;
    EXPECT_EQ(LettersToStyle("subi"), all);
    EXPECT_EQ(LettersToStyle("S U b I"), all);
    EXPECT_EQ(LettersToStyle(""), 0);
    EXPECT_EQ(LettersToStyle("xyz"), 0);
    EXPECT_EQ(LettersToStyle("bb"), fsBold);
    for (TFontStyles s = 0; s < 16; ++s) EXPECT_EQ(LettersToStyle(StyleToLetters(s)), s);
}

TEST(ReadTemplate, MissingKeysAndSectionsGiveTheDefaults) {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    std::ofstream(path, std::ios::binary)
        << "[New]\r\nCreate Time=10:00:00\r\n[Set]\r\nCodeType=7\r\nBarWidth=50\r\n"
           "CheckSum=1\r\nCFontName=Arial\r\nCFontStyle=bi\r\nCFontSize=12\r\n";
    const TIniFile library(path);
    for (const char* name : {"New", "Deleted"}) {
        const TTemplate t = ReadTemplate(library, name);
        EXPECT_EQ(t.CodeType, 0);
        EXPECT_EQ(t.TextLayout, 0);
        EXPECT_EQ(t.Height, 30);
        EXPECT_EQ(t.BarWidth, 64);
        EXPECT_FALSE(t.CheckSum);
        EXPECT_EQ(t.CFontName, "");
        EXPECT_EQ(t.CFontSize, 0);
    }
    const TTemplate t = ReadTemplate(library, "set");
    EXPECT_EQ(t.CodeType, 7);
    EXPECT_EQ(t.BarWidth, 50);
    EXPECT_TRUE(t.CheckSum);
    EXPECT_EQ(t.CFontName, "Arial");
    EXPECT_EQ(t.CFontStyle, "bi");
    EXPECT_EQ(t.CFontSize, 12);
}

TEST(Read2DSettings, DefaultFileAndMissingSection) {
    const std::string path = test::MakeTempDir() + "/Templates.dat";
    WriteDefaultTemplates(path);
    const T2DSettings s = Read2DSettings(TIniFile(path));
    EXPECT_EQ(s.PECC, 3);
    EXPECT_EQ(s.PBH, 4);
    EXPECT_EQ(s.MMode, 4);
    EXPECT_EQ(s.MCON, 12);
    EXPECT_EQ(s.MSEV, 22);
    EXPECT_EQ(s.MPST, "145");
    EXPECT_EQ(s.MBarWidth, 6);
    EXPECT_EQ(s.MBarHeight, 6);

    const T2DSettings d = Read2DSettings(TIniFile(test::MakeTempDir() + "/none.dat"));
    EXPECT_EQ(d.PECC, 1);
    EXPECT_EQ(d.PBW, 1);
    EXPECT_EQ(d.PBH, 3);
    EXPECT_EQ(d.MMode, 4);
    EXPECT_TRUE(d.MMAS);
    EXPECT_EQ(d.MPST, "0");
    EXPECT_EQ(d.MBarWidth, 0);
    EXPECT_EQ(d.MBarHeight, 4);
}

} // namespace
} // namespace qbm
