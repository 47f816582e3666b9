// Imports at the sizes real files have, each beside a baseline measured in the same run:
//   .xls, 65,536 x 6 cells, per cell              vs the .xlsx import of the same cells, per cell
//   .xlsx and .ods, 100,000 x 6 cells              vs a bare pass over their sheet XML (unzip + tokens)
//   CSV, 100,000 x 6 cells                          vs std::getline over the same file
//   the sheet XML read by the import's own scanner  vs the same bare pass with Qt's reader
//   peak memory of each import                      vs the file's text

#include "data/DatasheetImport.h"
#include "data/TDatasheet.h"
#include "data/XmlScanner.h"
#include "util/TUserPrompts.h"

#include <QXmlStreamReader>
#include <xlsxwriter.h>
#include <zip.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The cells of row r (from 1; row 0 is the header): a name, four numbers and a code.
std::string Name(int r) {
    return "Product name " + std::to_string(r);
}
double Number(int r, int c) {
    return c == 1 ? r : c == 2 ? (r % 1000) + (r % 100) / 100.0 : c == 3 ? r % 7 : 45000 + r % 400;
}
std::string Code(int r) {
    return "40063813" + std::to_string(10000 + r % 90000);
}
const char* kHeader[6] = {"Name", "Number", "Price", "Qty", "Due", "Code"};

// --- an Excel 97-2003 file: a BIFF8 workbook stream in a compound file of 512-byte sectors -------------

void Put16(std::string& s, uint16_t v) {
    s.append(reinterpret_cast<const char*>(&v), 2);
}
void Put32(std::string& s, uint32_t v) {
    s.append(reinterpret_cast<const char*>(&v), 4);
}
void Record(std::string& s, uint16_t type, const std::string& data) {
    Put16(s, type);
    Put16(s, static_cast<uint16_t>(data.size()));
    s += data;
}

std::string XlsStream(int rows) {
    std::vector<std::string> strings;
    for (int i = 0; i < 6; ++i) strings.emplace_back(kHeader[i]);
    for (int r = 1; r < rows; ++r) {
        strings.push_back(Name(r));
        strings.push_back(Code(r));
    }
    std::string g;
    std::string bof;
    Put16(bof, 0x0600), Put16(bof, 0x0005), Put16(bof, 0x0DBB), Put16(bof, 0x07CC), Put32(bof, 0),
        Put32(bof, 6);
    Record(g, 0x0809, bof);
    std::string window(18, '\0');
    Record(g, 0x003D, window);
    std::string xf(20, '\0');
    for (int i = 0; i < 16; ++i) Record(g, 0x00E0, xf); // 15 style formats and the cells' one (General)
    const size_t boundSheetAt = g.size() + 4;
    std::string sheetEntry;
    Put32(sheetEntry, 0), sheetEntry += '\0', sheetEntry += '\0', sheetEntry += '\x06', sheetEntry += '\0';
    sheetEntry += "Sheet1";
    Record(g, 0x0085, sheetEntry);
    // The shared texts, in pieces of at most 8224 bytes; a text never splits.
    std::string piece;
    Put32(piece, static_cast<uint32_t>(strings.size())), Put32(piece, static_cast<uint32_t>(strings.size()));
    uint16_t type = 0x00FC;
    for (const std::string& s : strings) {
        std::string text;
        Put16(text, static_cast<uint16_t>(s.size()));
        text += '\0';
        text += s;
        if (piece.size() + text.size() > 8224) {
            Record(g, type, piece);
            type = 0x003C;
            piece.clear();
        }
        piece += text;
    }
    Record(g, type, piece);
    Record(g, 0x000A, "");

    std::string sheet;
    std::string sheetBof = bof;
    sheetBof[2] = 0x10, sheetBof[3] = 0;
    Record(sheet, 0x0809, sheetBof);
    const auto sst = [&](int r, int c, uint32_t index) {
        std::string d;
        Put16(d, static_cast<uint16_t>(r)), Put16(d, static_cast<uint16_t>(c)), Put16(d, 15), Put32(d, index);
        Record(sheet, 0x00FD, d);
    };
    for (int c = 0; c < 6; ++c) sst(0, c, static_cast<uint32_t>(c));
    for (int r = 1; r < rows; ++r) {
        sst(r, 0, static_cast<uint32_t>(6 + 2 * (r - 1)));
        std::string d;
        Put16(d, static_cast<uint16_t>(r)), Put16(d, 1);
        for (int c = 1; c <= 4; ++c) {
            // RK: the number times 100 as a 30-bit integer.
            const auto hundredths = static_cast<int32_t>(Number(r, c) * 100 + 0.5);
            Put16(d, 15), Put32(d, static_cast<uint32_t>(hundredths << 2) | 3);
        }
        Put16(d, 4);
        Record(sheet, 0x00BD, d);
        sst(r, 5, static_cast<uint32_t>(7 + 2 * (r - 1)));
    }
    Record(sheet, 0x000A, "");
    const auto offset = static_cast<uint32_t>(g.size());
    std::memcpy(g.data() + boundSheetAt, &offset, 4);
    return g + sheet;
}

void WriteXls(const std::string& path, int rows) {
    std::string stream = XlsStream(rows);
    const auto streamSize = static_cast<uint32_t>(stream.size());
    constexpr size_t kSector = 512;
    const size_t streamSectors = (stream.size() + kSector - 1) / kSector;
    stream.resize(streamSectors * kSector, '\0');
    size_t fatSectors = 1;
    while (fatSectors * 128 < streamSectors + 1 + fatSectors) ++fatSectors;
    if (fatSectors > 109)
        throw std::runtime_error("the benchmark's workbook needs more FAT than its header lists");
    const auto directorySector = static_cast<uint32_t>(streamSectors);
    std::string header(kSector, '\0');
    std::memcpy(header.data(), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    const auto set16 = [&](size_t at, uint16_t v) { std::memcpy(header.data() + at, &v, 2); };
    const auto set32 = [&](size_t at, uint32_t v) { std::memcpy(header.data() + at, &v, 4); };
    set16(0x18, 0x3E), set16(0x1A, 3), set16(0x1C, 0xFFFE), set16(0x1E, 9), set16(0x20, 6);
    set32(0x2C, static_cast<uint32_t>(fatSectors)), set32(0x30, directorySector), set32(0x38, 4096);
    set32(0x3C, 0xFFFFFFFE), set32(0x44, 0xFFFFFFFE);
    for (size_t i = 0; i < 109; ++i)
        set32(0x4C + 4 * i, i < fatSectors ? static_cast<uint32_t>(streamSectors + 1 + i) : 0xFFFFFFFF);
    std::string directory(kSector, '\0');
    const auto entry = [&](size_t index, const char* name, uint8_t kind, uint32_t child, uint32_t start,
                           uint32_t size) {
        char* e = directory.data() + 128 * index;
        uint16_t length = 0;
        for (; name[length]; ++length) e[2 * length] = name[length];
        const uint16_t bytes = static_cast<uint16_t>(2 * (length + 1));
        std::memcpy(e + 64, &bytes, 2);
        e[66] = static_cast<char>(kind), e[67] = 1;
        const uint32_t none = 0xFFFFFFFF;
        std::memcpy(e + 68, &none, 4), std::memcpy(e + 72, &none, 4), std::memcpy(e + 76, &child, 4);
        std::memcpy(e + 116, &start, 4), std::memcpy(e + 120, &size, 4);
    };
    entry(0, "Root Entry", 5, 1, 0xFFFFFFFE, 0);
    entry(1, "Workbook", 2, 0xFFFFFFFF, 0, streamSize);
    std::string fat(fatSectors * kSector, '\xFF');
    const auto link = [&](size_t s, uint32_t next) { std::memcpy(fat.data() + 4 * s, &next, 4); };
    for (size_t s = 0; s < streamSectors; ++s)
        link(s, s + 1 == streamSectors ? 0xFFFFFFFE : static_cast<uint32_t>(s + 1));
    link(directorySector, 0xFFFFFFFE);
    for (size_t i = 0; i < fatSectors; ++i) link(streamSectors + 1 + i, 0xFFFFFFFD);
    std::ofstream(path, std::ios::binary) << header << stream << directory << fat;
}

// --- .xlsx (libxlsxwriter) and .ods (its content XML, zipped) ------------------------------------------

void WriteXlsx(const std::string& path, int rows) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    for (int c = 0; c < 6; ++c)
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), kHeader[c], nullptr);
    for (int r = 1; r < rows; ++r) {
        worksheet_write_string(sheet, static_cast<lxw_row_t>(r), 0, Name(r).c_str(), nullptr);
        for (int c = 1; c <= 4; ++c)
            worksheet_write_number(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), Number(r, c),
                                   nullptr);
        worksheet_write_string(sheet, static_cast<lxw_row_t>(r), 5, Code(r).c_str(), nullptr);
    }
    workbook_close(workbook);
}

std::string OdsContent(int rows) {
    std::string x = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet><table:table table:name="Sheet1">)";
    const auto text = [&](const std::string& t) {
        x += "<table:table-cell office:value-type=\"string\"><text:p>" + t + "</text:p></table:table-cell>";
    };
    x += "<table:table-row>";
    for (const char* h : kHeader) text(h);
    x += "</table:table-row>";
    for (int r = 1; r < rows; ++r) {
        x += "<table:table-row>";
        text(Name(r));
        for (int c = 1; c <= 4; ++c) {
            char v[32];
            std::snprintf(v, sizeof v, "%.15g", Number(r, c));
            x += std::string("<table:table-cell office:value-type=\"float\" office:value=\"") + v +
                 "\"><text:p>" + v + "</text:p></table:table-cell>";
        }
        text(Code(r));
        x += "</table:table-row>";
    }
    return x + "</table:table></office:spreadsheet></office:body></office:document-content>";
}

void WriteOds(const std::string& path, const std::string& content) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    const std::string mimetype = "application/vnd.oasis.opendocument.spreadsheet";
    zip_file_add(archive, "mimetype", zip_source_buffer(archive, mimetype.data(), mimetype.size(), 0), 0);
    zip_file_add(archive, "content.xml", zip_source_buffer(archive, content.data(), content.size(), 0), 0);
    zip_close(archive);
}

std::string UnzipPart(const std::string& path, const char* part) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    zip_stat_t st;
    if (zip_stat(archive, part, 0, &st) != 0) { // a part the file does not have
        zip_close(archive);
        return {};
    }
    std::string bytes(st.size, '\0');
    zip_file_t* file = zip_fopen(archive, part, 0);
    zip_fread(file, bytes.data(), bytes.size());
    zip_fclose(file);
    zip_close(archive);
    return bytes;
}

// --- timing ---------------------------------------------------------------------------------------------

double BestSeconds(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// The peak memory of one import, in a fresh process (this program with --import, which prints its own
// high-water mark): a child forked from this one would start with this process's heap, which holds what
// the earlier measurements unzipped, and count it or not as the allocator happens to reuse it; and the
// kernel's figure for a child carries the parent's over an exec.
double PeakMbOfImport(const std::string& path) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    FILE* child = popen(("'" + self + "' --import '" + path + "'").c_str(), "r");
    double kb = -1;
    if (!child || std::fscanf(child, "%lf", &kb) != 1 || pclose(child) != 0 || kb < 0) {
        std::fprintf(stderr, "the import of %s in a process of its own failed\n", path.c_str());
        std::exit(1);
    }
    return kb / 1024.0;
}

// This process's peak resident memory in kB, from the kernel's account.
long HighWaterKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

int Import(const std::string& path) {
    qbm::TDatasheet sheet;
    qbm::TScriptedPrompts prompts;
    const auto result = qbm::ImportData(sheet, path, prompts, nullptr);
    if (result.outcome != qbm::TImportOutcome::ioImported) {
        std::fprintf(stderr, "import of %s failed: %s\n", path.c_str(), result.message.c_str());
        std::exit(1);
    }
    return sheet.RowCount();
}

void Row(const char* what, double ours, const char* baselineWhat, double baseline, const char* unit) {
    std::printf("%-34s %9.3f %s   %-30s %9.3f %s   ratio %5.2f\n", what, ours, unit, baselineWhat, baseline,
                unit, baseline > 0 ? ours / baseline : 0.0);
}

void WriteCsv(const std::string& path, int rows) {
    std::ofstream out(path, std::ios::binary);
    out << "Name;Number;Price;Qty;Due;Code\n";
    for (int r = 1; r < rows; ++r)
        out << Name(r) << ";" << Number(r, 1) << ";" << Number(r, 2) << ";" << Number(r, 3) << ";"
            << Number(r, 4) << ";" << Code(r) << "\n";
}

} // namespace

// "--import FILE" only imports that file (the memory measurement runs it in a process of its own, and a
// profiler or heaptrack may too); "--write DIR" only writes the benchmark's files into DIR.
int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode == "--import") {
        Import(argv[2]);
        std::printf("%ld\n", HighWaterKb());
        return 0;
    }
    const std::filesystem::path dir = mode == "--write"
                                          ? std::filesystem::path(argv[2])
                                          : std::filesystem::temp_directory_path() / "qbm-bench-import";
    std::filesystem::create_directories(dir);
    const std::string xls = (dir / "cells.xls").string(), xlsxSmall = (dir / "cells65536.xlsx").string();
    const std::string xlsx = (dir / "cells.xlsx").string(), ods = (dir / "cells.ods").string();
    const std::string csv = (dir / "cells.csv").string();
    WriteXls(xls, 65536);
    WriteXlsx(xlsxSmall, 65536);
    WriteXlsx(xlsx, 100000);
    WriteOds(ods, OdsContent(100000));
    WriteCsv(csv, 100000);
    // The same kinds of file with 100 rows (a workbook stream of fewer than 4096 bytes would need the
    // compound file's small-stream store, which WriteXls does not write): what an import costs
    // before its cells.
    const std::string xlsTwo = (dir / "small.xls").string(), xlsxTwo = (dir / "small.xlsx").string();
    const std::string odsTwo = (dir / "small.ods").string(), csvTwo = (dir / "small.csv").string();
    WriteXls(xlsTwo, 100);
    WriteXlsx(xlsxTwo, 100);
    WriteOds(odsTwo, OdsContent(100));
    WriteCsv(csvTwo, 100);
    if (mode == "--write") return 0;
    if (Import(xls) != 65536 || Import(xlsxSmall) != 65536 || Import(xlsx) != 100000 ||
        Import(ods) != 100000 || Import(csv) != 100000) {
        std::fprintf(stderr, "an import gave the wrong number of rows\n");
        return 1;
    }
    constexpr int kRuns = 3;
    const double cellsXls = 65536.0 * 6;
    const double tXls = BestSeconds(kRuns, [&] { Import(xls); });
    const double tXlsxSmall = BestSeconds(kRuns, [&] { Import(xlsxSmall); });
    Row(".xls 65,536 x 6, per cell", tXls / cellsXls * 1e9, ".xlsx of the same cells",
        tXlsxSmall / cellsXls * 1e9, "ns");
    const auto barePass = [](const std::string& path, const char* part) {
        QXmlStreamReader xml(QByteArray::fromStdString(UnzipPart(path, part)));
        while (!xml.atEnd()) xml.readNext();
    };
    const double tXlsx = BestSeconds(kRuns, [&] { Import(xlsx); });
    const double bXlsx = BestSeconds(kRuns, [&] { barePass(xlsx, "xl/worksheets/sheet1.xml"); });
    Row(".xlsx 100,000 x 6", tXlsx, "unzip + XML tokens of the sheet", bXlsx, "s ");
    const auto scannerPass = [](const std::string& path, const char* part) {
        const std::string bytes = UnzipPart(path, part);
        size_t at = 0;
        qbm::TXmlScanner xml([&](char* buffer, size_t size) {
            const size_t n = std::min(size, bytes.size() - at);
            std::memcpy(buffer, bytes.data() + at, n);
            at += n;
            return n;
        });
        while (xml.Next() != qbm::TXmlToken::EndDocument) {
        }
    };
    Row("  its sheet XML, our scanner's tokens",
        BestSeconds(kRuns, [&] { scannerPass(xlsx, "xl/worksheets/sheet1.xml"); }),
        "the same with Qt's reader", bXlsx, "s ");
    const double tOds = BestSeconds(kRuns, [&] { Import(ods); });
    const double bOds = BestSeconds(kRuns, [&] { barePass(ods, "content.xml"); });
    Row(".ods 100,000 x 6", tOds, "unzip + XML tokens of the sheet", bOds, "s ");
    const double tCsv = BestSeconds(kRuns, [&] { Import(csv); });
    const double bCsv = BestSeconds(kRuns, [&] {
        std::ifstream in(csv, std::ios::binary);
        std::string line;
        size_t n = 0;
        while (std::getline(in, line)) n += line.size();
        if (n == 0) std::exit(1);
    });
    Row("CSV 100,000 x 6", tCsv, "std::getline over the file", bCsv, "s ");
    std::printf("peak memory above a process importing 100 rows of the same kind, beside the file's text:\n");
    const auto memory = [&](const char* what, const std::string& path, const std::string& two,
                            double textMb) {
        Row(what, PeakMbOfImport(path) - PeakMbOfImport(two), "the file's text", textMb, "MB");
    };
    const auto xmlMb = [](const std::string& path, const char* part) {
        return static_cast<double>(UnzipPart(path, part).size()) / 1e6;
    };
    memory(".xls 65,536 x 6", xls, xlsTwo, static_cast<double>(std::filesystem::file_size(xls)) / 1e6);
    memory(".xlsx 100,000 x 6", xlsx, xlsxTwo,
           xmlMb(xlsx, "xl/worksheets/sheet1.xml") + xmlMb(xlsx, "xl/sharedStrings.xml"));
    memory(".ods 100,000 x 6", ods, odsTwo, xmlMb(ods, "content.xml"));
    memory("CSV 100,000 x 6", csv, csvTwo, static_cast<double>(std::filesystem::file_size(csv)) / 1e6);
    std::filesystem::remove_all(dir);
    return 0;
}
