#!/usr/bin/env bash
# Installs what is needed, builds Stakko into build/ and makes its Debian package there:
# build/stakko_<version>_amd64.deb. Extra arguments go to CMake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_DIR="$root/build" "$root/scripts/build.sh" "$@"
cd "$root/build"
cpack -G DEB
