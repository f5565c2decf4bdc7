#!/usr/bin/env bash
# Under Wine: contract tests, then a player's journey as built and as installed: $0 <build-windows>
set -euo pipefail
build="$(cd "$1" && pwd)"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
[ -n "${JOURNEY_XVFB:-}" ] || JOURNEY_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
(cd "$build/stakko" && wine ../ui_tests.exe)
window() { timeout 30 xdotool search --sync --name "^$1\$" | head -1; }
press() { # a click at a point of the form's own size, then Yes to the question it asks
    xdotool mousemove --window "$1" "$2" "$3" click 1 && window Message >/dev/null && xdotool key y; }
board() { # a digest of the panel's left 320 pixel columns, where the board is
    xwd -id "$1" -silent | python3 -c 'import struct; d = open(0, "rb").read(); h = struct.unpack_from(">25I", d); print([d[h[0] + 12 * h[19] + y * h[12]:][:320 * h[11] // 8] for y in range(h[5])])' | md5sum; }
play() {
    wine KIVO_Stakko.exe & panel=$(window Stakko)
    press "$panel" 391 563 # Start
    sleep 1; before=$(board "$panel"); sleep 1
    [ "$(board "$panel")" != "$before" ] || { echo "No piece fell" >&2; exit 1; }
    press "$panel" 391 711 # Quit
    wait $! # exit code 0
}

rm -rf "$build/journey" && cp -r "$build/stakko" "$build/journey" && cd "$build/journey"
play
rm Images/KIVO_Stakko_Game_green.bmp # named in an error message, then the end
WINEDEBUG=+win wine KIVO_Stakko.exe 2>trace.log &
xdotool mousemove --window "$(window Error)" 9 9 key Return; wait $! # pointer focus; exit code 0
grep -q 'L"Missing image file 3."' trace.log
rm -rf "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Local/Programs/Stakko"
wine "$build/stakko-setup.exe" /S
cd "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Local/Programs/Stakko" && play
