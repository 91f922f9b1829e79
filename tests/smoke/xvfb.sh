# Sourced by the tests of the real program. start_xvfb FOLDER starts a
# virtual X display of its own (its files in FOLDER) and exports DISPLAY, or
# exits 77 (skipped) when Xvfb is not installed. The caller's EXIT trap kills
# $xvfb when it is set. ended_with PID waits up to five seconds for the
# program to end and sets status to its exit status, or to nothing when it
# did not end.

start_xvfb() {
    command -v Xvfb > /dev/null || { echo "Xvfb not installed: skipped"; exit 77; }
    command -v xdotool > /dev/null || { echo "xdotool not installed"; exit 1; }
    # Xvfb picks a free display itself and writes its number to descriptor 3.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$1/display" 2> "$1/xvfb.log" &
    xvfb=$!
    for _ in $(seq 50); do
        [[ -s $1/display ]] && break
        sleep 0.1
    done
    if [[ ! -s $1/display ]]; then
        # Installed but not starting is a broken machine, not a missing tool.
        echo "FAIL: Xvfb did not start"
        cat "$1/xvfb.log"
        exit 1
    fi
    export DISPLAY=":$(cat "$1/display")"
    export SDL_AUDIODRIVER=dummy
    # In a sanitizer build, leaks of the system's libraries are not ours.
    local here
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
}

ended_with() {
    status=""
    for _ in $(seq 100); do
        if ! kill -0 "$1" 2> /dev/null; then
            wait "$1"
            status=$?
            return
        fi
        sleep 0.05
    done
}
