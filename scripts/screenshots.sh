#!/usr/bin/env bash
# Makes the screenshot the AppStream metainfo names (desktop/boughfall.metainfo.xml.in), with the
# scripted driver under a virtual X server, into build/screenshots/ for the home page's
# screenshots/ folder. Needs a build (bash scripts/build.sh) and xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$PWD/build/screenshots"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%s\n' "300 shot $out/meadow.png" "301 quit" >"$work/script.txt"
HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null BOUGHFALL_SCRIPT="$work/script.txt" \
    xvfb-run -a -s "-screen 0 1280x800x24" ./build/boughfall
