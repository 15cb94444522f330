#!/usr/bin/env bash
# Installs what the build, the editor and the tests need on Debian 12, then
# configures and builds everything into build/ (the program folder is
# build/program). Safe to run again: installed packages are skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake pkg-config
    qt6-base-dev libgl-dev          # Qt 6 Widgets; Qt's JPEG reader uses the system libjpeg-turbo
    libzip-dev                      # the project file (.zskin) is a ZIP archive
    fonts-liberation2               # stands in for "MS Sans Serif" and "Tahoma"
    qt6-translations-l10n           # Qt's own dialogs and buttons in Russian
    desktop-file-utils appstream shared-mime-info   # validate the installed desktop files
    libgtest-dev googletest libbenchmark-dev
    clang-14 libclang-rt-14-dev     # the converter's fuzz targets and sanitizer runs
    tidy chromium                   # zelkor-skin gallery's pages: validated, and opened in a real browser
    dpkg-dev lintian                # the Debian package: dpkg-shlibdeps, and its check
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
