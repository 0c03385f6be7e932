#!/usr/bin/env bash
# Builds the Windows dependencies with mingw-w64 from Debian's source
# packages: Lua 5.1 (as lua5.1.dll, the test host's Lua), libpng and
# libjpeg-turbo (static). zlib comes from libz-mingw-w64-dev. Sources and
# results are cached under CACHE; a finished step leaves a stamp and is
# not repeated.
#
#   cmake/windows-deps.sh CACHE ARCH...     ARCH: i686 | x86_64
set -euo pipefail
CACHE=$(realpath -m "$1"); shift
ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOBS=${JOBS:-2}
mkdir -p "$CACHE/src"

need_sources() {
  # apt-get source needs a deb-src entry; add one mirroring the deb entries.
  if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        > /etc/apt/sources.list.d/velumbar-deb-src.sources
    else
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
        > /etc/apt/sources.list.d/velumbar-deb-src.list
    fi
    apt-get update -qq
  fi
}

# Unpacked source folder of a Debian source package, fetched once.
source_dir() {
  local pkg=$1 dir
  dir=$(find "$CACHE/src" -maxdepth 1 -mindepth 1 -type d -name "$pkg-*" | head -1)
  if [ -z "$dir" ]; then
    need_sources
    # Newest version first; a mirror that lacks one (a security update it
    # no longer carries) falls back to the next.
    local v
    for v in $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -rV | uniq); do
      (cd "$CACHE/src" && apt-get source -qq "$pkg=$v" >/dev/null 2>&1) && break
    done
    dir=$(find "$CACHE/src" -maxdepth 1 -mindepth 1 -type d -name "$pkg-*" | head -1)
  fi
  echo "$dir"
}

build_lua() {
  local arch=$1 prefix=$2 src work cc
  src=$(source_dir lua5.1)
  cc=$arch-w64-mingw32-gcc
  work="$CACHE/$arch/lua-build"
  rm -rf "$work" && mkdir -p "$work" "$prefix/bin" "$prefix/lib" "$prefix/include/lua5.1"
  local objs=()
  for f in "$src"/src/*.c; do
    case $(basename "$f") in lua.c|luac.c|print.c) continue ;; esac
    local o="$work/$(basename "${f%.c}").o"
    "$cc" -O2 -DLUA_BUILD_AS_DLL -c "$f" -o "$o"
    objs+=("$o")
  done
  "$cc" -shared -o "$prefix/bin/lua5.1.dll" "${objs[@]}" \
    -Wl,--out-implib,"$prefix/lib/liblua5.1.dll.a" -static-libgcc
  cp "$src"/src/{lua.h,luaconf.h,lualib.h,lauxlib.h} "$src"/etc/lua.hpp "$prefix/include/lua5.1/" 2>/dev/null ||
    cp "$src"/src/{lua.h,luaconf.h,lualib.h,lauxlib.h} "$prefix/include/lua5.1/"
  [ -f "$prefix/include/lua5.1/lua.hpp" ] || printf 'extern "C" {\n#include "lua.h"\n#include "lualib.h"\n#include "lauxlib.h"\n}\n' \
    > "$prefix/include/lua5.1/lua.hpp"
}

cmake_static() {
  local arch=$1 prefix=$2 name=$3 src=$4; shift 4
  local work="$CACHE/$arch/$name-build"
  rm -rf "$work"
  cmake -S "$src" -B "$work" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >"$work.log" 2>&1 ||
    { tail -30 "$work.log"; exit 1; }
  cmake --build "$work" -j"$JOBS" >>"$work.log" 2>&1 || { tail -30 "$work.log"; exit 1; }
  cmake --install "$work" >>"$work.log" 2>&1 || { tail -30 "$work.log"; exit 1; }
}

build_png() {
  local arch=$1 prefix=$2
  cmake_static "$arch" "$prefix" png "$(source_dir libpng1.6)" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
    -DZLIB_LIBRARY=/usr/$arch-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$arch-w64-mingw32/include
}

build_jpeg() {
  local arch=$1 prefix=$2
  cmake_static "$arch" "$prefix" jpeg "$(source_dir libjpeg-turbo)" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
}

step() {
  local arch=$1 what=$2 prefix="$CACHE/$1/prefix" stamp="$CACHE/$1/$2.done"
  [ -f "$stamp" ] && return 0
  echo "windows-deps: building $what for $arch"
  mkdir -p "$prefix"
  "build_$what" "$arch" "$prefix"
  touch "$stamp"
}

started=$(date +%s)
for arch in "$@"; do
  for what in lua png jpeg; do step "$arch" "$what"; done
done
echo "windows-deps: ready in $(( $(date +%s) - started )) s ($CACHE)"
