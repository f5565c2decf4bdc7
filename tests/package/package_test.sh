#!/usr/bin/env bash
# Packs build $1 and checks it: a home keeps its window size through upgrade, reinstall, removal.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "installs a package: run as root"; exit 77; }
tmp=$(mktemp -d) && a=$tmp/a/.local/share/stakko && unset XDG_DATA_HOME && export PATH=$PATH:/usr/games
trap 'set +e; kill $(jobs -p) 2>/dev/null; dpkg --purge stakko &>/dev/null; rm -rf "$tmp"' EXIT
cd "$1" && cpack -G DEB -B "$tmp/old" >/dev/null
cpack -G DEB -B "$tmp/new" -D CPACK_PACKAGE_VERSION=1.0.1 >/dev/null
lintian --fail-on error "$tmp/old/stakko_1.0_amd64.deb"
dpkg -i "$tmp/old/stakko_1.0_amd64.deb" >/dev/null
desktop-file-validate /usr/share/applications/org.stakko.Stakko.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.stakko.Stakko.metainfo.xml
test "$(stakko --version)" = "stakko 1.0"
stakko --help | grep -q "^Usage: stakko"
openbox --sm-disable & sleep 1

records() { head -2 "$1/.local/share/stakko/_KIVOSTAKKOGAME.CFG" 2>/dev/null | tac | paste -sd x; }
# In home $1 the window opens at $2 (w x h); resized to $3 or kept, the records (h first) hold it.
play() {
    HOME=$1 stakko & local pid=$! size=${3-$2}
    local window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Stakko$' | head -1)
    xdotool getwindowgeometry "$window" | grep -q "Geometry: $2$" || { echo "$1: not $2"; exit 1; }
    xdotool windowsize "$window" "${size%x*}" "${size#*x}"
    for _ in $(seq 50); do [ "$(records "$1")" = "$size" ] && break; sleep 0.2; done
    [ "$(records "$1")" = "$size" ] || { echo "$1: records not $size"; exit 1; }
    kill $pid && wait $pid || true
}
play "$tmp/a" 461x792 500x600
dpkg -i "$tmp/new/stakko_1.0.1_amd64.deb" >/dev/null
ln -s /usr/lib/stakko/gone "$a/gone" && rm "$a/WAVs" # as if an upgrade dropped a file, added one
play "$tmp/a" 500x600 520x640
dpkg -r stakko >/dev/null
dpkg -i "$tmp/old/stakko_1.0_amd64.deb" >/dev/null
play "$tmp/a" 520x640
test ! -L "$a/gone" -a -L "$a/WAVs"
dpkg -r stakko >/dev/null
test "$(records "$tmp/a")" = 520x640
