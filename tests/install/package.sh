#!/usr/bin/env bash
# package.sh BUILD_DIR OUT_DIR: makes the Debian package of the build in
# OUT_DIR and unpacks it into OUT_DIR/root, as dpkg would install it.
set -euo pipefail
build=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log"; exit 1; }
packages=("$out"/*.deb)
[[ ${#packages[@]} == 1 && -f ${packages[0]} ]] || { echo "FAIL: no single package made"; exit 1; }
dpkg-deb -x "${packages[0]}" "$out/root"
