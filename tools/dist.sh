#!/bin/sh
# Builds the distribution zip: OrvikPlug.dll, the Russian readme.txt (code page 1251), the example
# remote TV.cfg and README-en.txt. Installs what is missing first (run as root on Debian 12).
# Prints the path of the zip.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$root/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win32" -j "$jobs" --target dist >/dev/null
ls "$root"/build/win32/OrvikPlug-*.zip
