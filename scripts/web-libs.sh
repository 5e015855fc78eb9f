#!/usr/bin/env bash
# Builds libogg and libvorbis for the browser from Debian's source packages into DIR/prefix
# (static libraries and their pkg-config files), once: a later run finds them there.
set -euo pipefail
dir=$(mkdir -p "$1" && cd "$1" && pwd)
stamp="$dir/prefix/.built"
[ -f "$stamp" ] && exit 0

rm -rf "$dir/src" "$dir/build" "$dir/prefix"  # what an interrupted run left

# A private source list and index, so the system's apt configuration stays as it is.
mkdir -p "$dir/apt/lists/partial" "$dir/src"
echo "deb-src http://deb.debian.org/debian bookworm main" >"$dir/apt/sources.list"
apt_opts=(-o "Dir::Etc::SourceList=$dir/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$dir/apt/lists")
apt-get "${apt_opts[@]}" update -q >/dev/null
cd "$dir/src"
apt-get "${apt_opts[@]}" source -q --download-only libogg libvorbis >/dev/null
for dsc in libogg_*.dsc libvorbis_*.dsc; do
    dpkg-source -q -x "$dsc" >/dev/null
done

build() {
    local name=$1
    shift
    emcmake cmake -S "$dir/src/$name"-[0-9]* -B "$dir/build/$name" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$dir/prefix" \
        -DCMAKE_PREFIX_PATH="$dir/prefix" "$@" >/dev/null
    cmake --build "$dir/build/$name" >/dev/null
    cmake --install "$dir/build/$name" >/dev/null
}
# Under emcc libogg's type-size checks come back empty ("No 16 bit type found"): they are given.
build libogg -DINT16_SIZE=2 -DUINT16_SIZE=2 -DINT32_SIZE=4 -DUINT32_SIZE=4 -DINT64_SIZE=8 \
    -DINSTALL_DOCS=OFF
# The toolchain looks for libraries only in its own sysroot: libogg is named.
build libvorbis -DOGG_INCLUDE_DIR="$dir/prefix/include" -DOGG_LIBRARY="$dir/prefix/lib/libogg.a"
touch "$stamp"
