#!/usr/bin/env bash
# Configures and builds Stakko into a build folder (default: build); extra arguments go to CMake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" "$@"
cmake --build "$build" -j"$(nproc)"
