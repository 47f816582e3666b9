#!/usr/bin/env bash
# Screenshots of the main window on each tab at 100 % and 200 % scale, into docs/screenshots.
# Runs the window on a virtual X display (Xvfb), so it works on a machine without a screen.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake --build "$build" -j2 --target gui_screenshots editor_screenshots print_screenshots
out=$PWD/docs/screenshots
mkdir -p "$out"
tool=$PWD/$build/tests/gui/gui_screenshots
for scale in 1 2; do
    suffix=$([[ $scale == 1 ]] && echo "" || echo "-200")
    # A screen that a window at this scale fits on, as a desktop at that scale has.
    screen="$((1280 * scale))x$((1024 * scale))x24"
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 $screen" "$tool" "$out" "$suffix"
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 $screen" \
        "$PWD/$build/tests/gui/editor_screenshots" "$out" "$suffix"
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale xvfb-run -a -s "-screen 0 $screen" \
        "$PWD/$build/tests/gui/print_screenshots" "$out" "$suffix"
done
