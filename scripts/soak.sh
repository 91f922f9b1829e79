#!/usr/bin/env bash
# Soak test of the real program: random keys, clicks, drags and wheel turns
# for MINUTES minutes under a virtual X display, the program restarted each
# time it ends.
#
#   scripts/soak.sh MINUTES [PROGRAM [DATA_FILE]]     (default build/gloomhold)
#   SOAK_SEED=7 scripts/soak.sh 20 build-asan/gloomhold
#
# Prints every run of the program (how it ended: an exit status, a signal, or
# a sanitizer report) with its resident memory when its window appeared, a
# sample each minute, and at its end; then a summary with the memory growth
# per minute of the longest run. Runs share one folder, so progress and
# Cfg.txt carry over from run to run as they do for a player. The output of
# a run that crashed is kept in build-soak/ (with SOAK_TRACE=1, also the
# actions sent to it). Exit status 1 when a run crashed, 0 otherwise.
set -uo pipefail
minutes=${1:?usage: soak.sh MINUTES [PROGRAM [DATA_FILE]]}
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${2:-$root/build/gloomhold}")
data=$(realpath "${3:-$(dirname "$program")/GHold.dat}")
[[ -x $program && -f $data ]] || { echo "soak.sh: need $program and $data (scripts/build.sh build)" >&2; exit 2; }
RANDOM=${SOAK_SEED:-1}

# The smoke test's display handling: $work, start_xvfb, and the clean-up of
# the display, the program and $work at exit.
source "$root/tests/smoke/xvfb.sh"
trap 'exit 130' INT TERM
start_xvfb
logs=$root/build-soak
mkdir -p "$logs"
cp "$data" "$work/GHold.dat"
echo "soak: $program for $minutes min on display $DISPLAY, seed ${SOAK_SEED:-1}"

# Resident memory in kB; nothing once the process has ended.
rss() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status" 2> /dev/null; }
now() { date +%s; }

# Keys a player might press; Escape ends the game, so it is drawn rarely.
keys=(Left Right Up Down Left Right Up Down space Return r Next Prior Home End Tab BackSpace
      Delete a g x 1 alt+g shift+Tab ctrl+c ctrl+v F1 Insert)
act() {
    local w=$1 width=$2 height=$3
    local x=$((RANDOM % width)) y=$((RANDOM % height)) choice=$((RANDOM % 20))
    action="choice $choice at $x $y"
    case $choice in
    0 | 1 | 2 | 3 | 4 | 5 | 6 | 7) xdotool key --window "$w" "${keys[RANDOM % ${#keys[@]}]}" ;;
    8 | 9 | 10) xdotool mousemove --window "$w" "$x" "$y" click 1 ;;
    11) xdotool mousemove --window "$w" "$x" "$y" click --repeat 2 --delay 80 1 ;;
    12 | 13)
        # A drag: often from the top rows, where title bars and the menu bar are.
        local y0=$((RANDOM % 3 == 0 ? y : RANDOM % 40))
        xdotool mousemove --window "$w" "$x" "$y0" mousedown 1 \
            mousemove --window "$w" $((RANDOM % width)) $((RANDOM % height)) sleep 0.05 \
            mousemove --window "$w" $((RANDOM % width)) $((RANDOM % height)) mouseup 1 ;;
    14) xdotool mousemove --window "$w" "$x" "$y" click $((RANDOM % 2 + 4)) ;;
    15) xdotool mousemove --window "$w" "$x" "$y" click 3 ;;
    16) xdotool mousemove --window "$w" "$x" "$y" ;;
    17) xdotool key --window "$w" --delay 5 $(for _ in 1 2 3 4 5 6 7 8; do
            printf '%s ' "${keys[RANDOM % 8]}"; done) ;;
    18) xdotool windowsize "$w" $((200 + RANDOM % 800)) $((150 + RANDOM % 600)) ;;
    19) ((RANDOM % 15 == 0)) && xdotool key --window "$w" Escape ;;
    esac
}

deadline=$(($(now) + minutes * 60))
runs=0 crashes=0 exits=0
longest=0 growth="" grown=0 lived=0
while (($(now) < deadline)); do
    runs=$((runs + 1))
    log="$work/run$runs.log"
    (cd "$work" && exec "$program") > "$log" 2>&1 &
    game=$!
    window=$(timeout 10 xdotool search --sync --onlyvisible --pid "$game" --name '^Gloomhold$' 2> /dev/null | head -n 1)
    started=$(now)
    first=$(rss "$game")
    first=${first:-0}
    end=$first
    last_sample=$started
    echo "run $runs: pid $game, resident $first kB at start"
    while kill -0 "$game" 2> /dev/null && (($(now) < deadline)); do
        if [[ -z $window ]]; then
            window=$(xdotool search --onlyvisible --pid "$game" --name '^Gloomhold$' 2> /dev/null | head -n 1)
            [[ -z $window ]] && { sleep 0.2; continue; }
        fi
        read -r width height < <(xdotool getwindowgeometry --shell "$window" 2> /dev/null |
            awk -F= '/WIDTH/ { w = $2 } /HEIGHT/ { h = $2 } END { print w + 0, h + 0 }')
        ((width > 0 && height > 0)) || { width=640; height=480; }
        act "$window" "$width" "$height" > /dev/null 2>&1
        [[ -n ${SOAK_TRACE:-} ]] && echo "$(date +%T) $action" >> "$log.actions"
        # The last reading before the program ends is its memory at the end.
        reading=$(rss "$game")
        [[ -n $reading ]] && end=$reading
        sleep 0.0$((RANDOM % 5))
        if (($(now) - last_sample >= 60)); then
            last_sample=$(now)
            echo "  run $runs: resident $(rss "$game") kB after $(((last_sample - started) / 60)) min"
        fi
    done
    ended=$(now)
    if kill -0 "$game" 2> /dev/null; then
        how="still running at the end (stopped)"
        kill "$game"
        wait "$game" 2> /dev/null
    else
        wait "$game"
        status=$?
        if ((status > 128)); then
            how="CRASHED with signal $((status - 128))"
            crashes=$((crashes + 1))
        else
            how="exited with status $status"
            exits=$((exits + 1))
            ((status != 0)) && crashes=$((crashes + 1)) && how="FAILED: $how"
        fi
    fi
    if grep -qE "ERROR: (Address|Leak|Thread|Memory)Sanitizer|runtime error:" "$log"; then
        how="$how, SANITIZER REPORT"
        crashes=$((crashes + 1))
    fi
    if [[ $how == *CRASHED* || $how == *FAILED* || $how == *SANITIZER* ]]; then
        kept="$logs/run$runs-$(date +%H%M%S).log"
        cp "$log" "$kept"
        [[ -f $log.actions ]] && cp "$log.actions" "$kept.actions"
        how="$how (output in $kept)"
    fi
    game=""
    # A press that ended the program (Escape, or a drag onto its close
    # button) can lose its release with the window, and the display then
    # holds the key or button down: the next run would see Escape held the
    # moment it takes the focus and end at once.
    xdotool keyup Escape mouseup 1 > /dev/null 2>&1
    echo "run $runs: $how after $((ended - started)) s, resident $first kB at start, ${end:-?} kB at end"
    if ((ended > started && end > 0 && first > 0)); then
        grown=$((grown + end - first))
        lived=$((lived + ended - started))
        if ((ended - started > longest)); then
            longest=$((ended - started))
            growth=$(awk -v a="$first" -v b="$end" -v s="$longest" \
                'BEGIN { printf "%.1f kB per minute (%d kB to %d kB in %.1f min)", (b - a) * 60 / s, a, b, s / 60 }')
        fi
    fi
done
echo "soak: $runs runs in $minutes min, $exits ended by the program itself, $crashes crashes"
echo "soak: memory growth of the longest run: ${growth:-none measured}"
# Every run's growth from its window's first appearance to its end (the
# growth of starting up included), over all the time the program ran.
awk -v g="$grown" -v s="$lived" 'BEGIN { if (s > 0) printf "soak: all runs together, start-up included: %+d kB in %.1f min, %.1f kB per minute\n", g, s / 60, g * 60 / s }'
((crashes == 0))
