#!/bin/sh
# Creates a fresh 32-bit Wine prefix for one test run and prints its path.
# Usage: prefix=$(tools/wine-prefix.sh)
set -eu
prefix=$(mktemp -d "${TMPDIR:-/tmp}/orvik-wine.XXXXXX")
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="winedbg.exe=d"
wineboot -i >/dev/null 2>&1
wineserver -w
# Without a window manager Wine waits 2 s whenever a top-level window is hidden.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# ORVIK_WINE_WINDOWS=winxp (or win7, win10 ...) makes Wine report that Windows version to the
# programs, as winecfg would.
if [ -n "${ORVIK_WINE_WINDOWS:-}" ]; then
    wine reg add 'HKCU\Software\Wine' /v Version /d "$ORVIK_WINE_WINDOWS" /f >/dev/null 2>&1
fi
# Caption buttons need marlett.
for f in /usr/share/fonts/truetype/wine/marlett.ttf /usr/share/wine/fonts/marlett.ttf; do
    [ -f "$f" ] && cp "$f" "$prefix/drive_c/windows/Fonts/" && break
done
wineserver -w
echo "$prefix"
