#!/usr/bin/env bash
# Builds and runs every benchmark, each beside its baseline measured in the same run. Installs the
# baselines' own packages (gLabels for the print run) when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if ! command -v glabels-3-batch >/dev/null; then
    sudo_cmd=""
    if [[ $(id -u) -ne 0 ]]; then sudo_cmd="sudo"; fi
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq glabels
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBM_BENCH=ON >/dev/null
cmake --build build -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
# Symbol benchmarks: five repetitions of each, interleaved with those of the others, and the median
# of each in the closing table, so that a burst of load on a shared machine spoils one repetition
# rather than a figure. The print, verify and datasheet runs take their own options.
export BENCHMARK_REPETITIONS=5 BENCHMARK_ENABLE_RANDOM_INTERLEAVING=true BENCHMARK_REPORT_AGGREGATES_ONLY=true
# Every program the bench folder builds, whatever its name.
for b in build/bench/*; do
    [[ -f $b && -x $b ]] || continue
    echo "== $(basename "$b")"
    "$b"
done
