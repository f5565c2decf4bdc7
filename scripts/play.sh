#!/usr/bin/env bash
# Installs what is needed, builds Stakko and starts it in its installation folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_DIR="$root/build" "$root/scripts/build.sh"
cd "$root/build/stakko"
exec ./KIVO_Stakko "$@"
