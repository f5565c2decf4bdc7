#!/usr/bin/env bash
# Cross-builds Stakko for 64-bit Windows into build-windows/: the installation folder
# build-windows/stakko/, a zip of it and a per-user installer; extra arguments go to CMake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-windows}"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$build" -j2

(cd "$build" && rm -f stakko.zip && zip -qr stakko.zip stakko)
makensis -V2 -DSOURCE="$build/stakko" -DOUTFILE="$build/stakko-setup.exe" \
    "$root/installer/stakko.nsi"
echo "Built $build/stakko/, $build/stakko.zip and $build/stakko-setup.exe"
