#!/usr/bin/env bash
# Line and branch coverage of the program by the whole test suite:
#
#   scripts/coverage.sh [ctest options...]     e.g. scripts/coverage.sh -R TextBox
#
# Builds with g++ --coverage in build-coverage/ (kept, so a second run only
# rebuilds what changed), clears the counters, runs ctest, then has gcovr
# report every unit of the program (tests, fuzz harnesses, benchmarks, the
# generated glyph tables and the scripted platform left out): a table by file, a summary by folder, and
# build-coverage/coverage.html to browse line by line. Needs gcovr (Debian:
# apt-get install gcovr).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build-coverage
command -v gcovr > /dev/null || { echo "coverage.sh: gcovr is missing (apt-get install gcovr)" >&2; exit 2; }

# -O0 keeps every line and branch where the source has it; the tests stay
# quick enough at that level.
"$root/scripts/build.sh" build-coverage -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
    -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_EXE_LINKER_FLAGS=--coverage -DGHOLD_BENCH=OFF

find "$dir" -name '*.gcda' -delete
# A failing test still leaves its counts; the report is made either way and
# the status of ctest is returned at the end.
status=0
(cd "$dir" && ctest -j 2 -E '^identity$' "$@") || status=$?
# The identity check's full run takes more than its ctest timeout at -O0;
# its quick tenth (what the sanitizer build runs) reaches the same code. It
# runs with the whole suite, not when ctest options pick some tests.
if (($# == 0)); then
    python3 "$root/tests/identity/check.py" --ghtool "$dir/ghtool" --quick || status=$?
fi

filters=(--root "$root" --object-directory "$dir"
         --exclude "$root/tests/" --exclude "$root/fuzz/" --exclude "$root/bench/"
         --exclude "$root/build" --exclude "$root/assets/gen/" --exclude '.*fontdata\.cpp$' --exclude '.*_script\.cpp$'
         --exclude-unreachable-branches --exclude-throw-branches)
gcovr "${filters[@]}" --txt --sort-percentage --html-details "$dir/coverage.html" \
      --json-summary "$dir/coverage-summary.json" > "$dir/coverage.txt"
cat "$dir/coverage.txt"

# gcovr sums by file only: add up its counts by top-level folder.
python3 - "$dir/coverage-summary.json" << 'EOF'
import json, sys
files = json.load(open(sys.argv[1]))["files"]
folders = {}
for f in files:
    top = f["filename"].split("/")[0]
    t = folders.setdefault(top, [0, 0, 0, 0])
    t[0] += f["line_covered"]; t[1] += f["line_total"]
    t[2] += f["branch_covered"]; t[3] += f["branch_total"]
total = [sum(t[i] for t in folders.values()) for i in range(4)]
pct = lambda a, b: f"{100.0 * a / b:5.1f}%" if b else "    -"
print(f"\n{'folder':<10} {'lines':>15} {'':>6}  {'branches':>15} {'':>6}")
for name, t in sorted(folders.items()) + [("total", total)]:
    print(f"{name:<10} {t[0]:>7} of {t[1]:<6} {pct(t[0], t[1])}  {t[2]:>7} of {t[3]:<6} {pct(t[2], t[3])}")
EOF
echo "line by line: $dir/coverage.html"
exit $status
