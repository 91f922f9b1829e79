#!/usr/bin/env bash
# Without a display the program must not run unseen: it names the problem on
# its standard error and fails within a second. Its environment has no X11
# or Wayland display, nor a runtime folder where a Wayland socket could be.
# Asked for a video driver SDL does not have, it gives SDL's reason too.
set -uo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/runtime"
cd "$work"
fail() {
    echo "FAIL: $*"
    cat "$work/stderr"
    exit 1
}
for driver in "" nosuchdriver; do
    start=$(date +%s%N)
    env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ${driver:+SDL_VIDEODRIVER=$driver} \
        XDG_RUNTIME_DIR="$work/runtime" SDL_AUDIODRIVER=dummy timeout 10 "$program" 2> "$work/stderr"
    status=$?
    elapsed=$((($(date +%s%N) - start) / 1000000))
    [[ $status != 0 && $status != 124 ]] || fail "exit status $status without a display"
    ((elapsed <= 1000)) || fail "it took $elapsed ms to give up"
    grep -q "display.*${driver:+($driver not available)}" "$work/stderr" ||
        fail "stderr does not name the display${driver:+ and the driver}:"
    echo "no display${driver:+ (driver $driver)}: status $status after $elapsed ms: $(cat "$work/stderr")"
done
