#!/usr/bin/env bash
# Makes a Wine prefix for the Windows program: wine_prefix.sh DIR. Making one takes
# seconds, so the tests make one and copy it.
set -euo pipefail
rm -rf "$1"
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
/usr/lib/wine/wineserver -w
