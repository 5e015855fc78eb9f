#!/usr/bin/env bash
# Measures the game beside a bare SDL + GL program (tools/bare) under one virtual X server
# (1280 x 800, Mesa's llvmpipe), with the disk audio driver, both in a 960 x 640 window:
#  1. start-up: from process start to the first drawn frame (the game's splash) and to the first
#     frame of its title, and the resident memory at its peak;
#  2. CPU at 60 frames a second, over SECONDS each (default 10): the bare program's paced loop
#     (clear and swap), the game's front end left alone (title and menus), and a level in play.
# 100 % CPU is one core; Xvfb, which receives every presented frame, is shown apart.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null HOME="$work/home"
export XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"

cat > "$work/inner.sh" <<'INNER'
set -euo pipefail
work=$1; seconds=$2
game=./build/boughfall
bare=./build/tools/bare/bf_bare
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hwm() { awk '/VmHWM/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
now() { date +%s.%N; }
xvfb=$(pgrep -n Xvfb)
hz=$(getconf CLK_TCK)

# Prints "<process CPU %> <Xvfb CPU %>" over $seconds of a running process.
cpu() {
    local g0 x0 t0 g1 x1 t1
    g0=$(ticks "$1"); x0=$(ticks "$xvfb"); t0=$(now)
    sleep "$seconds"
    g1=$(ticks "$1"); x1=$(ticks "$xvfb"); t1=$(now)
    awk -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v t0="$t0" -v t1="$t1" -v hz="$hz" \
        'BEGIN { printf "%.1f %.1f\n", 100 * g / hz / (t1 - t0), 100 * x / hz / (t1 - t0) }'
}

# The wall-clock time a program printed for frame $2, less $3.
since() { sed -n "s/^Frame $2 drawn at \([0-9.]*\)$/\1/p" "$1" | awk -v t0="$3" '{printf "%.0f", ($1 - t0) * 1000}'; }

# 1. Start-up.
t0=$(now)
"$bare" 960 640 1 1 > "$work/bare.txt" & pid=$!
sleep 0.8; bare_hwm=$(hwm $pid); wait $pid
bare_first=$(since "$work/bare.txt" 0 "$t0")

printf '0 stamp\n51 stamp\n150 quit\n' > "$work/start.txt"
t0=$(now)
BOUGHFALL_SCRIPT="$work/start.txt" "$game" > "$work/start-out.txt" & pid=$!
sleep 2; game_hwm=$(hwm $pid); wait $pid
game_first=$(since "$work/start-out.txt" 0 "$t0")
game_title=$(since "$work/start-out.txt" 51 "$t0")

# 2. CPU at 60 frames a second.
"$bare" 960 640 $(( (seconds + 3) * 60 )) > /dev/null & pid=$!
sleep 2; read -r bare_cpu bare_x < <(cpu $pid); wait $pid

printf '%d quit\n' $(( (seconds + 5) * 60 )) > "$work/menus.txt"
BOUGHFALL_SCRIPT="$work/menus.txt" "$game" > "$work/menus-out.txt" & pid=$!
sleep 3; read -r menus_cpu menus_x < <(cpu $pid); wait $pid
menus_frames=$(sed -n 's/Shutting down after \([0-9]*\) frames/\1/p' "$work/menus-out.txt")

# Play at frame 200, when the menus are live; the level plays from about frame 270.
printf '200 down 164 158\n201 up 164 158\n%d quit\n' $(( 330 + (seconds + 1) * 60 )) > "$work/level.txt"
BOUGHFALL_SCRIPT="$work/level.txt" "$game" > "$work/level-out.txt" & pid=$!
sleep 5.5; read -r level_cpu level_x < <(cpu $pid); level_hwm=$(hwm $pid); wait $pid

printf 'start-up, process start to first frame: bare %s ms, game %s ms (its title %s ms)\n' \
    "$bare_first" "$game_first" "$game_title"
printf 'peak resident memory: bare %s KiB, game at its title %s KiB, game in a level %s KiB\n' \
    "$bare_hwm" "$game_hwm" "$level_hwm"
printf 'CPU at 60 frames/s over %s s: bare loop %s %% (Xvfb %s %%), front end %s %% (Xvfb %s %%, %s frames in %s s), level %s %% (Xvfb %s %%)\n' \
    "$seconds" "$bare_cpu" "$bare_x" "$menus_cpu" "$menus_x" "$menus_frames" $((seconds + 5)) "$level_cpu" "$level_x"
INNER
xvfb-run -a -s "-screen 0 1280x800x24" bash ${BF_TRACE:+-x} "$work/inner.sh" "$work" "$seconds" 2>&1 | grep -v CRITICAL
