#!/usr/bin/env bash
# Runs one test on a virtual X server of its own (1280 x 800 x 24, GLX on Mesa's software GL),
# so that tests run side by side (ctest -j) never share a display: no window of one can take the
# focus from another's game, and a test that finds the game's window by its title finds its
# own. The server picks a free display number itself (-displayfd), so starts made at the same
# moment never race for one. The test's exit status is the script's.
#
#   own-display.sh TEST [ARGUMENTS...]
set -u
folder=$(mktemp -d "${TMPDIR:-/tmp}/bf-display.XXXXXX")
server=
finish() {
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$folder"
}
trap finish EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
mkfifo "$folder/number"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$folder/number" \
    >"$folder/server.log" 2>&1 &
server=$!
number=
read -r -t 60 number <"$folder/number"
if [ -z "$number" ]; then
    echo "own-display.sh: the virtual X server did not start:" >&2
    cat "$folder/server.log" >&2
    exit 1
fi
DISPLAY=":$number" LIBGL_ALWAYS_SOFTWARE=1 "$@"
