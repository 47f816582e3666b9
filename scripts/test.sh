#!/usr/bin/env bash
# Builds everything and runs every test.
#   scripts/test.sh             release build with debug info, all tests
#   scripts/test.sh --sanitize  the same suite under AddressSanitizer + UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

build=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBM_BENCH=ON -DQBM_WERROR=ON)
if [[ ${1:-} == --sanitize ]]; then
    build=build-asan
    flags=(-DCMAKE_BUILD_TYPE=Debug -DQBM_SANITIZE=ON -DQBM_WERROR=ON)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
fi

cmake -S . -B "$build" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
# A real print queue for the system-printer tests (they skip without one).
bash scripts/cups-queue.sh || true
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
# Drawing takes wide (AVX-512) row stores where the processor has them: the whole suite runs once more
# on the plain stores, so that both paths are checked on every machine that has the wide ones.
if [[ ${1:-} != --sanitize ]] && grep -q avx512f /proc/cpuinfo; then
    QBM_ROW_STORES=plain ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
fi
