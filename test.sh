#!/usr/bin/env bash
# Builds Reelwarden and runs every test (installing missing Debian packages first), then
# fuzzes the readers of outside text for a bounded time.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
scripts/fuzz.sh "${FUZZ_SECONDS:-20}"
