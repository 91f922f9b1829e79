#!/usr/bin/env bash
# Runs every libFuzzer harness in fuzz/, one after another, for SECONDS each
# (default 180) under a 512 MB memory limit, so that a reader that sizes a
# block from its input without checking it is caught as it allocates:
#
#   scripts/fuzz.sh [SECONDS] [HARNESS...]      e.g. scripts/fuzz.sh 60 fuzz_png
#
# Builds the harnesses in build-fuzz/ with clang++ first. What each fuzzer finds goes to
# build-fuzz/corpus/NAME (kept between runs); a crash, leak, timeout or
# allocation over the limit leaves its input in build-fuzz/crashes/. Exit
# status 1 when any harness found something.
set -uo pipefail
seconds=${1:-180}
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build-fuzz

harnesses=("$@")
if ((${#harnesses[@]} == 0)); then
    for source in "$root"/fuzz/fuzz_*.cpp; do
        name=$(basename "$source" .cpp)
        [[ $name != fuzz_seeds ]] && harnesses+=("$name")
    done
fi

# Only the harnesses and the seed writer are built (and the data file the
# seeds are cut from), not the tests.
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGHOLD_FUZZ=ON \
    -DGHOLD_BENCH=OFF -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" > /dev/null || exit 2
cmake --build "$dir" -j "$(nproc)" --target fuzz_seeds "${harnesses[@]}" || exit 2
rm -rf "$dir/seeds"
"$dir/fuzz/fuzz_seeds" "$dir/seeds" || exit 2
mkdir -p "$dir/crashes"
found=0
for name in "${harnesses[@]}"; do
    mkdir -p "$dir/corpus/$name"
    seeds=()
    [[ -d $dir/seeds/$name ]] && seeds=("$dir/seeds/$name")
    echo "== $name: $seconds s"
    if ! "$dir/fuzz/$name" -max_total_time="$seconds" -rss_limit_mb=512 \
        -malloc_limit_mb=512 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$dir/crashes/$name-" "$dir/corpus/$name" "${seeds[@]}" \
        > "$dir/$name.log" 2>&1; then
        found=1
        echo "   FOUND a problem: $dir/$name.log"
        grep -E "^==[0-9]+==ERROR|SUMMARY|artifact" "$dir/$name.log" | head -n 5 | sed 's/^/   /'
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$dir/$name.log" | sed 's/^/   /'
done
exit $found
