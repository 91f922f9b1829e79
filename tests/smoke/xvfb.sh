# Sourced by the tests of the real program. Sourcing it makes a scratch
# folder $work, removed at exit together with the display and the program
# whose process id the test keeps in $game. start_xvfb starts a virtual X
# display of its own (1024 x 768, or the size given as WIDTHxHEIGHT) and
# exports DISPLAY, or exits 77 (skipped) when Xvfb is not installed.
# ended_with PID waits up to ten seconds for the program to end and sets
# status to its exit status, or to nothing when it did not end. settles
# COMMAND... runs the command until it succeeds, for up to ten seconds, so
# that a busy machine's slow program is waited for rather than failed.
# fail MESSAGE ends the test as failed, with the program's output when
# it kept one in $work/game.log.

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
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp 3> "$work/display" \
        2> "$work/xvfb.log" &
    xvfb=$!
    for _ in $(seq 50); do
        [[ -s $work/display ]] && break
        sleep 0.1
    done
    if [[ ! -s $work/display ]]; then
        # Installed but not starting is a broken machine, not a missing tool.
        echo "FAIL: Xvfb did not start"
        cat "$work/xvfb.log"
        exit 1
    fi
    export DISPLAY=":$(cat "$work/display")"
    export SDL_AUDIODRIVER=dummy
    # In a sanitizer build, leaks of the system's libraries are not ours.
    local here
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
}

ended_with() {
    status=""
    for _ in $(seq 200); do
        if ! kill -0 "$1" 2> /dev/null; then
            wait "$1"
            status=$?
            return
        fi
        sleep 0.05
    done
}

settles() {
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
