#!/bin/sh
# Installs what the build, the main job and the tests need on Debian 12, as root.
# Safe to run again: apt-get only installs what is missing.
set -eu
export DEBIAN_FRONTEND=noninteractive

need=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    rm -f /var/lib/apt/lists/lock
    stamp_update=1
fi

for p in ca-certificates cmake make ninja-build g++ git googletest libgtest-dev libbenchmark-dev \
         g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686 \
         wine wine32:i386 xvfb xauth x11-utils fonts-liberation fonts-wine locales \
         clang libclang-rt-14-dev; do
    have "$p" || need="$need $p"
done

if [ -n "$need" ]; then
    apt-get update -qq
    # Recommended packages stay on: libwine needs its fonts and the i386 X libraries.
    apt-get install -y -qq $need >/dev/null
fi

# The dialog's and the about page's tests run once more under a Russian locale, where Wine's ANSI
# code page is 1251.
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf-\{0,1\}8'; then
    localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
