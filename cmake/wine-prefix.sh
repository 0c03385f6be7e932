#!/usr/bin/env bash
# Makes a fresh Wine prefix for the Windows tests, with the null graphics
# driver (no display needed), and waits until Wine has finished with it:
# a program started before the prefix is ready gets no windows.
#
#   cmake/wine-prefix.sh PREFIX
set -euo pipefail
PREFIX=$(realpath -m "$1")
export WINEPREFIX=$PREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$PREFIX"
mkdir -p "$(dirname "$PREFIX")"
wine wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
test -f "$PREFIX/system.reg"
