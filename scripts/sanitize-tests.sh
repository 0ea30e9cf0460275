#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ and runs
# the whole test suite there: scripts/sanitize-tests.sh [extra ctest arguments].
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-asan"
jobs=${JOBS:-2}

cmake -S "$root" -B "$build" -G Ninja -DREELWARDEN_SANITIZE=ON -DREELWARDEN_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j "$jobs"

# Qt and fontconfig keep some allocations for the life of the process; only errors count.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build" && ctest --output-on-failure -j "$jobs" "$@"
