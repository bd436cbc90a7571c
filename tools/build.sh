#!/bin/sh
# Configures and builds the three trees: native, native with sanitizers, and the Win32 cross build.
# Usage: tools/build.sh [native|asan|win32]...   (default: all three)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
trees=${*:-native asan win32}
for tree in $trees; do
    case $tree in
        native) cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ;;
        asan)   cmake -S "$root" -B "$root/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
                      -DORVIK_SANITIZE=ON -DORVIK_BENCHMARKS=OFF ;;
        win32)  cmake -S "$root" -B "$root/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
                      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" ;;
        *) echo "unknown tree: $tree" >&2; exit 2 ;;
    esac >/dev/null
    cmake --build "$root/build/$tree" -j "$jobs"
done
