#!/usr/bin/env bash
# Installs the Debian 12 packages Boughfall needs to build, run and test, when any is missing.
# Runs apt-get as root, or through sudo.
set -euo pipefail

# libsdl1.2-compat-dev must be named together with the mixer, or apt picks the classic SDL 1.2.
# The fuzz targets need clang, its libFuzzer and sanitizer runtimes (libclang-rt-14-dev) and
# llvm-symbolizer (llvm-14) for readable stacks.
PACKAGES=(
    g++ cmake ninja-build pkg-config
    libsdl1.2-compat-dev libsdl1.2-compat-shim libsdl-mixer1.2-dev
    libvorbis-dev libmp3lame-dev libcairo2-dev libfreetype-dev fonts-dejavu-core
    libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev libegl-mesa0 libpng-dev
    libgtest-dev libbenchmark-dev
    xvfb xauth xdotool
    desktop-file-utils appstream groff-base
    clang libclang-rt-14-dev llvm-14
)

# "deps.sh web": what the browser build and its tests need besides. Debian's emscripten brings
# node; dpkg-dev unpacks the source packages of libogg and libvorbis; Chromium plays the site in
# the tests (npm installs their driver).
if [ "${1:-}" = web ]; then
    PACKAGES=(emscripten dpkg-dev cmake ninja-build pkg-config python3 chromium)
    command -v npm >/dev/null || PACKAGES+=(npm)
fi

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
