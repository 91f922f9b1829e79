#!/usr/bin/env bash
# play.sh ROOT LEVEL.txt: the game unpacked in ROOT (a scratch root, so the
# program has to find its data relative to itself), started under a virtual
# X display from an empty folder with an empty home, plays the level's
# solution through the real window. The progress must then be in
# ~/.local/share/gloomhold, and nothing in the folder it was started from.
# Exit 77 means Xvfb is not there to run it (skipped).
set -uo pipefail
root=$(realpath "$1")
level_text=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../smoke/xvfb.sh"

start_xvfb
mkdir "$work/home" "$work/start"
export HOME=$work/home
unset XDG_DATA_HOME GLOOMHOLD_DATA
user_folder=$HOME/.local/share/gloomhold
cd "$work/start"
"$root/usr/bin/gloomhold" > "$work/game.log" 2>&1 &
game=$!

window_named Gloomhold
# Once anything is drawn the data is loaded and the title picture is up: two
# keys take the title pictures away, and the moves wait for the level banner.
drawn 2
press space space
sleep 1.1

# The solution is read now, as levels change: one character a tick. An arrow
# steps the board at once, and the short wait after it lets the game take
# each key on a pass of its own; a dot waits for a timed step (every 100 ms)
# and a little more, so that the game never has fewer steps than the
# solution.
moves=$(sed -n 's/^solution: *//p' "$level_text" | tr -d ' \t\r\n')
[[ -n $moves ]] || fail "no solution in $level_text"
declare -A arrow=([R]=Right [L]=Left [U]=Up [D]=Down)
for ((i = 0; i < ${#moves}; i++)); do
    move=${moves:i:1}
    [[ $move == . ]] && sleep 0.1 || xdotool key --window "$window" "${arrow[$move]}"
    sleep 0.05
done

progress=$user_folder/LevelInfo.dat
settles test -s "$progress" || fail "no progress in $user_folder after the solution of level 0"
# The highest level reached is bit 3 of words 0 to 15; word 31 checks the rest.
level=$(python3 -c 'import struct, sys
words = struct.unpack("<32I", open(sys.argv[1], "rb").read(128))
ok = words[31] == (sum(words[:31]) * 7) & 0xFFFFFFFF
print(sum(((w >> 3) & 1) << i for i, w in enumerate(words[:16])) if ok else "bad")' "$progress")
[[ $level == 1 ]] || fail "the progress file holds level $level, not 1"

ends_cleanly Escape
[[ -s $user_folder/Cfg.txt ]] || fail "Cfg.txt was not written to $user_folder"
[[ $(stat -c %a "$user_folder") == 700 ]] || fail "$user_folder is not the user's alone"
leftovers=$(ls -A "$work/start")
[[ -z $leftovers ]] || fail "files written to the folder the game started from: $leftovers"
echo "the installed game kept its progress in $user_folder"
