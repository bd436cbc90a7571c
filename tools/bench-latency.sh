#!/bin/sh
# End-to-end benchmark under 32-bit Wine, through the receiver simulator and the real OrvikPlug.dll
# in the test host:
#  1. latency from the simulator handing a frame over (inside DoGetInfraCode) to the host window
#     receiving the press, over PRESSES separate presses polled 100 times a second;
#  2. processor time of the plug-in's threads while idle (the simulator answers "no data"), at 20
#     and at 100 polls a second, beside what Wine's server spends in the same time, and beside a
#     bare poller in the same run: a host thread at the sampling thread's priority that only calls
#     the simulator's DoGetInfraCode and sleeps at the same rate. Their ratio is what the plug-in
#     costs beyond polling itself, whatever the machine and Wine add.
# Prints a small report; the logs stay in build/bench-latency/. A measurement, never a test.
# Usage: sh tools/bench-latency.sh [PRESSES [IDLE_SECONDS]]    (defaults 250 and 30)
# Installs what is missing first (run as root on Debian 12).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
presses=${1:-250}
idle_s=${2:-30}
"$root/tools/install-deps.sh"

cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/native" -j 2 --target orvik-latency-bench >/dev/null
cmake -S "$root" -B "$root/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win32" -j 2 --target OrvikPlug test_host orvik_sim_full >/dev/null

bench="$root/build/native/tools/latency_bench/orvik-latency-bench"
run="$root/build/bench-latency"
rm -rf "$run" && mkdir -p "$run/presses" "$run/stopped" "$run/idle-20" "$run/idle-100"
script_ms=$("$bench" press-files "$run/presses" "$presses")
"$bench" idle-files "$run/stopped" 20
"$bench" idle-files "$run/idle-20" 20
"$bench" idle-files "$run/idle-100" 100
for d in presses stopped idle-20 idle-100; do cp "$root/build/win32/bin/OrvikPlug.dll" "$run/$d/"; done

WINEPREFIX=$("$root/tools/wine-prefix.sh")
export WINEPREFIX WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="winedbg.exe=d"
# Our own server for the prefix, so its processor time can be read from /proc.
wineserver -f -p >/dev/null 2>&1 &
server=$!
trap 'wineserver -k >/dev/null 2>&1 || true; wait $server 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT

# The host flushes every line; the log is read while it runs, so no filter may buffer it.
host() { xvfb-run -a wine "$root/build/win32/bin/test_host.exe" "$@" 2>/dev/null; }

echo "== Machine: $(nproc) cores, $(wine --version), load average $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== Latency: $presses presses, 100 polls a second"
host --plugin="$run/presses/OrvikPlug.dll" --driver-dir="$root/build/win32/bin/sim" \
     --sim-script-file="$run/presses/presses.sim" --timeout=$((script_ms + 60000)) \
     open:Bench start wait:$((script_ms + 1000)) sim-log stop close > "$run/presses.log"
"$bench" latency "$run/presses.log" || echo "no latency figures: see $run/presses.log"

# Wine's server time and the wall clock in microseconds (schedstat counts nanoseconds on the CPU).
server_us() { cat /proc/$server/task/*/schedstat | awk '{ ns += $1 } END { printf "%.0f", ns / 1000 }'; }
now_us() { echo $(($(date +%s%N) / 1000)); }
# Waits until the host's log shows the given number of thread-cpu steps, or the host has ended.
steps_seen() { n=$(grep -c 'do=thread-cpu' "$1" 2>/dev/null || true); echo "${n:-0}"; }
wait_steps() {
    while [ "$(steps_seen "$1")" -lt "$2" ] && kill -0 "$3" 2>/dev/null; do
        sleep 0.05
    done
}

# idle NAME STEPS...: runs the host, prints the plug-in's threads and the server's share.
idle() {
    name=$1
    shift
    log="$run/$name.log"
    host --plugin="$run/$name/OrvikPlug.dll" --driver-dir="$root/build/win32/bin/sim" "--sim-script=idle 2" \
         --timeout=$(((idle_s + 60) * 1000)) "$@" > "$log" &
    pid=$!
    wait_steps "$log" 1 $pid
    s0=$(server_us) t0=$(now_us)
    wait_steps "$log" 2 $pid
    s1=$(server_us) t1=$(now_us)
    wait $pid || true
    "$bench" cpu "$log" 2>/dev/null || echo "plug-in threads: none"
    awk -v s=$((s1 - s0)) -v t=$((t1 - t0)) \
        'BEGIN { printf "wineserver %.2f ms/s (%.3f %% of a core) over %.1f s\n", s * 1000 / t, s * 100 / t, t / 1000000 }'
}

echo
echo "== Idle processor time, $idle_s s each"
echo "-- Open, not started (the host alone)"
idle stopped open:Idle wait:1000 thread-cpu wait:$((idle_s * 1000)) thread-cpu close
for hz in 20 100; do
    echo "-- Started, $hz polls a second, no data, with a bare poller at the same rate"
    idle idle-$hz open:Idle start bare-poller:$hz wait:1000 thread-cpu wait:$((idle_s * 1000)) thread-cpu \
         bare-poller:0 stop close
done
echo
echo "== Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
