#!/bin/sh
# A Wine prefix of the help test's own whose HTML Help viewer is the
# recording stand-in, placed where Windows keeps the real one (C:\windows).
#   help_prefix.sh WINE PREFIX RECORDER
set -eu
"$(dirname "$0")/wine_prefix.sh" "$1" "$2"
cp "$3" "$2/drive_c/windows/hh.exe"
