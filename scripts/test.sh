#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: in the
# normal build and in the AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

"$root/scripts/build.sh" build
(cd "$root/build" && ctest --output-on-failure -j "$(nproc)")

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$root/scripts/build.sh" build-asan -DCMAKE_BUILD_TYPE=Debug -DGHOLD_SANITIZE=ON \
    -DCMAKE_CXX_COMPILER=clang++
(cd "$root/build-asan" && ctest --output-on-failure -j "$(nproc)")
