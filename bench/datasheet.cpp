// The datasheet window and import at a million rows, each figure beside its baseline from the same run:
//   window open (shown, first paint done) on 1,000,000 x 5 cells   vs the same window on an empty sheet
//   scroll from the top to the bottom, painted                      vs the same scroll on 100 rows
//   import of a 1,000,000-line CSV file                              vs std::getline over the same file
//   memory of the loaded sheet (held, and the process's peak)       vs the file's text
//   a cell typed into, and its undo, repainted                       vs the same on 100 rows
//   sorting the sheet by a column                                    vs std::stable_sort of its texts

#include "data/DatasheetImport.h"
#include "data/DatasheetSort.h"
#include "data/TDatasheet.h"
#include "data/TDatasheetHistory.h"
#include "gui/TDatasheetModel.h"
#include "gui/TDatasheetServices.h"
#include "gui/TFM_Data.h"
#include "util/TUserPrompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// The machine is shared: processor time of this process is the steadier figure beside wall time.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct TTiming {
    double wall = 1e300, cpu = 1e300;
    // The best of the runs: the one least disturbed by other work on the machine.
    template <typename Work> void Best(int runs, Work work) {
        for (int i = 0; i < runs; ++i) {
            const auto start = Clock::now();
            const double cpuStart = CpuMs();
            work();
            cpu = std::min(cpu, CpuMs() - cpuStart);
            wall = std::min(wall, Ms(start));
        }
    }
};

long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long CurrentRssKb() {
    std::ifstream status("/proc/self/statm");
    long pages = 0, resident = 0;
    status >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

class TPaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

// Opens the window on the sheet and waits until the grid has painted once.
double OpenWindow(qbm::TDatasheet& sheet, qbm::TDatasheetServices& services) {
    const auto start = Clock::now();
    qbm::TFM_Data window(services);
    TPaintWatch watch;
    window.Grid()->viewport()->installEventFilter(&watch);
    window.SetDatasheet(&sheet);
    window.show();
    while (!watch.painted) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return Ms(start);
}

double ScrollToBottom(qbm::TDatasheet& sheet, qbm::TDatasheetServices& services) {
    qbm::TFM_Data window(services);
    window.SetDatasheet(&sheet);
    window.show();
    QApplication::processEvents();
    const auto start = Clock::now();
    QScrollBar* bar = window.Grid()->verticalScrollBar();
    // Page by page would take a million rows' worth of screens; a user drags the thumb: top, middle, bottom.
    for (int step = 0; step <= 10; ++step) {
        bar->setValue(bar->maximum() * step / 10);
        window.Grid()->viewport()->repaint();
    }
    return Ms(start);
}

// Typing into a cell in the middle of the sheet as the grid's editor stores it, repainted, and the
// undo of such an edit: each the slowest of 20 (the figure a user feels is the worst one).
struct TEditTimes {
    double edit = 0, undo = 0;
};

TEditTimes EditCells(qbm::TDatasheet& sheet, qbm::TDatasheetServices& services) {
    qbm::TFM_Data window(services);
    qbm::TDatasheetHistory history;
    window.SetDatasheet(&sheet, &history);
    window.show();
    QApplication::processEvents();
    TEditTimes worst;
    for (int i = 0; i < 20; ++i) {
        const QModelIndex cell = window.Model()->index(sheet.RowCount() / 2 + i, 1);
        window.Grid()->scrollTo(cell);
        window.Grid()->viewport()->repaint();
        auto start = Clock::now();
        window.Model()->setData(cell, QStringLiteral("edited %1").arg(i));
        window.Grid()->viewport()->repaint();
        worst.edit = std::max(worst.edit, Ms(start));
        start = Clock::now();
        window.Undo();
        window.Grid()->viewport()->repaint();
        worst.undo = std::max(worst.undo, Ms(start));
    }
    return worst;
}

void Row(const char* what, double ours, double baseline, const char* unit) {
    std::printf("%-46s %10.1f %s   baseline %10.1f %s   ratio %5.2f\n", what, ours, unit, baseline, unit,
                baseline > 0 ? ours / baseline : 0.0);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int rows = 1'000'000;
    const std::string path = (std::filesystem::temp_directory_path() / "qbm-bench-datasheet.csv").string();
    {
        std::ofstream out(path, std::ios::binary);
        out << "Number;Name;Code;Price;Date\n";
        for (int i = 1; i < rows; ++i)
            out << i << ";Product name " << i << ";40063813" << (10000 + i % 90000) << ";" << (i % 1000)
                << "." << (i % 100) << ";2024-03-" << (10 + i % 19) << "\n";
    }
    const auto textBytes = static_cast<double>(std::filesystem::file_size(path));
    std::printf("file: %d lines, %.1f MB\n", rows, textBytes / 1e6);

    // Baseline first, so the file is in the page cache for both.
    size_t lines = 0;
    TTiming getline;
    getline.Best(5, [&] {
        lines = 0;
        std::ifstream in(path, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) ++lines;
    });

    const long rssBefore = CurrentRssKb();
    qbm::TDatasheet sheet;
    qbm::TScriptedPrompts prompts;
    const auto start = Clock::now();
    auto result = qbm::ImportData(sheet, path, prompts, nullptr);
    const double firstImportMs = Ms(start);
    const long rssAfter = CurrentRssKb();
    const long peakAfter = PeakRssKb();
    TTiming import;
    import.Best(5, [&] { result = qbm::ImportData(sheet, path, prompts, nullptr);
});
if (result.outcome != qbm::TImportOutcome::ioImported || sheet.RowCount() != rows ||
    lines != static_cast<size_t>(rows)) {
    std::fprintf(stderr, "import failed: %s (%d rows)\n", result.message.c_str(), sheet.RowCount());
    return 1;
}
Row("import 1,000,000-line CSV, wall (best of 5)", import.wall, getline.wall, "ms");
Row("import 1,000,000-line CSV, processor time", import.cpu, getline.cpu, "ms");
std::printf("(first import, wall: %.1f ms)\n", firstImportMs);
Row("memory held by the sheet (its own count)", static_cast<double>(sheet.MemoryUsed()) / 1e6,
    textBytes / 1e6, "MB");
Row("memory: process growth after the import", static_cast<double>(rssAfter - rssBefore) / 1e3,
    textBytes / 1e6, "MB");
Row("memory: process peak during the import",
    static_cast<double>(std::max(peakAfter, rssBefore) - rssBefore) / 1e3, textBytes / 1e6, "MB");

qbm::TDatasheetServices services(prompts);
qbm::TDatasheet empty;
qbm::TDatasheet small;
small.Reset(6, 101);
for (int r = 0; r <= 100; ++r)
    for (int c = 1; c < 6; ++c) small.SetCell(c, r, "cell " + std::to_string(r));
OpenWindow(empty, services); // the first window pays for fonts and styles once
const double emptyOpen = OpenWindow(empty, services);
const double bigOpen = OpenWindow(sheet, services);
Row("open window, 1,000,000 x 5, first paint", bigOpen, emptyOpen, "ms");
const double smallScroll = ScrollToBottom(small, services);
const double bigScroll = ScrollToBottom(sheet, services);
Row("scroll top to bottom, 1,000,000 rows", bigScroll, smallScroll, "ms");
const TEditTimes smallEdit = EditCells(small, services);
const TEditTimes bigEdit = EditCells(sheet, services);
Row("edit a cell, 1,000,000 rows (worst of 20)", bigEdit.edit, smallEdit.edit, "ms");
Row("undo the edit, 1,000,000 rows (worst of 20)", bigEdit.undo, smallEdit.undo, "ms");

// Sorting by a column (a header click) beside sorting that column's texts alone.
std::vector<std::string> names;
for (int r = 1; r < sheet.RowCount(); ++r) names.emplace_back(sheet.Cell(2, r));
TTiming plainSort, sheetSort;
plainSort.Best(3, [&] {
    auto copy = names;
    std::stable_sort(copy.begin(), copy.end());
});
qbm::TDatasheetHistory sortHistory;
bool ascending = false;
sheetSort.Best(3, [&] { qbm::SortByColumn(sheet, 2, ascending = !ascending, &sortHistory); });
Row("sort 1,000,000 rows by a text column", sheetSort.wall, plainSort.wall, "ms");
std::filesystem::remove(path);
return 0;
}
