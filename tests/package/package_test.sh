#!/usr/bin/env bash
# Builds the package from the build in $1, checks it, installs it and lets two players (two
# homes) each keep their own window size through an upgrade, a reinstall and a removal.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "installs a package: run as root"; exit 77; }
tmp=$(mktemp -d) && a=$tmp/a/.local/share/stakko && unset XDG_DATA_HOME && export PATH=$PATH:/usr/games
trap 'kill $(jobs -p) 2>/dev/null || true; dpkg --purge stakko >/dev/null 2>&1 || true; rm -rf "$tmp"' EXIT
cd "$1" && cpack -G DEB -B "$tmp/old" >/dev/null
cpack -G DEB -B "$tmp/new" -D CPACK_PACKAGE_VERSION=1.0.1 >/dev/null
lintian --fail-on error "$tmp/old/stakko_1.0_amd64.deb"
dpkg -i "$tmp/old/stakko_1.0_amd64.deb" >/dev/null
desktop-file-validate /usr/share/applications/org.stakko.Stakko.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.stakko.Stakko.metainfo.xml
test "$(stakko --version)" = "stakko 1.0"
stakko --help | grep -q "^Usage: stakko"
openbox --sm-disable & sleep 1

records() { head -2 "$1/.local/share/stakko/_KIVOSTAKKOGAME.CFG" 2>/dev/null | paste -sd x; }
# Starts the game for the player in home $1, checks that its window opens $2 (width x height)
# and, given $3, resizes it to $3 and waits for the records file to hold it (height first).
play() {
    HOME=$1 stakko & local pid=$!
    local window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Stakko$' | head -1)
    xdotool getwindowgeometry "$window" | grep -q "Geometry: $2$" || { echo "$1: not $2"; exit 1; }
    if [ -n "${3-}" ]; then
        xdotool windowsize "$window" "${3%x*}" "${3#*x}"
        for _ in $(seq 50); do [ "$(records "$1")" = "${3#*x}x${3%x*}" ] && break; sleep 0.2; done
        [ "$(records "$1")" = "${3#*x}x${3%x*}" ] || { echo "$1: records not $3"; exit 1; }
    fi
    kill $pid && wait $pid || true
}
play "$tmp/a" 461x792 500x600
play "$tmp/b" 461x792 520x640
dpkg -i "$tmp/new/stakko_1.0.1_amd64.deb" >/dev/null
# As after an upgrade that removed one installed file and added another:
ln -s /usr/lib/stakko/gone "$a/gone" && rm "$a/WAVs"
play "$tmp/a" 500x600
dpkg -r stakko >/dev/null
dpkg -i "$tmp/old/stakko_1.0_amd64.deb" >/dev/null
play "$tmp/b" 520x640
test ! -L "$a/gone" -a -L "$a/WAVs"
dpkg -r stakko >/dev/null
test "$(records "$tmp/a")" = 600x500 -a "$(records "$tmp/b")" = 640x520
