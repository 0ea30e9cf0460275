#!/bin/sh
# Builds the fuzz targets with clang and libFuzzer in build-fuzz/ and runs each for a bounded
# time: scripts/fuzz.sh [SECONDS_PER_TARGET] (default 60). Targets without seeds of their own in
# fuzz/corpus start from their format's files under tests/data. A crash leaves its input as
# build-fuzz/crash-* and stops with a non-zero status; turn it into a regression test.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
jobs=${JOBS:-2}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DREELWARDEN_FUZZ=ON \
    -DBUILD_TESTING=OFF -DREELWARDEN_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets="profile money search nfo videodb dvdprofiler griffith amc collectorz datacrow delicious foreign_values reelwarden_catalog"
cmake --build "$build" -j "$jobs" --target $(for t in $targets; do printf 'fuzz_%s ' "$t"; done)

# seeds TARGET: the folders of files it starts from.
seeds() {
    case $1 in
    nfo) echo "$root/tests/data/nfo/library" ;;
    videodb) echo "$root/tests/data/nfo" ;;
    dvdprofiler) echo "$root/tests/data/dvdprofiler" ;;
    griffith) echo "$root/tests/data/griffith" ;;
    amc | collectorz | datacrow | delicious) echo "$root/tests/data/$1" ;;
    *) echo "$root/fuzz/corpus/$1" ;;
    esac
}

status=0
for target in $targets; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    echo "== fuzz_$target for ${seconds}s"
    (cd "$build" && "./fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "$corpus" $(seeds "$target")) || status=1
done
exit $status
