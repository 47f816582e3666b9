#pragma once
// Console output that ends with one line per measured pair: a run named ".../qbm" (or
// ".../qbm-VARIANT") beside the run of the same name ending in "/zint", with both rates and their
// ratio (ours over the baseline).
// BENCHMARK_MAIN is replaced by QBM_BENCHMARK_MAIN so every benchmark program prints the table.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qbm::bench {

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            // With repetitions the table takes their median: a burst of load on a shared machine
            // spoils one repetition, not the figure (interleaving the repetitions of all benchmarks,
            // --benchmark_enable_random_interleaving, spreads a burst over many).
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (r.error_occurred || (r.run_type != Run::RT_Iteration && !median)) continue;
            const auto it = r.counters.find("items_per_second");
            if (it == r.counters.end()) continue;
            const std::string name = median ? r.run_name.str() : r.benchmark_name();
            if (!m_rates.count(name)) m_order.emplace_back(r.family_index, name);
            m_rates[name] = it->second.value;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-46s %14s %14s %7s\n", "symbols per second", "qbm", "zint", "ratio");
        // In the order the benchmarks were registered, however their runs were interleaved.
        std::stable_sort(m_order.begin(), m_order.end());
        for (const auto& [family, name] : m_order) {
            // ".../qbm", or ".../qbm-VARIANT" for another way of ours against the same baseline.
            const auto slash = name.rfind('/');
            if (slash == std::string::npos || name.compare(slash + 1, 3, "qbm") != 0) continue;
            const std::string stem = name.substr(0, slash);
            const std::string variant = name.size() > slash + 5 ? " (" + name.substr(slash + 5) + ")" : "";
            const auto base = m_rates.find(stem + "/zint");
            if (base == m_rates.end() || base->second <= 0) continue;
            const double ours = m_rates[name];
            std::printf("%-46s %14.0f %14.0f %6.2fx\n", (stem + variant).c_str(), ours, base->second,
                        ours / base->second);
        }
        std::fflush(stdout);
    }

private:
    std::vector<std::pair<int64_t, std::string>> m_order;
    std::map<std::string, double> m_rates;
};

inline int RunWithRatios(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace qbm::bench

#define QBM_BENCHMARK_MAIN()                                                                                 \
    int main(int argc, char** argv) {                                                                        \
        return qbm::bench::RunWithRatios(argc, argv);                                                        \
    }
