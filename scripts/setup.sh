#!/usr/bin/env bash
# Installs the Debian packages the project needs; only the missing ones are fetched.
# Droid Sans Fallback gives captions in Chinese, Japanese and Korean their glyphs where the chosen
# font has none.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
    qt6-base-dev qt6-svg-dev libgl-dev
    libjpeg62-turbo-dev zlib1g-dev libdeflate-dev libtiff-dev libfreexl-dev mdbtools-dev mdbtools libchm-dev fp-utils libzip-dev libxlsxwriter-dev
    libgtest-dev libgmock-dev libbenchmark-dev libzxing-dev libzint-dev
    fonts-dejavu-core fonts-liberation fonts-urw-base35 fonts-droid-fallback xvfb xauth
    cups printer-driver-cups-pdf poppler-utils
    glabels-data
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    if [[ $(id -u) -ne 0 ]]; then sudo_cmd="sudo"; fi
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
