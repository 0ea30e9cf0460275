#!/usr/bin/env bash
# Takes the screenshot of the catalog window that the software-centre listing shows,
# data/screenshots/main-window.png: the program built in BUILD_FOLDER (default build/) on a
# catalog of data/screenshots/movies.sql with the pick lists of data/screenshots/TARSEL.INI,
# on a virtual screen (Xvfb), the window alone. Usage: scripts/screenshot.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/install-deps.sh screenshot
cmake --build "$build" -j2 --target reelwarden make_catalog
shots=data/screenshots
tmp=$(mktemp -d)
trap 'kill ${app:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$tmp"' EXIT
cp "$build/reelwarden" "$shots/TARSEL.INI" "$tmp/"
"$(find "$build" -name make_catalog -type f -executable | head -1)" "$tmp/movies.mdb"
sqlite3 "$tmp/movies.mdb" <"$shots/movies.sql"

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null & xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/display")
LC_ALL=en_US.UTF-8 "$tmp/reelwarden" & app=$!
window="" # the catalog window, once the splash (a smaller window of the same name) is gone
for _ in $(seq 300); do
  window=$(xwininfo -root -tree |
    awk '/"Reelwarden": \("reelwarden"/ { split($5, size, "x"); if (size[1] > 500) { print $1; exit } }')
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "The catalog window did not show." >&2; exit 1; }
sleep 3 # the list filled and painted
timeout 60 import -window "$window" "$tmp/shot.png"
# optipng keeps the file it replaces as .bak: it gets a new name instead.
optipng -quiet -o5 -strip all "$tmp/shot.png" -out "$tmp/small.png"
mv "$tmp/small.png" "$shots/main-window.png"
echo "$shots/main-window.png: $(identify -format '%wx%h' "$shots/main-window.png") pixels;" \
  "the metainfo gives its size."
