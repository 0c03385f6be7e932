#!/bin/sh
# Makes a fresh Wine prefix with the null graphics driver (no display
# needed) and waits until it is ready: a program started earlier gets no
# windows.   wine_prefix.sh WINE PREFIX
set -eu
WINE=$1
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
if [ -d "$WINEPREFIX" ]; then
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi
"$WINE" wineboot --init
"$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
wineserver -w
