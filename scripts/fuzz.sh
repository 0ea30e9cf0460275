#!/bin/sh
# Builds the fuzz targets with clang and libFuzzer in build-fuzz/ and runs each for a bounded
# time: scripts/fuzz.sh [SECONDS_PER_TARGET] (default $FUZZ_SECONDS, else 20). Targets start
# from their own corpus in fuzz/corpus and their format's files under tests/data. A crash leaves
# its input as build-fuzz/crash-* and stops with a non-zero status; turn it into a regression
# seed in fuzz/corpus/TARGET/ and a test.
set -eu
seconds=${1:-${FUZZ_SECONDS:-20}}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
jobs=${JOBS:-2}
targets="profile money search csv tellico_xml tellico_zip gcstar reader_output nfo videodb dvdprofiler griffith amc collectorz datacrow delicious foreign_values reelwarden_catalog"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DREELWARDEN_FUZZ=ON \
    -DBUILD_TESTING=OFF -DREELWARDEN_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs" --target $(for t in $targets; do printf 'fuzz_%s ' "$t"; done)

# Seeds besides a target's own corpus: the small test files of collections (the large hostile
# ones take the sanitizers longer than a run's time; the tests cover them).
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
find "$root/tests/data/transfer" -type f -size -16k ! -name '*.tsv' ! -name '*.md' \
    -exec cp {} "$seeds/" \;
seeds() {
    case $1 in
    csv | tellico_xml | tellico_zip | gcstar) echo "$seeds" ;;
    nfo) echo "$root/tests/data/nfo/library" ;;
    videodb) echo "$root/tests/data/nfo" ;;
    dvdprofiler) echo "$root/tests/data/dvdprofiler" ;;
    griffith) echo "$root/tests/data/griffith" ;;
    amc | collectorz | datacrow | delicious) echo "$root/tests/data/$1" ;;
    esac
}

status=0
for target in $targets; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    echo "== fuzz_$target for ${seconds}s"
    # shellcheck disable=SC2046 # the seed folders are words
    (cd "$build" && "./fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "$corpus" $(seeds "$target") $(ls -d "$root/fuzz/corpus/$target" 2>/dev/null)) || status=1
done
exit $status
