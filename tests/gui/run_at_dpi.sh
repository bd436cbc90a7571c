#!/bin/sh
# Runs a GUI test program at a dpi and on a screen of their own: a Wine prefix and an X server for
# this run alone (the dpi is a setting of the prefix, the screen size one of the X server), so no
# other test sees either. Output goes through a file, as in cmake/wine-run-gui.sh.
# Usage: run_at_dpi.sh DPI WIDTHxHEIGHT PROGRAM [ARGUMENTS...]
set -u
dpi=$1
screen=$2
shift 2
root=$(cd "$(dirname "$0")/../.." && pwd)
WINEPREFIX=$(sh "$root/tools/wine-prefix.sh") || exit 1
export WINEPREFIX WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="winedbg.exe=d"
# Wine 8 reads the dpi from here when a program starts.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wineserver -w
log=$(mktemp)
# Wine's desktop starts inside this X server first (see tools/test.sh).
xvfb-run -a -s "-screen 0 ${screen}x24" sh -c \
    'wine cmd /c exit >/dev/null 2>&1 </dev/null; wine "$@"' sh "$@" >"$log" 2>&1 </dev/null
status=$?
wineserver -k >/dev/null 2>&1
rm -rf "$WINEPREFIX"
cat "$log"
rm -f "$log"
exit $status
