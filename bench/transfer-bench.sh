#!/usr/bin/env bash
# Times reelwarden-transfer on a generated catalog: import and export in each format, and a
# backup, each in a process of its own, with its wall time and peak memory (/usr/bin/time).
#
#   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
#   ninja -C build-bench reelwarden-transfer reelwarden-bench-catalog make_catalog
#   bench/transfer-bench.sh [BUILD_DIR [MOVIES]]        (defaults: build-bench 100000)
set -euo pipefail
build=${1:-build-bench}
movies=${2:-100000}
program="$build/reelwarden-transfer"
work=$(mktemp -d /tmp/reelwarden-transfer-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

"$build/bench/reelwarden-bench-catalog" "$work/catalog.mdb" "$movies"

# measure LABEL ARGS...: runs reelwarden-transfer ARGS and prints a row of the table.
measure() {
  local label=$1
  shift
  if /usr/bin/time -f '%e %M' -o "$work/time" "$program" "$@" >/dev/null 2>"$work/error"; then
    read -r wall rss <"$work/time"
    printf '%-14s %10s %12s\n' "$label" "$wall" "$((rss / 1024))"
  else
    printf '%-14s %s\n' "$label" "failed: $(head -c 100 "$work/error" | head -n 1)"
  fi
}

# import LABEL FILE: into an empty catalog of its own.
import() {
  rm -f "$work/empty.mdb"
  "$build/tools/make_catalog" "$work/empty.mdb"
  measure "$1" import "$2" --catalog "$work/empty.mdb"
}

echo "$movies movies, $(nproc) cores, $(date -u +%F)"
printf '%-14s %10s %12s\n' command 'wall s' 'max RSS MB'
for format in csv tc; do
  measure "export .$format" export "$work/movies.$format" --catalog "$work/catalog.mdb"
  if [ -f "$work/movies.$format" ]; then
    import "import .$format" "$work/movies.$format"
  fi
done
measure "export .html" export "$work/movies.html" --catalog "$work/catalog.mdb"
measure "backup" backup "$work/backup.mdb" --catalog "$work/catalog.mdb"
echo "(.gcs import is not timed: nothing writes a .gcs file of 100,000 movies to read)"
