#!/bin/sh
# A Wine prefix of the help test's own whose HTML Help viewer is the
# recording stand-in, placed where Windows keeps the real one (C:\windows).
#   help_prefix.sh WINE WINESERVER PREFIX PROBE NO_START RECORDER
set -eu
"$(dirname "$0")/wine_prefix.sh" "$1" "$2" "$3" "$4" "$5"
cp "$6" "$3/drive_c/windows/hh.exe"
