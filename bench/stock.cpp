// Reading Debian's label stock database (glabels-data, about 1,750 sheets in 37 files): our whole load
// (XML, paper sizes, equivalents, sorting, search texts) beside a plain read of the same files' bytes
// and beside Qt's XML reader walking the same files without interpreting them. Also one search as
// the stock picker runs it on each key press.

#include "stock/TStockDatabase.h"

#include <QByteArray>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kFolder(qbm::kDebianStockFolder);

std::vector<std::filesystem::path> DatabaseFiles() {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(kFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.ends_with("-templates.xml") || name == "paper-sizes.xml") files.push_back(it->path());
    }
    return files;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return std::move(text).str();
}

bool Installed(benchmark::State& state) {
    if (std::filesystem::exists(kFolder + "/paper-sizes.xml")) return true;
    state.SkipWithError("glabels-data is not installed");
    return false;
}

void BM_StockDatabase_Load(benchmark::State& state) {
    if (!Installed(state)) return;
    size_t stocks = 0;
    for (auto _ : state) {
        const qbm::TStockDatabase db = qbm::TStockDatabase::Load(kFolder);
        stocks = db.Stocks().size();
        benchmark::DoNotOptimize(stocks);
    }
    state.counters["stocks"] = static_cast<double>(stocks);
}

void BM_PlainRead_SameFiles(benchmark::State& state) {
    if (!Installed(state)) return;
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const auto& path : DatabaseFiles()) bytes += ReadFile(path).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_QXmlWalk_SameFiles(benchmark::State& state) {
    if (!Installed(state)) return;
    size_t elements = 0;
    for (auto _ : state) {
        elements = 0;
        for (const auto& path : DatabaseFiles()) {
            const std::string text = ReadFile(path);
            QXmlStreamReader r(QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())));
            while (!r.atEnd())
                if (r.readNext() == QXmlStreamReader::StartElement) ++elements;
        }
        benchmark::DoNotOptimize(elements);
    }
    state.counters["elements"] = static_cast<double>(elements);
}

void BM_StockDatabase_SearchAsYouType(benchmark::State& state) {
    if (!Installed(state)) return;
    const qbm::TStockDatabase db = qbm::TStockDatabase::Load(kFolder);
    size_t found = 0;
    for (auto _ : state) {
        found = db.Search("avery a4 address").size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);
}

} // namespace

BENCHMARK(BM_StockDatabase_Load)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainRead_SameFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QXmlWalk_SameFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StockDatabase_SearchAsYouType)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_MAIN();
