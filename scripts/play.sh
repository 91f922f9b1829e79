#!/usr/bin/env bash
# Installs what is missing, builds Gloomhold, packs GHold.dat and starts the game
# in the build folder, which holds GHold.dat, LevelInfo.dat and Cfg.txt (the
# game reads and writes them in the folder it runs in).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" build
cd "$root/build"
exec ./gloomhold
