#!/bin/sh
# Makes a fresh Wine prefix with the null graphics driver (no display
# needed) and waits until it is ready: a program started earlier gets no
# windows.   wine_prefix.sh WINE WINESERVER PREFIX
set -eu
WINE=$1
WINESERVER=$2
export WINEPREFIX=$3 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
if [ -d "$WINEPREFIX" ]; then
  "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi
"$WINE" wineboot --init
"$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
# Wine notices that the pointer left a window for one of another thread
# (the desktop, past the page's edge) only on a timer of the hover time;
# Windows posts that leave at once. Nothing here uses hover tracking, so a
# short hover time only brings the leave close to when Windows sends it.
"$WINE" reg add 'HKCU\Control Panel\Mouse' /v MouseHoverTime /d 20 /f >/dev/null
"$WINESERVER" -w
