#!/bin/sh
# Makes a fresh Wine prefix with the null graphics driver (no display
# needed) and waits until it is ready: a program started earlier gets no
# windows. Then starts PROBE, which only ends with 7: when Wine cannot
# start a program of this architecture at all (a machine without 32-bit
# user mode cannot run WoW64), the file NO_START says so, and the tests,
# which the wrapper then refuses to start, are skipped with that reason.
#   wine_prefix.sh WINE WINESERVER PREFIX PROBE NO_START
set -eu
WINE=$1
WINESERVER=$2
PROBE=$4
NO_START=$5
export WINEPREFIX=$3 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
rm -f "$NO_START"
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
status=0
"$WINE" "$PROBE" >/dev/null 2>&1 || status=$?
if [ "$status" != 7 ]; then
  echo "Wine cannot start $(basename "$PROBE") on this machine (exit status $status): its tests are skipped" \
    | tee "$NO_START"
fi
