#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
if [[ -x build/src/gui/quirbel-barcode-maker ]]; then
    exec build/src/gui/quirbel-barcode-maker "$@"
fi
out=$PWD/build/sample-ean13.png
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} build/src/cli/qbm render bcCodeEAN13 590123412345 \
    --checksum --modul 3 --height 120 --show code --out "$out"
echo "Rendered an EAN-13 sample to $out"
