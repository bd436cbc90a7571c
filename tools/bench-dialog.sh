#!/bin/sh
# The configuration dialog with 5,000 keys in 50 remote files, under 32-bit Wine: the time from
# Setup to a filled list that takes input, and from accepting a key name to the re-sorted list.
# Prints a small report. A measurement, never a test.
# Usage: sh tools/bench-dialog.sh [OPENINGS [RENAMES]]    (defaults 5 and 20)
# Installs what is missing first (run as root on Debian 12).
set -eu
export LC_ALL=C.UTF-8
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win32" -j 2 --target orvik_dialog_bench >/dev/null

WINEPREFIX=$("$root/tools/wine-prefix.sh")
export WINEPREFIX WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="winedbg.exe=d"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
echo "== Machine: $(nproc) cores, $(wine --version), load average $(cut -d' ' -f1-3 /proc/loadavg)"
xvfb-run -a -s "-screen 0 1024x768x24" \
    sh "$root/cmake/wine-run-gui.sh" "$root/build/win32/tests/gui/orvik_dialog_bench.exe" "$@"
