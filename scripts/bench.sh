#!/usr/bin/env bash
# Builds Stakko and runs the benchmark programs, printing their figures.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_DIR="$root/build" "$root/scripts/build.sh" -DCMAKE_BUILD_TYPE=Release
cd "$root/build/bench"
./landing_bench --benchmark_min_time=2
./play_bench
xvfb-run -a -s "-screen 0 1280x1024x24" ./startup_bench
