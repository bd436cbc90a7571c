#!/bin/sh
# Builds everything and runs every test: native unit tests, the same under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the cross-built tests under 32-bit Wine in a fresh prefix.
# Installs what is missing first (run as root on Debian 12).
set -eu
# Wine maps Windows file names to Unix ones through the locale: without a UTF-8 one (a bare
# system has none set) names with bytes above 127 cannot be created.
export LC_ALL=C.UTF-8
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh" native asan win32

status=0
for tree in native asan; do
    echo "== $tree tests"
    (cd "$root/build/$tree" && ctest --output-on-failure -j 2 --timeout 600) || status=1
done

echo "== Wine tests"
WINEPREFIX=$("$root/tools/wine-prefix.sh")
export WINEPREFIX WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="winedbg.exe=d"
cleanup() { wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"; }
trap cleanup EXIT
wineserver -p
# Start Wine's own services and desktop before the tests, detached from our output: started by the
# first test instead, they would inherit CTest's pipes and keep it waiting for end of file. Inside
# the X server: a desktop started without a display stays without one for the whole (persistent)
# wineserver, and no test could create a window. The desktop process ends a second after the last
# window has gone and comes back with the next one, so the programs whose tests create windows
# run with their output in a file (cmake/wine-run-gui.sh), which it may keep.
(cd "$root/build/win32" && xvfb-run -a -s "-screen 0 1024x768x24" sh -c \
    'wine cmd /c exit >/dev/null 2>&1 </dev/null; ctest --output-on-failure -j 2 --timeout 600') || status=1

[ $status -eq 0 ] && echo "all test trees passed" || echo "some tests FAILED"
exit $status
