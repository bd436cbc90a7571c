#!/bin/sh
# The plug-in's main job, end to end: the test host loads the real OrvikPlug.dll under 32-bit Wine,
# with the receiver simulator as OrvikUSB.dll replaying two remotes' buttons (a bi-phase and a
# pulse-distance remote, with jitter and repeat frames) and their remote definition files beside
# the plug-in; then real remotes: every button of the CC0 captures in tests/data/captures (see its
# README for their source) through the simulator as receiver samples, with remote definition files
# written from the same captures by orvik-decode --write-cfg; then once more with no driver at
# all. Prints what the host receives.
# Installs what is missing first (run as root on Debian 12).
set -eu
# Wine maps Windows file names to Unix ones through the locale: without a UTF-8 one (a bare
# system has none set) names with bytes above 127 cannot be created.
export LC_ALL=C.UTF-8
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/native" -j "$jobs" --target orvik-make-recordings orvik-decode >/dev/null
cmake -S "$root" -B "$root/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win32" -j "$jobs" --target OrvikPlug test_host orvik_sim_full >/dev/null

run="$root/build/main-job"
rm -rf "$run" && mkdir -p "$run/replay" "$run/real" "$run/no-driver" "$run/empty"
"$root/build/native/tools/make_recordings/orvik-make-recordings" "$run/replay"
cp "$root/build/win32/bin/OrvikPlug.dll" "$run/replay/"
# Real remotes: one definition file per capture file, named after it, as a user would make them.
captures="$root/tests/data/captures"
"$root/build/native/tools/make_recordings/orvik-make-recordings" real "$run/real" "$captures"/*.ir
for ir in "$captures"/*.ir; do
    (cd "$run/real" && "$root/build/native/bin/orvik-decode" --model 0 --write-cfg "$(basename "$ir" .ir)" "$ir" \
        >/dev/null 2>>"$run/write-cfg.log") || [ $? -eq 3 ]
done
cp "$root/build/win32/bin/OrvikPlug.dll" "$run/real/"
cp "$root/build/win32/bin/OrvikPlug.dll" "$run/no-driver/"

WINEPREFIX=$("$root/tools/wine-prefix.sh")
export WINEPREFIX WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="winedbg.exe=d"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT

host() { xvfb-run -a wine "$root/build/win32/bin/test_host.exe" "$@" 2>/dev/null | tr -d '\r'; }

# One readable line per event the host received; the full record lines are in build/main-job/*.log.
pretty() {
    awk '
    function field(name,   m) { if (match($0, " " name "=\"[^\"]*\"")) { m = substr($0, RSTART + length(name) + 3, RLENGTH - length(name) - 4); return m } ; if (match($0, " " name "=[^ ]*")) return substr($0, RSTART + length(name) + 2, RLENGTH - length(name) - 2); return "" }
    /^step / && /do=open/  { printf "%8s ms  Open returned \"%s\" (instance %s)\n", field("t"), field("result"), field("name") }
    /^step / && /do=start/ { printf "%8s ms  Start\n", field("t") }
    /^step / && /do=stop/  { printf "%8s ms  Stop\n", field("t") }
    /^step / && /do=close/ { printf "%8s ms  Close\n", field("t") }
    /^msg / && / n=1025 /  { printf "%8s ms  %-8s %-8s %-12s remote %-12s code %s\n", field("t"), field("event"), (field("repeat") == "" ? "" : "#" field("repeat")), field("key"), field("remote"), field("code") }
    /^box /                { printf "%8s ms  message box \"%s\", caption \"%s\"\n", field("t"), field("text"), field("caption") }
    /^timeout/             { print "TIMEOUT: " $0 }
    ' | sort -n -k1,1
}

echo "== Replay: two remotes through the receiver simulator"
host --plugin="$run/replay/OrvikPlug.dll" --driver-dir="$root/build/win32/bin/sim" \
     --sim-script-file="$run/replay/replay.sim" open:Living-room start wait:7000 stop close \
     > "$run/replay.log"
pretty < "$run/replay.log"

echo
echo "== Replay: every button of real remotes' captures (tests/data/captures), definition files from orvik-decode"
sed 's/^orvik-decode: /  /' "$run/write-cfg.log"
host --plugin="$run/real/OrvikPlug.dll" --driver-dir="$root/build/win32/bin/sim" \
     --sim-script-file="$run/real/real.sim" --timeout=120000 open:Real-remotes start wait:$(($(grep -c '^send' "$run/real/real.sim") * 400 + 1500)) \
     stop close > "$run/real.log"
pretty < "$run/real.log"

echo
echo "== No driver library"
host --plugin="$run/no-driver/OrvikPlug.dll" --driver-dir="$run/empty" \
     open:Living-room start wait:200 stop close > "$run/no-driver.log"
pretty < "$run/no-driver.log"
