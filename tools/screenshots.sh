#!/bin/sh
# Screenshots of the configuration dialog for the documentation: the real plug-in under Wine and
# Xvfb, its pages with a live trace while the receiver simulator replays a remote, and an import
# over the list: the prompt that asks where it goes, its summary, and the list's menu that takes it
# back. The GUI test that takes the pages checks their pixels too (grid and trace colours). Saved
# as PNG in docs/screenshots/. Run as root on Debian 12; installs what is missing first.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
# The real ImageMagick, for BMP to PNG (some machines carry a stand-in convert).
if ! convert -version 2>/dev/null | grep -q ImageMagick; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq imagemagick >/dev/null
fi
"$root/tools/build.sh" win32
export LC_ALL=C.UTF-8
WINEPREFIX=$("$root/tools/wine-prefix.sh")
export WINEPREFIX WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="winedbg.exe=d"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
out="$root/docs/screenshots"
mkdir -p "$out"
rm -f "$out"/*.bmp
# Wine's drive Z: is the Unix root. (winepath would start Wine outside the X server, and a desktop
# started without a display keeps none.)
ORVIK_SCREENSHOT_DIR="Z:$(echo "$out" | tr '/' '\\')"
export ORVIK_SCREENSHOT_DIR
# Wine's desktop starts inside the X server first (see tools/test.sh). Key names in the sample
# remote files are code page 1251 bytes: show them as a Russian system would.
LC_ALL=ru_RU.UTF-8 xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    wine cmd /c exit >/dev/null 2>&1 </dev/null
    wine "$0" --gtest_filter="SignalViewGui.*:ImportGui.ImportsAFile*"' "$root/build/win32/tests/gui/orvik_gui_tests.exe"
for bmp in "$out"/*.bmp; do
    convert "$bmp" "${bmp%.bmp}.png"
    rm -f "$bmp"
done
ls -1 "$out"/*.png
