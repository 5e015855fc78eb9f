#!/usr/bin/env bash
# Measures the game's sound mix as a player hears it: plays a long scripted game (seed 7, the
# fixed frame clock, Play, then a short throw at a point of the tree every FRAMES frames, so
# pommos are caught and missed, games end and start again) with frames paced at 60 a second,
# so that the disk audio driver, which writes in real time, mixes the sounds as they would be
# heard. Then reports from the driver's output (44100 Hz stereo, 16-bit): the peak, the samples
# at full scale and the seconds holding any, and the longest stretch of near silence (below
# -60 dBFS on both channels) after the first second, which is where a loop join would show.
#
#   bash scripts/measure-mix.sh [LAST_FRAME [FRAMES]]    (default 31000 frames, a throw every 60)
#
# BF_GAME names another build of the game (a folder holding boughfall and its Data).
# Takes as long as the game it plays: about nine minutes by default.
set -euo pipefail
cd "$(dirname "$0")/.."
last=${1:-31000}
every=${2:-60}
game=${BF_GAME:-./build}/boughfall
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The script: a script holds at most 1024 steps, so at most 505 throws of two steps each.
{
    printf '0 seed 7\n0 clock fixed\n200 down 164 158\n201 up 164 158\n'
    seed=5
    for ((frame = 360, throws = 0; frame + 5 < last && throws < 505; frame += every, throws++)); do
        seed=$(((seed * 1103515245 + 12345) % 2147483648))
        x=$((40 + 45 * (seed / 65536 % 10)))
        y=$((140 + 45 * (seed / 16 % 4)))
        printf '%d down %d %d\n%d up %d %d\n' "$frame" "$x" "$y" $((frame + 4)) "$x" $((y - 22))
    done
    printf '%d quit\n' "$last"
} >"$work/script.txt"

mkdir -p "$work/home"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/mix.raw" LIBGL_ALWAYS_SOFTWARE=1 \
    BOUGHFALL_SCRIPT="$work/script.txt" \
    xvfb-run -a -s "-screen 0 1280x800x24" "$game" --window 480x320 >"$work/game.log" 2>&1 || {
    echo "the game failed:" >&2
    tail -n 20 "$work/game.log" >&2
    exit 1
}
echo "$(($(grep -c ' down ' "$work/script.txt") - 1)) throws (and the touch on Play) over $last frames; $(grep -c '^Music' "$work/game.log") games played"

# The disk driver writes in real time: frames a second below 60 mean the machine could not keep
# the game's pace, and the sounds came further apart than in play.
od -An -v -td2 -w4 "$work/mix.raw" | awk -v frames="$last" '
    function abs(v) { return v < 0 ? -v : v }
    {
        l = abs($1); r = abs($2)
        if (l > peak) peak = l
        if (r > peak) peak = r
        full = (l >= 32767) + (r >= 32767)
        if (full) { clipped += full; second[int(NR / 44100)] = 1 }
        quiet = (l <= 32 && r <= 32) ? quiet + 1 : 0
        if (NR > 44100 && quiet > longest) longest = quiet
    }
    END {
        for (s in second) seconds++
        printf "%.1f s of sound (%.1f frames a second); peak %d (%.2f dBFS); " \
            "%d samples at full scale, in %d seconds\n", NR / 44100, frames * 44100 / NR, peak,
            20 * log(peak / 32768) / log(10), clipped, seconds
        printf "longest near silence after the first second: %d samples (%.1f ms)\n",
            longest, longest / 44.1
    }'
