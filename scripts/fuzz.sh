#!/bin/sh
# Builds the fuzz targets with clang and libFuzzer in build-fuzz/ and runs each for a bounded
# time: scripts/fuzz.sh [SECONDS_PER_TARGET] (default 60). A crash leaves its input as
# build-fuzz/crash-* and stops with a non-zero status; turn it into a regression test.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
jobs=${JOBS:-2}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DREELWARDEN_FUZZ=ON \
    -DBUILD_TESTING=OFF -DREELWARDEN_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs" --target fuzz_profile fuzz_money fuzz_search fuzz_foreign_values

status=0
for target in profile money search foreign_values; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    echo "== fuzz_$target for ${seconds}s"
    (cd "$build" && "./fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "$corpus" "$root/fuzz/corpus/$target") || status=1
done
exit $status
