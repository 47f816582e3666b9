// A large project file: 10,000 keys and one 20 MB value line (the datasheet as hexadecimal text).
// Each iteration loads the file, changes one key and saves it, with TBigIniFile and with QSettings'
// IniFormat on an identical file, in the same run.

#include "ini/TBigIniFile.h"

#include <QSettings>
#include <QString>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kSections = 100;
constexpr int kKeysPerSection = 100;
constexpr size_t kDatasheetBytes = 20u * 1024 * 1024;

std::string BenchDir() {
    static const std::string dir = [] {
        const auto d = std::filesystem::temp_directory_path() / "qbm-bench-ini";
        std::filesystem::create_directories(d);
        return d.string();
    }();
    return dir;
}

// Written the same way for both contenders: CR LF lines, sections of plain keys, then the datasheet.
void WriteProject(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    for (int s = 0; s < kSections; ++s) {
        out << "[Section" << s << "]\r\n";
        for (int k = 0; k < kKeysPerSection; ++k) out << "Key" << k << "=" << (s * 1000 + k) << "\r\n";
        out << "\r\n";
    }
    out << "[Datasheet]\r\nData=";
    std::string chunk;
    for (int i = 0; i < 4096; ++i) chunk += "0123456789ABCDEF"[i % 16];
    for (size_t written = 0; written < kDatasheetBytes; written += chunk.size()) out << chunk;
    out << "\r\n\r\n";
}

void BM_TBigIniFile_LoadChangeSave(benchmark::State& state) {
    const std::string path = BenchDir() + "/ours.ini";
    WriteProject(path);
    int value = 0;
    for (auto _ : state) {
        qbm::TBigIniFile ini(path);
        ini.WriteInteger("Section50", "Key50", ++value);
        ini.UpdateFile();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
    qbm::TBigIniFile check(path);
    if (check.ReadInteger("Section50", "Key50", -1) != value) state.SkipWithError("value not saved");
    std::filesystem::remove(path);
}

void BM_QSettingsIni_LoadChangeSave(benchmark::State& state) {
    const std::string path = BenchDir() + "/qsettings.ini";
    WriteProject(path);
    int value = 0;
    for (auto _ : state) {
        QSettings settings(QString::fromStdString(path), QSettings::IniFormat);
        (void)settings.value("Section50/Key50"); // forces the load
        settings.setValue("Section50/Key50", ++value);
        settings.sync();
        if (settings.status() != QSettings::NoError) state.SkipWithError("QSettings failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}

} // namespace

BENCHMARK(BM_TBigIniFile_LoadChangeSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QSettingsIni_LoadChangeSave)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
