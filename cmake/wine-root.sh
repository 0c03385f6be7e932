#!/usr/bin/env bash
# The Wine the Windows tests run under: Wine 10 from Debian 13 in a root of
# its own, made with debootstrap and entered with bubblewrap, so nothing is
# written into this machine's own system folders. Wine 10's WoW64 mode runs
# the i686 build once libwine:i386's 32-bit Windows DLLs sit in the 64-bit
# Wine's i386-windows folder; they are unpacked there (no i386 install).
#
# The root is kept in CACHE (outside any clone, so fresh clones reuse it)
# under a name keyed by a hash of this file: editing the recipe below makes
# a new root, and nothing else does. Prints the root's path.
#
#   cmake/wine-root.sh CACHE          (building the root needs root)
set -euo pipefail
CACHE=$(realpath -m "$1")
MIRROR=${VELUMBAR_DEBIAN_MIRROR:-http://deb.debian.org/debian}
RECIPE=$(sha256sum "$0" | cut -c1-16)
ROOT="$CACHE/wine10-$RECIPE"

ready() { [ -f "$ROOT/.velumbar-ready" ]; }
if ready; then
  echo "$ROOT"
  exit 0
fi
if [ "$(id -u)" != 0 ]; then
  echo "No Wine root in $ROOT: run 'make windows-test' as root once to make it" >&2
  exit 1
fi
mkdir -p "$CACHE"
# Two builds at once (parallel CI jobs on one machine) make it once.
exec 9>"$CACHE/.lock"
flock 9
if ready; then
  echo "$ROOT"
  exit 0
fi

start=$(date +%s)
WORK="$CACHE/.wine10-$RECIPE.partial"
rm -rf "$WORK"
echo "Making the Wine root $ROOT (debootstrap trixie, Wine 10)" >&2
debootstrap --variant=minbase trixie "$WORK" "$MIRROR" >"$CACHE/.debootstrap.log" 2>&1 || {
  tail -20 "$CACHE/.debootstrap.log" >&2
  exit 1
}
# Inside the root: Wine, the fonts the scenarios name, and the 32-bit
# Windows DLLs. The 1777 mode on the fresh /tmp lets apt write there.
bwrap --bind "$WORK" / --proc /proc --dev /dev --perms 1777 --tmpfs /tmp \
  --ro-bind /etc/resolv.conf /etc/resolv.conf \
  --setenv DEBIAN_FRONTEND noninteractive --setenv PATH /usr/sbin:/usr/bin:/sbin:/bin \
  /bin/sh -euc '
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends wine64 fonts-liberation fonts-dejavu-core >/dev/null
    dpkg --add-architecture i386
    apt-get update -qq
    cd /tmp
    apt-get download -qq "libwine:i386=$(dpkg-query -W -f="\${Version}" libwine)"
    dpkg -x libwine_*_i386.deb /tmp/i386
    cp -a /tmp/i386/usr/lib/i386-linux-gnu/wine/i386-windows/. /usr/lib/x86_64-linux-gnu/wine/i386-windows/
    dpkg --remove-architecture i386 || true
    apt-get clean
    rm -rf /var/lib/apt/lists/*
    test -f /usr/lib/x86_64-linux-gnu/wine/i386-windows/kernel32.dll
  ' >&2
touch "$WORK/.velumbar-ready"
mv "$WORK" "$ROOT"
echo "Wine root made in $(($(date +%s) - start)) s" >&2
echo "$ROOT"
