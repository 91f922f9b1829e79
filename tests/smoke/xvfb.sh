# Sourced by the tests of the real program. Sourcing it makes a scratch
# folder $work, removed at exit together with the display and the program
# whose process id the test keeps in $game. start_xvfb starts a virtual X
# display of its own (1024 x 768, or the size given as WIDTHxHEIGHT) and
# exports DISPLAY, or exits 77 (skipped) when Xvfb is not installed.
# settles COMMAND... runs the command until it succeeds, for up to ten
# seconds, so that a busy machine's slow program is waited for rather than
# failed.
# fail MESSAGE ends the test as failed, with the program's output when
# it kept one in $work/game.log. window_named NAME waits for the program's
# window and sets window to its id; drawn COUNT waits until more than COUNT
# colours are on the screen; geometry prints the window's client area as
# "X Y WIDTHxHEIGHT"; screen ARGUMENTS... runs screen_colours.py on
# the display. press KEYS... sends keys to the window, with a pause of
# $pause seconds (0.3 unless set) after each. ends_cleanly KEYS... presses
# the keys that should end the program and fails unless it then ends, within
# ten seconds, with status 0.

smoke_folder=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
xvfb=""
game=""
cleanup() {
    [[ -n $game ]] && kill "$game" 2> /dev/null
    [[ -n $xvfb ]] && kill "$xvfb" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [[ -f $work/game.log ]] && cat "$work/game.log"
    exit 1
}

start_xvfb() {
    command -v Xvfb > /dev/null || { echo "Xvfb not installed: skipped"; exit 77; }
    command -v xdotool > /dev/null || { echo "xdotool not installed"; exit 1; }
    # Xvfb picks a free display itself and writes its number to descriptor 3.
    # It keeps what a test set on it when the last program leaves.
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset 3> "$work/display" \
        2> "$work/xvfb.log" &
    xvfb=$!
    if ! settles test -s "$work/display"; then
        # Installed but not starting is a broken machine, not a missing tool.
        echo "FAIL: Xvfb did not start"
        cat "$work/xvfb.log"
        exit 1
    fi
    export DISPLAY=":$(cat "$work/display")"
    export SDL_AUDIODRIVER=dummy
    # In a sanitizer build, leaks of the system's libraries are not ours.
    export LSAN_OPTIONS="suppressions=$smoke_folder/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
}

settles() {
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

window_named() {
    window=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
    [[ -n $window ]] || fail "no window named $1 appeared"
}

screen() { python3 "$smoke_folder/screen_colours.py" "$DISPLAY" "$@"; }
more_colours_than() { [[ $(screen) -gt $1 ]]; }
drawn() { settles more_colours_than "$1"; }

press() {
    local key
    for key in "$@"; do
        xdotool key --window "$window" "$key"
        sleep "${pause:-0.3}"
    done
}

gone() { ! kill -0 "$1" 2> /dev/null; }

# The client area's position and size: "X Y WIDTHxHEIGHT".
geometry() {
    xdotool getwindowgeometry "$window" |
        awk '/Position/ { split($2, p, ","); x = p[1]; y = p[2] } /Geometry/ { print x, y, $2 }'
}

ends_cleanly() {
    press "$@"
    local pid=$game
    game=""
    if settles gone "$pid"; then
        wait "$pid" || fail "exit status $?"
        return
    fi
    kill "$pid"
    fail "$* did not end the program"
}
