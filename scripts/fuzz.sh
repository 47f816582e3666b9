#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short fixed time.
#   scripts/fuzz.sh [SECONDS]   (default 20 per target)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
seconds=${1:-20}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBM_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target qbm_fuzz_all
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
mkdir -p build-fuzz/corpus
for target in build-fuzz/fuzz/fuzz_*; do
    [[ -x $target ]] || continue
    name=$(basename "$target")
    mkdir -p "build-fuzz/corpus/$name"
    echo "fuzzing $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=4096 \
        "build-fuzz/corpus/$name" 2> "build-fuzz/$name.log" || { tail -50 "build-fuzz/$name.log"; exit 1; }
    tail -1 "build-fuzz/$name.log"
done
echo "fuzz: all targets ran clean"
