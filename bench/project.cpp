// A project whose datasheet holds 100,000 rows of 5 columns. Each iteration of the first benchmark
// saves it to a .bpj file and loads it back into a fresh model; the baseline writes the very bytes of
// that file with a plain stream, flushes, and reads them back, in the same run.

#include "project/ProjectFile.h"
#include "project/TLabelProject.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int kRows = 100'000;
constexpr int kColumns = 5;

std::string BenchDir() {
    static const std::string dir = [] {
        const auto d = std::filesystem::temp_directory_path() / "qbm-bench-project";
        std::filesystem::create_directories(d);
        return d.string();
    }();
    return dir;
}

const qbm::TLabelProject& Project() {
    static const qbm::TLabelProject project = [] {
        qbm::TLabelProject p;
        p.SetTemplateName("EAN13");
        qbm::TDatasheet& sheet = p.Datasheet();
        sheet.Reset(kColumns + 1, kRows + 1);
        std::vector<std::string> row(kColumns + 1);
        row[0] = " ";
        for (int c = 1; c <= kColumns; ++c) row[c] = "Field" + std::to_string(c);
        sheet.SetRow(0, row);
        for (int r = 1; r <= kRows; ++r) {
            row[1] = std::to_string(4006381000000LL + r); // a code
            row[2] = "Article " + std::to_string(r);      // a caption
            row[3] = std::to_string(r % 97) + ".95";      // a price
            row[4] = "/pictures/item" + std::to_string(r) + ".png";
            row[5] = r % 3 ? "in stock" : "";
            sheet.SetRow(r, row);
        }
        p.RebuildFieldList(qbm::kFieldPlaceholderDatasheet);
        p.SetCodeField(1);
        return p;
    }();
    return project;
}

void BM_Project_SaveAndLoad(benchmark::State& state) {
    const std::string path = BenchDir() + "/project.bpj";
    const qbm::TLabelProject& project = Project();
    for (auto _ : state) {
        qbm::SaveProject(path, project, nullptr);
        qbm::TLabelProject loaded;
        qbm::LoadProject(path, loaded);
        if (loaded.Datasheet().RowCount() != kRows + 1) state.SkipWithError("datasheet not restored");
        benchmark::DoNotOptimize(loaded);
    }
    const auto bytes = static_cast<int64_t>(std::filesystem::file_size(path));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

// A 2D code list of a million serial codes, as "Serial " makes them: the list's section is built in
// one pass, never one key lookup per entry.
void BM_Project_SaveAndLoad2DList(benchmark::State& state) {
    const std::string path = BenchDir() + "/list.bpj";
    qbm::TLabelProject project;
    project.SetTemplateName("EAN13");
    for (int i = 0; i < 1'000'000; ++i)
        project.CodeList2D().push_back("SN-" + std::to_string(10'000'000 + i));
    for (auto _ : state) {
        qbm::SaveProject(path, project, nullptr);
        qbm::TLabelProject loaded;
        qbm::LoadProject(path, loaded);
        if (loaded.CodeList2D() != project.CodeList2D()) state.SkipWithError("list not restored");
    }
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

// The same bytes written and read back; with `sync` the file is also flushed to the disk before it is
// read, as the project's atomic save does before its rename.
void PlainFileWriteAndRead(benchmark::State& state, bool sync) {
    const std::string source = BenchDir() + "/project.bpj";
    qbm::SaveProject(source, Project(), nullptr);
    std::string content;
    {
        std::ifstream in(source, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        content = s.str();
    }
    const std::string path = BenchDir() + "/plain.bin";
    for (auto _ : state) {
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(content.data(), static_cast<std::streamsize>(content.size()));
            out.flush();
        }
        if (sync) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            ::fsync(fd);
            ::close(fd);
        }
        std::ifstream in(path, std::ios::binary);
        std::string back(content.size(), '\0');
        in.read(back.data(), static_cast<std::streamsize>(back.size()));
        if (back != content) state.SkipWithError("bytes differ");
        benchmark::DoNotOptimize(back);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(content.size()));
    state.counters["file_MB"] = static_cast<double>(content.size()) / 1e6;
}

void BM_PlainFile_WriteAndRead(benchmark::State& state) {
    PlainFileWriteAndRead(state, false);
}
void BM_PlainFile_WriteSyncAndRead(benchmark::State& state) {
    PlainFileWriteAndRead(state, true);
}

} // namespace

BENCHMARK(BM_Project_SaveAndLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Project_SaveAndLoad2DList)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainFile_WriteAndRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainFile_WriteSyncAndRead)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
