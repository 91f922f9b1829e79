#!/usr/bin/env bash
# Remakes the two pictures at the top of README.md, which the AppStream
# metadata also shows as its screenshots: a lit level in play, drawn by
# `ghtool render` part-way through its solution, and the title picture,
# both doubled pixel for pixel (ImageMagick's -scale 200% repeats every
# pixel, nothing is smoothed). Needs a build (scripts/build.sh build) and
# ImageMagick (Debian package imagemagick).
#
#   scripts/readme-pictures.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
command -v convert > /dev/null || { echo "needs ImageMagick's convert (apt-get install imagemagick)" >&2; exit 1; }

# Level 42 has fire, lava, ice and boxed balls, seen a little before half-way
# through its solution.
level=42
share=45
moves=$(sed -n 's/^solution: *//p' "$root/assets/levels/level$level.txt" | tr -d ' \t\r\n')
moves=${moves:0:$((${#moves} * share / 100))}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/ghtool" render --data "$build/GHold.dat" --level "$level" "$moves" "$work/level.png"
# -strip leaves out the time stamps, so that the same pixels give the same file.
convert "$work/level.png" -scale 200% -strip "$root/docs/level-in-play.png"
convert "$root/assets/pictures/picture0.png" -scale 200% -strip "$root/docs/title.png"
