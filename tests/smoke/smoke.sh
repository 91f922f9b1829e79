#!/usr/bin/env bash
# Smoke test of the real program: under a virtual X display it starts in a
# fresh folder holding GHold.dat, draws its title picture, takes keys through
# both title pictures and a few moves, quits on Escape with status 0 and
# writes Cfg.txt. Exit 77 means Xvfb is not there to run it (skipped).
set -uo pipefail
program=$(realpath "$1")
data=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"

start_xvfb

fail() {
    echo "FAIL: $*"
    exit 1
}

cp "$data" "$work/GHold.dat"
cd "$work"
"$program" > "$work/game.log" 2>&1 &
game=$!

window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Gloomhold$' | head -n 1)
[[ -n $window ]] || fail "no window named Gloomhold appeared"

# Something other than black must reach the screen: the desktop and the title.
colours() { python3 "$here/screen_colours.py" "$DISPLAY"; }
for _ in $(seq 50); do
    [[ $(colours) -gt 2 ]] && break
    sleep 0.1
done
before=$(python3 "$here/screen_colours.py" "$DISPLAY" --digest)
[[ $(colours) -gt 2 ]] || fail "nothing drawn"

# Two keys take the title pictures away; the level starts with its banner.
xdotool key --window "$window" space
sleep 0.3
xdotool key --window "$window" space
sleep 0.3
after=$(python3 "$here/screen_colours.py" "$DISPLAY" --digest)
[[ $before != "$after" ]] || fail "the screen did not change after two keys"
for key in Right Left Up Down r Next Prior; do
    xdotool key --window "$window" "$key"
    sleep 0.05
done
kill -0 "$game" 2> /dev/null || fail "the program ended before Escape"

xdotool key --window "$window" Escape
ended_with "$game"
game_pid=$game
game=""
[[ -n $status ]] || { kill "$game_pid"; fail "Escape did not end the program"; }
[[ $status == 0 ]] || { cat "$work/game.log"; fail "exit status $status"; }
[[ -s $work/Cfg.txt ]] || fail "Cfg.txt was not written"
grep -q WINDX "$work/Cfg.txt" || fail "Cfg.txt has no WINDX"
echo "smoke test passed"
