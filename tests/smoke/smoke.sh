#!/usr/bin/env bash
# Smoke test of the real program: under a virtual X display it starts in a
# fresh folder holding GHold.dat, draws its title picture at zoom 2 (the
# display is 1600 x 1200), keeps the title picture's window on the desktop
# when it is dragged past the window's edge, takes keys through both title
# pictures and a few moves, sleeps between the steps of a level, changes the
# zoom, is drawn again after a resize by one pixel, grows back to its
# smallest size, goes full screen and back, quits on Escape with status 0 and
# writes Cfg.txt; started again with panels taking part of the display, it
# picks the zoom that fits what is left. Exit 77 means Xvfb is not there to
# run it (skipped).
set -uo pipefail
program=$(realpath "$1")
data=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"

start_xvfb 1600x1200
command -v xprop > /dev/null || fail "xprop not installed (Debian package x11-utils)"

cp "$data" "$work/GHold.dat"
cd "$work"
"$program" > "$work/game.log" 2>&1 &
game=$!

window_named Gloomhold
# Something other than black must reach the screen: the desktop and the title.
drawn 2 || fail "nothing drawn"


# A 640 x 480 desktop at zoom 2 fits the display: every pixel a 2 x 2 square.
read -r wx wy size < <(geometry)
[[ $size == 1280x960 ]] || fail "the window is $size, not 1280x960 at zoom 2"
screen --blocks "$wx" "$wy" 1280 960 2 || fail "the picture is not made of 2 x 2 squares"

# The title picture's window, grabbed by its title bar at (300, 95) of the
# desktop and dragged out past the window's left edge, stops with the
# grabbed point at the desktop's left edge.
title=$(screen --pixel $((wx + 600)) $((wy + 190)))
xdotool mousemove $((wx + 600)) $((wy + 190)) sleep 0.1 mousedown 1 sleep 0.1 \
    mousemove $((wx + 300)) $((wy + 190)) sleep 0.1 mousemove 10 $((wy + 190)) sleep 0.1 mouseup 1
shows() { [[ $(screen --pixel "$1" "$2") == "$3" ]]; }
settles shows $((wx + 4)) $((wy + 190)) "$title" ||
    fail "the window dragged past the left edge left the desktop"
before=$(screen --digest)

# Two keys take the title pictures away; the level starts with its banner.
press space space
changed() { [[ $(screen --digest) != "$before" ]]; }
settles changed || fail "the screen did not change after two keys"
pause=0.05 press Right Left Up Down r Next Prior
kill -0 "$game" 2> /dev/null || fail "the program ended before Escape"

# While a level plays the program sleeps between its steps: over two seconds
# it takes a small share of a core, far from a busy loop's.
cpu() { awk '{ print $14 + $15 }' "/proc/$game/stat"; }
used=$(cpu)
sleep 2
used=$(($(cpu) - used))
((used < $(getconf CLK_TCK) / 5)) || fail "the level took $used clock ticks of CPU in 2 s"

# Zoom 1 and back: the window keeps the same desktop.
is_at() { [[ $(geometry) == "$1" ]]; }
xdotool key --window "$window" ctrl+minus
settles is_at "$wx $wy 640x480" || fail "Ctrl+Minus gave $(geometry), not zoom 1"
xdotool key --window "$window" ctrl+plus
settles is_at "$wx $wy 1280x960" || fail "Ctrl+Plus gave $(geometry), not zoom 2"

# One pixel wider leaves the desktop's size as it was; the picture must
# come back all the same. The bottom-left corner is the game's background.
corner=$(screen --pixel $((wx + 4)) $((wy + 940)))
[[ $corner != 000000 ]] || fail "the game's background is black"
xdotool windowsize "$window" 1281 960
settles is_at "$wx $wy 1281x960" || fail "the window did not take 1281 x 960"
settles shows $((wx + 4)) $((wy + 940)) "$corner" ||
    fail "after a resize by one pixel the picture did not come back"

# Made smaller than a 640 x 480 desktop at zoom 2, it grows back.
xdotool windowsize "$window" 600 400
sleep 0.5
settles is_at "$wx $wy 1280x960" || fail "shrunk below its minimum the window is $(geometry)"
xdotool windowsize "$window" 1281 960
settles is_at "$wx $wy 1281x960" || fail "the window did not take 1281 x 960 again"

# Full screen covers the display, and leaving it brings the window back.
xdotool key --window "$window" alt+Return
settles is_at "0 0 1600x1200" || fail "Alt+Enter gave $(geometry), not full screen"
settles shows 4 4 "$corner" || fail "full screen shows no desktop"
xdotool key --window "$window" alt+Return
settles is_at "$wx $wy 1281x960" || fail "leaving full screen gave $(geometry)"

ends_cleanly Escape
grep -q WINDX "$work/Cfg.txt" || fail "Cfg.txt was not written with WINDX"
grep -q "^FULLSCR   0 " "$work/Cfg.txt" || fail "Cfg.txt does not record a plain window"

# Panels that leave 900 of the 1200 rows free leave no room for zoom 2: the
# next start takes zoom 1.
xprop -root -format _NET_WORKAREA 32c -set _NET_WORKAREA 0,0,1600,900
"$program" > "$work/game.log" 2>&1 &
game=$!
window_named Gloomhold
sized() { [[ $(geometry) == *" $1" ]]; }
settles sized 640x480 || fail "with 900 rows free the window is $(geometry), not 640x480"
ends_cleanly space space Escape
echo "smoke test passed"
