#!/usr/bin/env bash
# Measures the running game's frame rate and CPU use under the virtual X server: the default
# 960 x 640 window on a 1280 x 800 screen, the disk audio driver. CPU is sampled from /proc
# over SECONDS (default 10) after a 2-second start-up, for the game and for Xvfb (which
# receives every presented frame). 100 % is one core.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null HOME="$work"
printf '%d quit\n' $(( (seconds + 3) * 60 )) > "$work/script.txt"

cat > "$work/inner.sh" <<'INNER'
set -euo pipefail
work=$1; seconds=$2
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
BOUGHFALL_SCRIPT="$work/script.txt" ./build/boughfall > "$work/out.txt" &
game=$!
xvfb=$(pgrep -n Xvfb)
sleep 2
g0=$(ticks $game); x0=$(ticks $xvfb); t0=$(date +%s.%N)
sleep "$seconds"
g1=$(ticks $game); x1=$(ticks $xvfb); t1=$(date +%s.%N)
wait $game
hz=$(getconf CLK_TCK)
frames=$(sed -n 's/Shutting down after \([0-9]*\) frames/\1/p' "$work/out.txt")
awk -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v t0=$t0 -v t1=$t1 -v hz=$hz -v f="$frames" -v s="$seconds" 'BEGIN {
    wall = t1 - t0
    printf "window 960 x 640, %d frames in %d s of play (%.1f frames/s)\n", f, s + 3, f / (s + 3)
    printf "game CPU %.1f %%, Xvfb CPU %.1f %% (over %.1f s)\n", 100 * g / hz / wall, 100 * x / hz / wall, wall
}'
INNER
xvfb-run -a -s "-screen 0 1280x800x24" bash "$work/inner.sh" "$work" "$seconds"
