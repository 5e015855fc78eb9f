#!/usr/bin/env bash
# Makes the README's and the AppStream metainfo's screenshots with the scripted driver under a
# virtual X server: exact runs (fixed seed and frame clock) in a 480 x 320 window, written to
# docs/screenshots/. Needs a build (bash scripts/build.sh) and xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
out="$top/docs/screenshots"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Plays one script in a fresh home, so no saved game or setting of the machine's user counts;
# the pictures land in docs/screenshots/, the game's working folder.
play() {
    rm -rf "$work/home"
    mkdir -p "$work/home"
    printf '%s\n' "$@" >"$work/script.txt"
    (cd "$out" &&
        HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
        SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null BOUGHFALL_SCRIPT="$work/script.txt" \
        xvfb-run -a -s "-screen 0 1280x800x24" "$top/build/boughfall" --window 480x320 >/dev/null)
}

opening=("0 seed 7" "0 clock fixed" "0 frames unpaced")

# The title with its menu, then the options page (a first touch highlights, a second opens).
play "${opening[@]}" "240 shot title.png" \
    "250 down 164 118" "251 up 164 118" "260 down 164 118" "261 up 164 118" \
    "280 shot options.png" "281 quit"

# A level (level-run.txt: a pommo thrown into its basket), then the game lost by three drops.
play "0 frames unpaced" "$(cat "$out/level-run.txt")" "2200 shot game-over.png" "2201 quit"
ls -l "$out"
