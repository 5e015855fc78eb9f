#!/usr/bin/env bash
# Installs the Debian 12 packages Boughfall needs to build, run and test, when any is missing.
# Runs apt-get as root, or through sudo.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

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
# "deps.sh package": what the Debian package's build and check need (scripts/package): the
# packaging tools, debootstrap for the check's fresh root, and every build dependency that
# debian/control names (installed through apt-get build-dep once dpkg-dev can check them).
if [ "${1:-}" = package ]; then
    PACKAGES=(dpkg-dev debhelper lintian debootstrap)
fi

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
build_deps=0
if [ "${1:-}" = package ] && { [ ${#missing[@]} -gt 0 ] ||
    ! (cd "$top" && dpkg-checkbuilddeps) >/dev/null 2>&1; }; then
    build_deps=1
fi
[ ${#missing[@]} -eq 0 ] && [ $build_deps = 0 ] && exit 0

echo "Installing: ${missing[*]}$([ $build_deps = 0 ] || echo " and the build dependencies")"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
    "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ $build_deps = 1 ]; then
    "${as_root[@]}" apt-get build-dep -y -q --no-install-recommends "$top/"
fi
