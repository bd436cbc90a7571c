#!/bin/sh
# CTest emulator for the cross build: runs a Windows program under 32-bit Wine in the
# prefix prepared by tools/wine-prefix.sh (WINEPREFIX must be set by the caller).
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe=d"
exec wine "$@"
