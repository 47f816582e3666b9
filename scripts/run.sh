#!/usr/bin/env bash
# Builds the program and starts the window. Arguments go to the program (a .bpj project to open).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target quirbel-barcode-maker
program=build/src/gui/quirbel-barcode-maker
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    cat >&2 <<MSG
No display: the window needs an X11 or Wayland desktop. On a machine without one, start it on a
virtual screen (Xvfb) and look at it through a screenshot or a VNC viewer:

    xvfb-run -a -s "-screen 0 1280x1024x24" $program

The built program is $program.
MSG
    exit 1
fi
exec "$program" "$@"
