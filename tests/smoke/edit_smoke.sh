#!/usr/bin/env bash
# Smoke test of the real level editor: under a virtual X display it opens a
# level text from a fresh folder holding GHold.dat, draws it, paints the
# cursor's cell with Space, saves with Ctrl+S through a rename, ends from its
# File menu by the keyboard with status 0 and writes EditCfg.txt. Exit 77
# means Xvfb is not there to run it (skipped).
set -uo pipefail
program=$(realpath "$1")
data=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"

start_xvfb 1024x768

cp "$data" "$work/GHold.dat"
cat > "$work/level.txt" << 'END'
floor:
.__.

object:
#>.#

top:
..X.
END
cd "$work"
"$program" level.txt > "$work/game.log" 2>&1 &
game=$!

window_named "Gloomhold level editor"
drawn 20 || fail "the board and the palette were not drawn"

# The pointer over the board moves the cell cursor; Space paints plain floor
# there. The level is 4 x 1, centred in the board's room: its left cell's
# middle is at (253, 241) of the window.
before=$(stat -c %i level.txt)
read -r wx wy _ < <(geometry)
xdotool mousemove $((wx + 253)) $((wy + 241))
sleep 0.2
press space ctrl+s
sleep 0.2
[[ $(sed -n '/^floor:/{n;p;q}' level.txt) == _* ]] || fail "Ctrl+S did not save the painted cell"
[[ $(stat -c %i level.txt) != "$before" ]] || fail "the level was not replaced through a rename"

# Alt+F opens the File menu; X is Exit's letter.
ends_cleanly alt+f x
grep -q WINDX "$work/EditCfg.txt" || fail "EditCfg.txt was not written"
[[ ! -e $work/Cfg.txt ]] || fail "the editor wrote the game's Cfg.txt"
echo "editor smoke test passed"
