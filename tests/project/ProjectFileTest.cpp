#include "project/ProjectFile.h"

#include "data/DatasheetStream.h"
#include "ini/TBigIniFile.h"
#include "project/TLabelProject.h"
#include "surface/TPrinter.h"
#include "util/Errors.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace qbm;

namespace {

// Only what the project file asks of a printer: whether one is installed and its orientation.
class OrientationPrinter : public TPrinter {
public:
    explicit OrientationPrinter(int count, TPrinterOrientation o = TPrinterOrientation::poPortrait)
        : m_count(count), m_orientation(o) {}
    int PrinterCount() const override { return m_count; }
    int ResolutionX() const override { return 300; }
    int ResolutionY() const override { return 300; }
    int PageWidth() const override { return 2480; }
    int PageHeight() const override { return 3508; }
    TPrinterOrientation Orientation() const override { return m_orientation; }
    void SetOrientation(TPrinterOrientation o) override { m_orientation = o; }
    void BeginDoc() override {}
    void NewPage() override {}
    void EndDoc() override {}
    void Abort() override {}
    bool Printing() const override { return false; }
    TCanvas& Canvas() override { throw std::logic_error("no canvas"); }

private:
    int m_count;
    TPrinterOrientation m_orientation;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteAll(const std::string& path, std::string_view text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Every field away from its default, a 2D list the line form can hold, and a datasheet with odd cells.
TLabelProject FullProject() {
    TLabelProject p;
    p.SetTemplateName("My EAN13");
    p.SetLinearSource(TLinearSource::lsDatasheet);
    p.SetSplitMarks(false);
    p.SetFixedCode(" 1234567 ");
    p.SetExtCaption("Caption = \"quoted\" \u00E4"); // UTF-8, as typed
    p.SetFixedCodeAmount(999999999);
    p.SetLinage(30);
    p.SetColumn(7);
    p.SetMarginLeft(0);
    p.SetMarginRight(800);
    p.SetMarginTop(13);
    p.SetMarginBottom(1);
    p.SetSource2D(T2DSource::tsCodeList);
    p.SetAmount2D(42);
    p.SetFormat2D(1);
    p.SetText2D("fixed 2D = text\t\u00FF"); // 2D texts are UTF-8
    p.CodeList2D() = {"first", " spaced ", "[bracket]", "\u00C4\u00D6\u00DC", "last"};
    TDatasheet& sheet = p.Datasheet();
    sheet.AddColumn("Caption");
    sheet.AddColumn("Other");
    sheet.SetRowCount(5);
    sheet.SetCell(1, 1, "tab\there");
    sheet.SetCell(2, 1, "a=b");
    sheet.SetCell(3, 2, "\"quoted\"");
    sheet.SetCell(1, 3, std::string("\u0080\u0081\u00FE\0z", 8)); // the datasheet holds UTF-8
    sheet.SetCell(2, 4, "[Properties]");
    sheet.SetCell(3, 3, "line1\r\nline2");
    sheet.SetColumnWidth(1, 200);
    sheet.SetColumnWidth(3, 17);
    p.RebuildFieldList(kFieldPlaceholderDatasheet);
    p.SetCodeField(1);
    p.SetCapField(3);
    return p;
}

void ExpectSameProject(TLabelProject& a, TLabelProject& b) {
    EXPECT_EQ(a.TemplateName(), b.TemplateName());
    EXPECT_EQ(a.LinearSource(), b.LinearSource());
    EXPECT_EQ(a.SplitMarks(), b.SplitMarks());
    EXPECT_EQ(a.FixedCode(), b.FixedCode());
    EXPECT_EQ(a.ExtCaption(), b.ExtCaption());
    EXPECT_EQ(a.FixedCodeAmount(), b.FixedCodeAmount());
    EXPECT_EQ(a.Linage(), b.Linage());
    EXPECT_EQ(a.Column(), b.Column());
    EXPECT_EQ(a.MarginLeft(), b.MarginLeft());
    EXPECT_EQ(a.MarginRight(), b.MarginRight());
    EXPECT_EQ(a.MarginTop(), b.MarginTop());
    EXPECT_EQ(a.MarginBottom(), b.MarginBottom());
    EXPECT_EQ(a.Orientation(), b.Orientation());
    EXPECT_EQ(a.Source2D(), b.Source2D());
    EXPECT_EQ(a.Amount2D(), b.Amount2D());
    EXPECT_EQ(a.Format2D(), b.Format2D());
    EXPECT_EQ(a.Text2D(), b.Text2D());
    EXPECT_EQ(a.CodeList2D(), b.CodeList2D());
    EXPECT_EQ(a.CodeField(), b.CodeField());
    EXPECT_EQ(a.CapField(), b.CapField());
    EXPECT_EQ(DatasheetToStream(a.Datasheet()), DatasheetToStream(b.Datasheet()));
}

} // namespace

TEST(ProjectFile, RoundTripRestoresEveryValueAndSavingTwiceGivesTheSameBytes) {
    const std::string dir = test::MakeTempDir();
    TLabelProject original = FullProject();
    OrientationPrinter printer(1, TPrinterOrientation::poLandscape);
    original.SetOrientation(TPrinterOrientation::poLandscape);
    const TSaveReport report = SaveProject(dir + "/a.bpj", original, &printer);
    // The two-line cell is the one thing the form cannot hold: reported, and its first line kept.
    EXPECT_EQ(report.unstored, std::vector<std::string>{"Datasheet cell (3, 3)"});

    TLabelProject loaded;
    OrientationPrinter other(1, TPrinterOrientation::poPortrait);
    const auto warnings =
        LoadProject(dir + "/a.bpj", loaded, {std::vector<std::string>{"Other", "My EAN13"}, &other});
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(loaded.Datasheet().Cell(3, 3), "line1");
    original.Datasheet().SetCell(3, 3, "line1");
    ExpectSameProject(original, loaded);
    EXPECT_EQ(other.Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_EQ(loaded.FieldList()[0], "Please choose the data field ... ");
    EXPECT_EQ(loaded.CodeFieldName(), "Data1");
    EXPECT_EQ(loaded.CapFieldName(), "Other");

    SaveProject(dir + "/b.bpj", loaded, &printer);
    SaveProject(dir + "/a.bpj", original, &printer); // over the existing file
    EXPECT_EQ(ReadAll(dir + "/a.bpj"), ReadAll(dir + "/b.bpj"));
}

// The project carries its own 2D settings in a section older readers skip; a file without it loads
// with none, so the library's apply as before.
TEST(ProjectFile, Settings2DTravelWithTheProject) {
    const std::string dir = test::MakeTempDir();
    TLabelProject project;
    project.SetTemplateName("EAN13");
    SaveProject(dir + "/old.bpj", project, nullptr);
    EXPECT_EQ(ReadAll(dir + "/old.bpj").find("[Settings2D]"), std::string::npos);
    TLabelProject loaded;
    LoadProject(dir + "/old.bpj", loaded);
    EXPECT_FALSE(loaded.Settings2D());

    T2DSettings s;
    s.PECC = 4;
    s.PTruncated = true;
    s.PBW = 2;
    s.PCol = 5;
    s.MMode = 1;
    s.MCON = 826;
    s.MSEV = 1;
    s.MPST = "W1A1AA";
    s.MMAS = false;
    s.MBarWidth = s.MBarHeight = 7;
    project.SetSettings2D(s);
    EXPECT_TRUE(SaveProject(dir + "/new.bpj", project, nullptr).Complete());
    const std::string text = ReadAll(dir + "/new.bpj");
    EXPECT_NE(text.find("[Settings2D]\r\nPECC=4\r\nPTruncated=1\r\nPBW=2\r\nPBH=3\r\nPCol=5\r\nPRow=0\r\n"
                        "MMode=1\r\nMCON=826\r\nMSEV=1\r\nMPST=W1A1AA\r\nMMAS=0\r\nMBWH=7\r\n"),
              std::string::npos)
        << text;
    LoadProject(dir + "/new.bpj", loaded);
    ASSERT_TRUE(loaded.Settings2D());
    EXPECT_EQ(*loaded.Settings2D(), s);
}

TEST(ProjectFile, PrintOptionsAreKeptWhenTheyDifferFromTheDefaults) {
    const std::string dir = test::MakeTempDir();
    TLabelProject project;
    project.SetTemplateName("EAN13");
    SaveProject(dir + "/plain.bpj", project, nullptr);
    EXPECT_EQ(ReadAll(dir + "/plain.bpj").find("[PrintOptions]"), std::string::npos);

    TPrintPreferences p;
    p.verify = false;
    p.startCell = 4;
    p.firstPage = 2;
    p.lastPage = 3;
    p.fromLabel = 5000000000LL;
    p.journal = false;
    project.SetPrintPreferences(p);
    SaveProject(dir + "/options.bpj", project, nullptr);
    EXPECT_NE(ReadAll(dir + "/options.bpj")
                  .find("[PrintOptions]\r\nVerify=0\r\nStartCell=4\r\nFirstPage=2\r\nLastPage=3\r\n"
                        "FromLabel=5000000000\r\nJournal=0\r\n"),
              std::string::npos);
    TLabelProject loaded;
    LoadProject(dir + "/options.bpj", loaded);
    EXPECT_EQ(loaded.PrintPreferences(), p);
    // values no run takes read as the defaults
    std::ofstream(dir + "/odd.bpj", std::ios::binary)
        << "[Properties]\r\nTemplate=EAN13\r\n[PrintOptions]\r\nStartCell=-4\r\nFromLabel=x\r\n";
    LoadProject(dir + "/odd.bpj", loaded);
    EXPECT_EQ(loaded.PrintPreferences().startCell, 1);
    EXPECT_EQ(loaded.PrintPreferences().fromLabel, 1);
}

TEST(ProjectFile, NewTwoDFormatsKeepTheirOptionsWhereOlderReadersSeePdf417) {
    const std::string dir = test::MakeTempDir();
    TLabelProject original;
    original.SetKind(TBarcodeKind::bk2D);
    for (int format = kFirstSymbolFormat; format < static_cast<int>(k2DFormatNames.size()); ++format) {
        original.SetFormat2D(format);
        TSymbolSettings options;
        options.qrEcc = TQrEcc::H;
        options.version = 7;
        options.shape = TDataMatrixShape::Rectangle;
        options.rows = 16;
        options.columns = 48;
        options.gs1 = true;
        options.aztecEccPercent = 36;
        original.SetSymbolOptions2D(options);
        SaveProject(dir + "/a.bpj", original, nullptr);
        // Older readers know PDF417 and MaxiCode only: they open the project as PDF417.
        TBigIniFile ini(dir + "/a.bpj");
        EXPECT_EQ(ini.ReadString("Properties", "B2DFormat", ""), "PDF417 Format");

        TLabelProject loaded;
        LoadProject(dir + "/a.bpj", loaded, {});
        EXPECT_EQ(loaded.Format2DName(), original.Format2DName());
        EXPECT_EQ(loaded.SymbolOptions2D(), options);
        EXPECT_EQ(loaded.Symbol2DSettings()->symbology,
                  k2DSymbolFormats[static_cast<size_t>(format - kFirstSymbolFormat)]);
    }
    // A project of the two original formats writes no new section: its file stays as it was.
    original.SetFormat2D(1);
    original.SetSymbolOptions2D({});
    SaveProject(dir + "/b.bpj", original, nullptr);
    EXPECT_EQ(ReadAll(dir + "/b.bpj").find("Symbol2D"), std::string::npos);
}

TEST(ProjectFile, WritesKeysInOrderAndTheDatasheetAsHex) {
    const std::string dir = test::MakeTempDir();
    TLabelProject project;
    project.SetTemplateName("T");
    project.CodeList2D() = {"x", "y"};
    SaveProject(dir + "/p.bpj", project, nullptr);
    const std::string hex = StreamToHex(DatasheetToStream(project.Datasheet()));
    EXPECT_EQ(ReadAll(dir + "/p.bpj"), "[Properties]\r\n"
                                       "Template=T\r\n"
                                       "VariousCode=0\r\n"
                                       "SplitMark=1\r\n"
                                       "FixedCode=\r\n"
                                       "ExtCaption=\r\n"
                                       "CodeField=0\r\n"
                                       "CapField=0\r\n"
                                       "FixedCodeAmount=1\r\n"
                                       "Linage=2\r\n"
                                       "Column=2\r\n"
                                       "MLeft=10\r\n"
                                       "MRight=10\r\n"
                                       "MTop=10\r\n"
                                       "MBottom=10\r\n"
                                       "Various2DCode=0\r\n"
                                       "B2DAmount=1\r\n"
                                       "B2DFormat=PDF417 Format\r\n"
                                       "Verify=1\r\n"
                                       "\r\n"
                                       "[B2DCode]\r\n"
                                       "Code=\r\n"
                                       "\r\n"
                                       "[Var2DCodeValue]\r\n"
                                       "x= \r\n"
                                       "y= \r\n"
                                       "\r\n"
                                       "[VarCodeValue]\r\n"
                                       "Data=" +
                                           hex +
                                           "\r\n"
                                           "\r\n");
    EXPECT_EQ(hex.substr(0, 10), "322C320D0A"); // "2,2\r\n"
}

TEST(ProjectFile, ListEntriesTheLineFormCannotHoldAreKeptInTheExtraSection) {
    const std::string dir = test::MakeTempDir();
    TLabelProject project;
    project.CodeList2D() = {"a", "", "k=v", "A", "two\r\nlines", "b", "\x1a"};
    EXPECT_TRUE(SaveProject(dir + "/p.bpj", project, nullptr).Complete());
    const std::string text = ReadAll(dir + "/p.bpj");
    // Older readers still find what the old form holds, merged as they always were.
    EXPECT_NE(text.find("[Var2DCodeValue]\r\nA= \r\nb= \r\n\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Var2DCodeList]\r\nItem1=61\r\nItem2=\r\nItem3=6B3D76\r\n"), std::string::npos);
    EXPECT_GT(text.find("[Var2DCodeList]"), text.find("[VarCodeValue]"));

    TLabelProject loaded;
    LoadProject(dir + "/p.bpj", loaded);
    EXPECT_EQ(loaded.CodeList2D(), project.CodeList2D());

    // Without the extra section the old one is read: key names in line order.
    WriteAll(dir + "/old.bpj", "[Var2DCodeValue]\r\n c = \r\nd=ignored\r\n=skipped\r\nnoequals\r\n");
    LoadProject(dir + "/old.bpj", loaded);
    EXPECT_EQ(loaded.CodeList2D(), (std::vector<std::string>{" c ", "d"}));
}

TEST(ProjectFile, ValuesWithLineBreaksAreCutAndReportedByNameButTheFixed2DTextStaysWhole) {
    const std::string dir = test::MakeTempDir();
    TLabelProject project;
    project.SetTemplateName("T");
    project.SetFixedCode("AB\rCD"); // the control-character menu can append a CR
    project.SetText2D("line1\r\n[VarCodeValue]\r\nData=00");
    project.Datasheet().SetCell(1, 1, "two\r\nlines");
    project.Datasheet().SetCell(1, 0, "tab\tand\bbackspace");
    project.Datasheet().SetCell(0, 1, "fine\ttab");
    const TSaveReport report = SaveProject(dir + "/p.bpj", project, nullptr);
    EXPECT_EQ(report.unstored,
              (std::vector<std::string>{"FixedCode", "Datasheet cell (1, 0)", "Datasheet cell (1, 1)"}));
    EXPECT_NE(report.Message().find("FixedCode, Datasheet cell (1, 0)"), std::string::npos);
    EXPECT_NE(ReadAll(dir + "/p.bpj").find("[B2DCode]\r\nCode=line1\r\n"),
              std::string::npos); // older readers

    TLabelProject loaded;
    LoadProject(dir + "/p.bpj", loaded);
    EXPECT_EQ(loaded.FixedCode(), "AB");
    EXPECT_EQ(loaded.Text2D(), project.Text2D());
    EXPECT_EQ(loaded.Datasheet().Cell(1, 1), "two"); // only the first line of a cell comes back
    EXPECT_EQ(loaded.Datasheet().Cell(0, 1), "fine\ttab");
    EXPECT_EQ(ReadAll(dir + "/p.bpj").find("[VarCodeValue]"),
              ReadAll(dir + "/p.bpj").rfind("[VarCodeValue]"));
}

TEST(ProjectFile, NonProjectFileLoadsDefaultsWithAnEmptyNameWarning) {
    const std::string dir = test::MakeTempDir();
    WriteAll(dir + "/notes.txt", "just some text\r\nnot=ini\r\n");
    TLabelProject project;
    project.SetLinage(5);
    project.SetFormat2D(1);
    project.CodeList2D() = {"stale"};
    const auto warnings =
        LoadProject(dir + "/notes.txt", project, {std::vector<std::string>{"EAN13"}, nullptr});
    EXPECT_EQ(warnings, (std::vector<std::string>{"Template: \"\" has been removed!"}));
    EXPECT_FALSE(project.HasTemplate());
    EXPECT_EQ(project.LinearSource(), TLinearSource::lsDatasheet);
    EXPECT_EQ(project.Source2D(), T2DSource::tsFixedText);
    EXPECT_TRUE(project.SplitMarks());
    EXPECT_EQ(project.Linage(), 1);
    EXPECT_EQ(project.Column(), 1);
    EXPECT_EQ(project.MarginLeft(), 10);
    EXPECT_EQ(project.FixedCodeAmount(), 1);
    EXPECT_EQ(project.Amount2D(), 1);
    EXPECT_EQ(project.Format2D(), 0);
    EXPECT_EQ(project.Orientation(), TPrinterOrientation::poPortrait);
    EXPECT_TRUE(project.CodeList2D().empty());
    EXPECT_EQ(project.CodeField(), 0);
}

TEST(ProjectFile, HandEditedValuesAndMissingTemplate) {
    const std::string dir = test::MakeTempDir();
    WriteAll(dir + "/p.bpj", "[properties]\r\nTEMPLATE=  Gone  \r\nlinage=0\r\nColumn=99\r\nMLeft=-5\r\n"
                             "paperzx=0\r\nB2DFormat=QR Format\r\nFixedCodeAmount=x\r\nCodeField=7\r\n");
    TLabelProject project;
    OrientationPrinter printer(2);
    const auto warnings = LoadProject(dir + "/p.bpj", project, {std::vector<std::string>{"EAN13"}, &printer});
    EXPECT_EQ(warnings, (std::vector<std::string>{"Template: \"Gone\" has been removed!"}));
    EXPECT_EQ(project.TemplateName(), "");
    EXPECT_EQ(project.Linage(), 1);
    EXPECT_EQ(project.Column(), 50);
    EXPECT_EQ(project.MarginLeft(), 0);
    EXPECT_EQ(project.Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_EQ(printer.Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_EQ(project.Format2DName(), "PDF417 Format");
    EXPECT_EQ(project.FixedCodeAmount(), 1);
    EXPECT_EQ(project.CodeField(), -1); // no such entry: nothing selected

    // "PaperZX" other than 0 and 1: landscape for the layout, portrait for the printer.
    WriteAll(dir + "/q.bpj", "[Properties]\r\nPaperZX=2\r\n");
    LoadProject(dir + "/q.bpj", project, {std::nullopt, &printer});
    EXPECT_EQ(project.Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_EQ(printer.Orientation(), TPrinterOrientation::poPortrait);
}

TEST(ProjectFile, CarriesACopyOfItsTemplateAndWhetherItVerifies) {
    const std::string dir = test::MakeTempDir();
    TLabelProject p;
    p.SetTemplateName("Shelf");
    TTemplate t;
    t.CodeType = 14;
    t.Height = 12;
    t.BarWidth = 33;
    t.CheckSum = true;
    t.CFontName = "DejaVu Sans";
    t.CFontSize = 9;
    p.SetTemplateCopy(t);
    p.SetVerifyLabels(false);
    SaveProject(dir + "/p.bpj", p, nullptr);
    EXPECT_NE(test::ReadWholeFile(dir + "/p.bpj").find("[LinearTemplate]\r\nCodeType=14\r\n"),
              std::string::npos);

    // A library without the template: the project's copy draws it, and nothing is said.
    TLabelProject q;
    EXPECT_TRUE(LoadProject(dir + "/p.bpj", q, {std::vector<std::string>{"EAN13"}, nullptr}).empty());
    EXPECT_EQ(q.TemplateName(), "Shelf");
    ASSERT_TRUE(q.TemplateCopy());
    EXPECT_EQ(*q.TemplateCopy(), t);
    EXPECT_FALSE(q.VerifyLabels());

    // A file from before: no copy, no reading back; a new project reads back.
    WriteAll(dir + "/old.bpj", "[Properties]\r\nTemplate=EAN13\r\n");
    TLabelProject old;
    EXPECT_TRUE(old.VerifyLabels());
    LoadProject(dir + "/old.bpj", old, {std::vector<std::string>{"EAN13"}, nullptr});
    EXPECT_FALSE(old.TemplateCopy());
    EXPECT_FALSE(old.VerifyLabels());
}

// The symbol types' ordinals travel in the template copy like the others'.
TEST(ProjectFile, ASymbolTypeTemplateSavesAndReopens) {
    const std::string dir = test::MakeTempDir();
    TLabelProject p;
    p.SetTemplateName("Pallet");
    TTemplate t;
    t.CodeType = 27;
    t.TextLayout = 2;
    t.Height = 15;
    p.SetTemplateCopy(t);
    p.SetFixedCode("(01)09501101530003(3103)000750");
    SaveProject(dir + "/p.bpj", p, nullptr);
    TLabelProject q;
    EXPECT_TRUE(LoadProject(dir + "/p.bpj", q, {std::vector<std::string>{}, nullptr}).empty());
    ASSERT_TRUE(q.TemplateCopy());
    EXPECT_EQ(*q.TemplateCopy(), t);
    EXPECT_EQ(q.FixedCode(), "(01)09501101530003(3103)000750");
    SaveProject(dir + "/q.bpj", q, nullptr);
    EXPECT_EQ(test::ReadWholeFile(dir + "/q.bpj"), test::ReadWholeFile(dir + "/p.bpj"));
}

TEST(ProjectFile, PaperZXOnlyWithAPrinter) {
    const std::string dir = test::MakeTempDir();
    TLabelProject project;
    SaveProject(dir + "/none.bpj", project, nullptr);
    OrientationPrinter absent(0);
    SaveProject(dir + "/absent.bpj", project, &absent);
    OrientationPrinter present(1);
    SaveProject(dir + "/present.bpj", project, &present);
    EXPECT_EQ(ReadAll(dir + "/none.bpj").find("PaperZX"), std::string::npos);
    EXPECT_EQ(ReadAll(dir + "/absent.bpj").find("PaperZX"), std::string::npos);
    EXPECT_NE(ReadAll(dir + "/present.bpj").find("MBottom=10\r\nPaperZX=1\r\nVarious2DCode=0"),
              std::string::npos);
    project.SetOrientation(TPrinterOrientation::poLandscape);
    LoadProject(dir + "/none.bpj", project);
    EXPECT_EQ(project.Orientation(), TPrinterOrientation::poPortrait);
}

TEST(ProjectFile, DamagedDatasheetStopsTheLoadAfterTheSettings) {
    const std::string dir = test::MakeTempDir();
    WriteAll(dir + "/p.bpj",
             "[Properties]\r\nLinage=4\r\n\r\n[VarCodeValue]\r\nData=" + StreamToHex("x,2\r\n") + "\r\n");
    TLabelProject project;
    EXPECT_THROW_MSG(LoadProject(dir + "/p.bpj", project), EConvertError, "'x' is not a valid integer value");
    EXPECT_EQ(project.Linage(), 4);
}

TEST(ProjectFile, ProjectCutShortInsideItsDatasheetIsDamaged) {
    const std::string dir = test::MakeTempDir();
    TLabelProject p;
    p.SetTemplateName("EAN13");
    p.SetLinearSource(TLinearSource::lsDatasheet);
    p.Datasheet().SetRowCount(15);
    for (int r = 1; r < 15; ++r) p.Datasheet().SetCell(1, r, "400638133393" + std::to_string(r % 10));
    SaveProject(dir + "/whole.bpj", p, nullptr);
    const std::string whole = ReadAll(dir + "/whole.bpj");
    const size_t data = whole.find("Data=") + 5;
    const size_t end = whole.find('\r', data);
    ASSERT_NE(end, std::string::npos);
    // Every cut inside the hexadecimal text, except one that falls exactly between two cell lines
    // (nothing tells those apart from a table that ends there), is refused.
    int refused = 0;
    for (size_t cut = data; cut < end; ++cut) {
        const std::string stream = HexToStream(std::string_view(whole).substr(data, cut - data));
        WriteAll(dir + "/cut.bpj", whole.substr(0, cut));
        TLabelProject loaded;
        const bool boundary =
            stream.empty() || (stream.size() >= 2 && stream.substr(stream.size() - 2) == "\r\n" &&
                               stream.find("cw 1,") != std::string::npos);
        if (boundary) continue;
        ++refused;
        try {
            LoadProject(dir + "/cut.bpj", loaded);
            ADD_FAILURE() << "cut at " << cut - data << " loaded";
        } catch (const EInOutError& e) {
            EXPECT_NE(std::string(e.what()).find("/cut.bpj\" is damaged: it ends "), std::string::npos)
                << e.what();
        }
    }
    EXPECT_GT(refused, 400);
}

TEST(ProjectFile, DatasheetDeclaringRowsItDoesNotHoldIsDamaged) {
    const std::string dir = test::MakeTempDir();
    WriteAll(dir + "/p.bpj",
             "[VarCodeValue]\r\nData=" +
                 StreamToHex("2,100000000\r\ncw 0,50\r\ncw 1,115\r\n1,0,Code\r\n1,1,123\r\n") + "\r\n");
    TLabelProject project;
    EXPECT_THROW_MSG(LoadProject(dir + "/p.bpj", project), EInOutError,
                     "The datasheet in \"" + dir +
                         "/p.bpj\" is damaged: it declares 100000000 rows but holds text only up to row 1.");
}

TEST(ProjectFile, FailedSaveKeepsThePreviousFileWhole) {
    const std::string dir = test::MakeTempDir();
    const std::string path = dir + "/p.bpj";
    TLabelProject project;
    project.SetTemplateName("Before");
    SaveProject(path, project, nullptr);
    const std::string before = ReadAll(path);

    // A file size limit makes the write fail half-way, as a full disk would, also for root.
    project.SetTemplateName("After");
    project.Datasheet().SetCell(1, 1, std::string(100000, 'n'));
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(SaveProject(path, project, nullptr), EInOutError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1); // no temporary left
}

namespace {
// A landscape sheet with margins that are not whole millimetres.
TStockChoice LandscapeStock() {
    return {"Brand", "P-1", 451, 1049, 449, 951, 29700, 21000, 6350, 3810, 318};
}
} // namespace

TEST(ProjectFile, StockKeysKeepExactMarginsAndOlderKeysKeepWholeMillimetres) {
    const std::string dir = test::MakeTempDir();
    TLabelProject project;
    project.SetMarginLeft(5);
    project.SetMarginTop(10);
    project.SetMarginRight(4);
    project.SetMarginBottom(10);
    project.SetStock(LandscapeStock());
    SaveProject(dir + "/stock.bpj", project, nullptr);
    const std::string text = ReadAll(dir + "/stock.bpj");
    EXPECT_NE(text.find("MLeft=5\r\nMRight=4\r\nMTop=10\r\nMBottom=10\r\n"), std::string::npos);
    EXPECT_NE(text.find("StockBrand=Brand\r\nStockPart=P-1\r\nStockMLeft=451\r\nStockMTop=1049\r\n"),
              std::string::npos);

    TLabelProject loaded;
    OrientationPrinter printer(1);
    LoadProject(dir + "/stock.bpj", loaded, {std::nullopt, &printer});
    ASSERT_TRUE(loaded.Stock().has_value());
    EXPECT_EQ(*loaded.Stock(), LandscapeStock());
    EXPECT_DOUBLE_EQ(loaded.MarginLeftMm(), 4.51);
    EXPECT_DOUBLE_EQ(loaded.MarginBottomMm(), 9.51);
    // The sheet lies landscape whatever "PaperZX" says.
    EXPECT_EQ(loaded.Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_EQ(printer.Orientation(), TPrinterOrientation::poLandscape);

    // A project without a stock writes none of the keys.
    loaded.SetMarginLeft(6);
    EXPECT_FALSE(loaded.Stock().has_value());
    EXPECT_DOUBLE_EQ(loaded.MarginLeftMm(), 6.0);
    SaveProject(dir + "/plain.bpj", loaded, nullptr);
    EXPECT_EQ(ReadAll(dir + "/plain.bpj").find("Stock"), std::string::npos);
}

TEST(ProjectFile, StockKeysThatNoLongerFitTheMarginsAreDropped) {
    const std::string dir = test::MakeTempDir();
    const std::string base =
        "[Properties]\r\nMLeft=5\r\nMRight=4\r\nMTop=10\r\nMBottom=10\r\nStockBrand=B\r\n"
        "StockPart=1\r\nStockMTop=1049\r\nStockMRight=449\r\nStockMBottom=951\r\n"
        "StockPageWidth=29700\r\nStockPageHeight=21000\r\nStockLabelWidth=6350\r\n"
        "StockLabelHeight=3810\r\nStockLabelRound=0\r\n";
    struct Case {
        const char* extra;
        bool kept;
    };
    const Case cases[] = {
        /* 0 */ {"StockMLeft=451\r\n", true},
        /* 1 */ {"StockMLeft=620\r\n", false}, // margin edited by hand since
        /* 2 */ {"StockMLeft=x\r\n", false},
        /* 3 */ {"StockMLeft=-900000\r\n", false},
        /* 4 */ {"", false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        WriteAll(dir + "/p.bpj", base + cases[i].extra);
        TLabelProject project;
        LoadProject(dir + "/p.bpj", project);
        EXPECT_EQ(project.Stock().has_value(), cases[i].kept) << "case " << i;
        EXPECT_EQ(project.MarginLeft(), 5) << "case " << i;
    }
}

TEST(ProjectFile, Latin1DatasheetIsWrittenAsEverAndOtherScriptsTravelBeside) {
    const std::string dir = test::MakeTempDir();
    TLabelProject project;
    project.SetTemplateName("T");
    project.SetExtCaption("Cr\u00E8me");
    project.SetText2D("\u00C4pfel");
    project.CodeList2D() = {"K\u00E4se", "Brot"};
    project.Datasheet().SetCell(1, 1, "K\u00E4se");
    SaveProject(dir + "/latin.bpj", project, nullptr);
    const std::string latin = ReadAll(dir + "/latin.bpj");
    // "Käse" as the Latin-1 bytes older readers expect, and nothing more.
    EXPECT_NE(latin.find("312C312C4BE47365"), std::string::npos);
    EXPECT_NE(latin.find("ExtCaption=Cr\xE8me\r\n"), std::string::npos);
    EXPECT_NE(latin.find("Code=\xC4pfel\r\n"), std::string::npos);
    EXPECT_NE(latin.find("K\xE4se= \r\n"), std::string::npos);
    EXPECT_EQ(latin.find("Utf8"), std::string::npos);

    project.Datasheet().SetCell(1, 1, "\u03A9\u03BC\u00E9\u65E5\U0001F4E6");
    project.Datasheet().SetCell(1, 0, "\u540D\u524D");
    project.SetExtCaption("Fr\u00FChst\u00FCck \u2013 1,50 \u20AC \u0395\u03BB\u03BB\u03AC\u03B4\u03B1");
    project.CodeList2D() = {"https://example.com/\u65E5\u672C", "K\u00E4se"};
    SaveProject(dir + "/any.bpj", project, nullptr);
    const std::string any = ReadAll(dir + "/any.bpj");
    // Older readers find '?' for what Latin-1 lacks, in the place they always read.
    EXPECT_NE(any.find("312C312C3F3FE93F3F"), std::string::npos);
    EXPECT_NE(any.find("[VarCodeValueUtf8]\r\nData="), std::string::npos);
    EXPECT_NE(any.find("ExtCaption=Fr\xFChst\xFC"
                       "ck ? 1,50 ? ??????\r\n"),
              std::string::npos);
    EXPECT_NE(any.find("[PropertiesUtf8]\r\nExtCaption="), std::string::npos);
    TLabelProject loaded;
    LoadProject(dir + "/any.bpj", loaded, {});
    EXPECT_EQ(loaded.ExtCaption(),
              "Fr\u00FChst\u00FCck \u2013 1,50 \u20AC \u0395\u03BB\u03BB\u03AC\u03B4\u03B1");
    EXPECT_EQ(loaded.CodeList2D(), project.CodeList2D());
    EXPECT_EQ(loaded.Text2D(), "\u00C4pfel");
    EXPECT_NE(any.find("[B2DCodeUtf8]\r\n"), std::string::npos);
    EXPECT_EQ(loaded.Datasheet().Cell(1, 1), "\u03A9\u03BC\u00E9\u65E5\U0001F4E6");
    EXPECT_EQ(loaded.Datasheet().ColumnName(1), "\u540D\u524D");
    SaveProject(dir + "/again.bpj", loaded, nullptr);
    EXPECT_EQ(ReadAll(dir + "/again.bpj"), any);

    // A file of an older writer holds Latin-1 and loads as the same characters.
    TLabelProject old;
    LoadProject(dir + "/latin.bpj", old, {});
    EXPECT_EQ(old.Datasheet().Cell(1, 1), "K\u00E4se");
    EXPECT_EQ(old.ExtCaption(), "Cr\u00E8me");
    EXPECT_EQ(old.CodeList2D(), (std::vector<std::string>{"K\u00E4se", "Brot"}));
    EXPECT_EQ(old.Text2D(), "\u00C4pfel");
}
