#!/usr/bin/env bash
# Gives the installed 64-bit Wine the 32-bit Windows DLLs of Debian's
# libwine:i386, so its WoW64 mode can run i686 programs. The package is
# fetched with apt-get download through an i386-only source list kept under
# WORK (no multiarch install) and unpacked with dpkg -x; its i386-windows
# folder is copied into Wine's. A finished run leaves a stamp.
#
#   cmake/wine-wow64.sh WORK
set -euo pipefail
WORK=$(realpath -m "$1")
WINE_LIB=/usr/lib/x86_64-linux-gnu/wine
VERSION=$(dpkg-query -W -f='${Version}' libwine)
STAMP="$WORK/libwine-$VERSION.done"
[ -f "$STAMP" ] && [ -f "$WINE_LIB/i386-windows/kernel32.dll" ] && exit 0

mkdir -p "$WORK/lists/partial" "$WORK/cache/archives/partial" "$WORK/debs"
# The machine's Debian sources, as one-line entries limited to i386.
: >"$WORK/i386.list"
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
  awk -v RS= '/Types:[^\n]*deb( |$|\n)/ {
      uris = suites = comps = key = ""
      n = split($0, lines, "\n")
      for (i = 1; i <= n; i++) {
        split(lines[i], kv, ": ")
        if (kv[1] == "URIs") uris = kv[2]
        if (kv[1] == "Suites") suites = kv[2]
        if (kv[1] == "Components") comps = kv[2]
        if (kv[1] == "Signed-By") key = kv[2]
      }
      ns = split(suites, s, " ")
      for (j = 1; j <= ns; j++)
        printf "deb [arch=i386%s] %s %s %s\n", (key ? " signed-by=" key : ""), uris, s[j], comps
    }' /etc/apt/sources.list.d/debian.sources >>"$WORK/i386.list"
fi
if [ -f /etc/apt/sources.list ]; then
  sed -n 's/^deb \(\[[^]]*\] \)\?\(http[^ ]*debian[^ ]*\) /deb [arch=i386] \2 /p' /etc/apt/sources.list >>"$WORK/i386.list"
fi
APT=(-o Dir::Etc::SourceList="$WORK/i386.list" -o Dir::Etc::SourceParts=/dev/null
     -o Dir::State::Lists="$WORK/lists" -o Dir::Cache="$WORK/cache"
     -o APT::Architecture=i386 -o APT::Architectures::=i386)
apt-get "${APT[@]}" -qq update
(cd "$WORK/debs" && apt-get "${APT[@]}" -qq download "libwine:i386=$VERSION")
rm -rf "$WORK/root"
dpkg -x "$WORK"/debs/libwine_*_i386.deb "$WORK/root"
cp -r "$WORK"/root/usr/lib/i386-linux-gnu/wine/i386-windows/. "$WINE_LIB/i386-windows/"
touch "$STAMP"
