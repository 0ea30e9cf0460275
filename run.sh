#!/usr/bin/env bash
# Builds Reelwarden (installing missing Debian packages first) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target program -j2
exec build/reelwarden
