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
# A GCstar file of as many films, each with the fields the import reads (nothing here writes one).
gcstar() {
  awk -v n="$movies" 'BEGIN {
    print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    print "<collection type=\"GCfilms\" items=\"" n "\" version=\"1.7.3\">"
    for (i = 1; i <= n; i++) {
      printf " <item id=\"%d\" title=\"Film number %d\" date=\"%d\" time=\"%d min\"", i, i, 1900 + i % 120, 60 + i % 120
      printf " director=\"Director %d\" format=\"DVD\" place=\"Shelf %d\" age=\"12\">\n", i % 997, i % 40
      printf "  <comment>Comment on film %d, with a second sentence.</comment>\n", i
      printf "  <genre><line><col>Drama</col></line></genre>\n"
      printf "  <actors><line><col>Actor %d</col><col>Role</col></line><line><col>Actor %d</col><col>Role</col></line></actors>\n", i % 5003, i % 7001
      print " </item>"
    }
    print "</collection>"
  }' >"$1"
}

for format in csv tc xml; do
  measure "export .$format" export "$work/movies.$format" --catalog "$work/catalog.mdb"
  if [ -f "$work/movies.$format" ]; then
    import "import .$format" "$work/movies.$format"
  fi
done
measure "export .html" export "$work/movies.html" --catalog "$work/catalog.mdb"
measure "backup" backup "$work/backup.mdb" --catalog "$work/catalog.mdb"
gcstar "$work/films.gcs"
import "import .gcs" "$work/films.gcs"
# As many copies of one title, each renamed "Same title (N)": hashed sets keep this linear.
{
  echo Title
  for ((i = 0; i < movies; i++)); do echo "Same title"; done
} >"$work/same.csv"
rm -f "$work/empty.mdb"
"$build/tools/make_catalog" "$work/empty.mdb"
measure "rename copies" import "$work/same.csv" --catalog "$work/empty.mdb" --rename-duplicates
