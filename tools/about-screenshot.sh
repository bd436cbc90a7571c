#!/bin/sh
# Takes docs/about-page.png: the about page with the built module's version and the shipped
# readme.txt, in the stand-in dialog of its tests, under Xvfb and Wine. Needs imagemagick's import.
set -eu
export LC_ALL=C.UTF-8
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$root/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686-posix.cmake" >/dev/null
cmake --build "$root/build/win32" -j "$jobs" --target about_page_preview dist >/dev/null

work=$(mktemp -d)
WINEPREFIX=$("$root/tools/wine-prefix.sh")
export WINEPREFIX WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="winedbg.exe=d"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX" "$work"' EXIT
cp "$root/build/win32/dist-unpacked/OrvikPlug.dll" "$root/build/win32/dist-unpacked/readme.txt" "$work/"
preview="$root/build/win32/tests/about_page/about_page_preview.exe"
# The frame stands at 40,40 and is 640 x 400.
xvfb-run -a -s "-screen 0 800x520x24" sh -c "
    wine '$preview' '$work/OrvikPlug.dll' 6000 </dev/null >/dev/null 2>&1 &
    sleep 4
    import -window root -crop 640x400+40+40 +repage '$root/docs/about-page.png'
    wait"
echo "$root/docs/about-page.png"
