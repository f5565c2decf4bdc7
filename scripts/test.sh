#!/usr/bin/env bash
# Installs what is needed, builds Stakko and runs the whole test suite: once in a normal build
# (unit, Qt and end-to-end tests), once more under the address and undefined-behaviour
# sanitizers (all but the end-to-end tests), ending in ctest's summary.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

BUILD_DIR="$root/build-san" "$root/scripts/build.sh" -DSTAKKO_SANITIZE=ON \
    -DSTAKKO_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-san" &&
    ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure --timeout 300 -LE e2e)

# The Windows build, its run-time contract and a player's journey under Wine.
"$root/scripts/build-windows.sh"
"$root/tests/wine/journey.sh" "$root/build-windows"

BUILD_DIR="$root/build" "$root/scripts/build.sh"
cd "$root/build"
ctest --output-on-failure --timeout 300
