#!/usr/bin/env bash
# Installs what is missing, builds Gloomhold and makes its Debian package,
# build/gloomhold_VERSION_ARCH.deb; install it with
#   apt install ./build/gloomhold_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" build
cd "$root/build"
cpack -G DEB
