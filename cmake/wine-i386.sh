#!/usr/bin/env bash
# Gives Wine's WoW64 mode the 32-bit Windows DLLs it needs: Debian ships
# them in libwine:i386. The package is fetched with apt-get download through
# an arch=i386 source list kept under WORK (no multiarch install), unpacked
# with dpkg -x, and its i386-windows folder copied into Wine's. Files Wine
# already has are kept.
#
#   cmake/wine-i386.sh WORK
set -euo pipefail
WORK=$(realpath -m "$1")
WINE_DIR=/usr/lib/x86_64-linux-gnu/wine
if [ -f "$WINE_DIR/i386-windows/kernel32.dll" ]; then exit 0; fi
mkdir -p "$WORK/lists/partial" "$WORK/archives/partial" "$WORK/unpacked"
version=$(dpkg-query -W -f='${Version}' libwine)
# The machine's own deb entries, restricted to i386, checked against the
# Debian archive keys.
opt="arch=i386"
[ -f /usr/share/keyrings/debian-archive-keyring.gpg ] &&
  opt="$opt signed-by=/usr/share/keyrings/debian-archive-keyring.gpg"
{
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '/^Types:/ && / deb( |$)/ {keep=1} /^$/ {keep=0} keep && /^(URIs|Suites|Components):/ {print}' "$f" |
      awk '/^URIs:/ {u=$2} /^Suites:/ {s=""; for (i=2;i<=NF;i++) s=s" "$i} /^Components:/ {c=""; for (i=2;i<=NF;i++) c=c" "$i; n=split(s,ss," "); for (i=1;i<=n;i++) print u " " ss[i] c}'
  done
  if [ -f /etc/apt/sources.list ]; then grep -E "^deb " /etc/apt/sources.list | sed "s/^deb //" || true; fi
} | sort -u | sed "s|^|deb [$opt] |" > "$WORK/i386.list"
APT=(-o Dir::Etc::SourceList="$WORK/i386.list" -o Dir::Etc::SourceParts=/dev/null
     -o Dir::State::Lists="$WORK/lists" -o Dir::Cache::Archives="$WORK/archives"
     -o APT::Architecture=i386 -o APT::Architectures=i386 -o Debug::NoLocking=1)
apt-get "${APT[@]}" update -qq
(cd "$WORK" && apt-get "${APT[@]}" download "libwine:i386=$version" -qq)
rm -rf "$WORK/unpacked" && mkdir -p "$WORK/unpacked"
dpkg -x "$WORK"/libwine_*_i386.deb "$WORK/unpacked"
src=$(find "$WORK/unpacked" -type d -name i386-windows | head -1)
[ -n "$src" ] || { echo "wine-i386: no i386-windows folder in libwine:i386" >&2; exit 1; }
cp -rn "$src"/. "$WINE_DIR/i386-windows/"
