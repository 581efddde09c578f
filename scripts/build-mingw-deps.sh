#!/usr/bin/env bash
# Builds the third-party libraries for the Windows build (libjpeg-turbo, minizip, LAME) from
# Debian's source packages into .deps/mingw: static libraries, and LAME also as a DLL
# (bin/libmp3lame-0.dll with its import library lib/libmp3lame.dll.a), which kto2mp3.exe loads
# so that users can replace it. The libraries' licence texts go to share/licenses/ for the
# release archive. A library already built is left alone.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"
prefix="$deps/mingw"
work="$deps/work"
host=x86_64-w64-mingw32
jobs=$(nproc)

have_jpeg() { [[ -f "$prefix/lib/libjpeg.a" && -f "$prefix/include/jpeglib.h" ]]; }
have_minizip() { [[ -f "$prefix/lib/libminizip.a" && -f "$prefix/include/minizip/unzip.h" ]]; }
have_lame() { [[ -f "$prefix/lib/libmp3lame.a" && -f "$prefix/include/lame/lame.h" ]]; }
have_lame_dll() { [[ -f "$prefix/bin/libmp3lame-0.dll" && -f "$prefix/lib/libmp3lame.dll.a" ]]; }
licenses="$prefix/share/licenses"
have_licenses() { [[ -f "$licenses/complete" ]]; }

if have_jpeg && have_minizip && have_lame && have_lame_dll && have_licenses; then
  exit 0
fi

mkdir -p "$prefix/lib" "$prefix/include" "$work"

# A private apt directory whose deb-src entries mirror the machine's own deb entries, so that
# `apt-get source` works without touching the machine's apt configuration.
aptdir="$deps/apt"
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
setup_private_apt() {
  mkdir -p "$aptdir/sources.list.d" "$aptdir/lists/partial" "$aptdir/cache/archives/partial"
  : >"$aptdir/sources.list"
  local found=0
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f "$f" ]] || continue
    # Keep only stanzas that carry the release suite itself, pinned to it.
    awk -v codename="$codename" '
      BEGIN { RS=""; ORS="\n\n" }
      {
        if ($0 !~ /Types:[^\n]*deb/) next
        n = split($0, lines, "\n"); out = ""; keep = 0
        for (i = 1; i <= n; i++) {
          line = lines[i]
          if (line ~ /^#/) continue
          if (line ~ /^Types:/) line = "Types: deb-src"
          if (line ~ /^Suites:/) {
            if (line ~ ("[ \t]" codename "([ \t]|$)")) { line = "Suites: " codename; keep = 1 }
          }
          out = out line "\n"
        }
        if (keep) print out
      }' "$f" >"$aptdir/sources.list.d/$(basename "$f")"
    [[ -s "$aptdir/sources.list.d/$(basename "$f")" ]] && found=1
  done
  if [[ $found == 0 ]]; then
    echo "build-mingw-deps: no deb822 apt source for $codename found in /etc/apt/sources.list.d" >&2
    exit 1
  fi
}

apt_private() {
  apt-get -q \
    -o Dir::Etc::SourceList="$aptdir/sources.list" \
    -o Dir::Etc::SourceParts="$aptdir/sources.list.d" \
    -o Dir::State::Lists="$aptdir/lists" \
    -o Dir::Cache="$aptdir/cache" \
    -o APT::Get::Only-Source=true -o APT::Sandbox::User=root \
    "$@"
}

fetch_source() { # package -> prints the unpacked source directory
  local pkg=$1
  local dir
  dir=$(find "$work" -maxdepth 1 -type d -name "${pkg}-*" | head -n1)
  if [[ -z "$dir" ]]; then
    [[ -d "$aptdir/lists" && -n "$(ls "$aptdir/lists" 2>/dev/null | grep -v partial || true)" ]] || {
      setup_private_apt
      apt_private update >/dev/null
    }
    (cd "$work" && apt_private source --download-only "$pkg" >/dev/null)
    local dsc
    dsc=$(ls "$work"/"${pkg}"_*.dsc | head -n1)
    (cd "$work" && dpkg-source --no-check -x "$dsc" >/dev/null)
    dir=$(find "$work" -maxdepth 1 -type d -name "${pkg}-*" | head -n1)
  fi
  echo "$dir"
}

toolchain="$root/cmake/mingw-w64-x86_64.cmake"

build_jpeg() {
  local src
  src=$(fetch_source libjpeg-turbo)
  local b="$work/build-jpeg"
  rm -rf "$b"
  cmake -S "$src" -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_SIMD=0 \
    -DWITH_TURBOJPEG=0 -DWITH_JPEG8=0 >"$work/jpeg.log" 2>&1 || { tail -n 30 "$work/jpeg.log"; exit 1; }
  cmake --build "$b" -j "$jobs" >>"$work/jpeg.log" 2>&1 || { tail -n 30 "$work/jpeg.log"; exit 1; }
  cmake --install "$b" >/dev/null
}

build_minizip() {
  local src
  src=$(fetch_source zlib)
  local mz="$src/contrib/minizip"
  local b="$work/build-minizip"
  rm -rf "$b" && mkdir -p "$b" "$prefix/include/minizip"
  local f
  for f in ioapi unzip zip iowin32; do
    $host-gcc -O2 -I/usr/$host/include -c "$mz/$f.c" -o "$b/$f.o"
  done
  $host-ar rcs "$prefix/lib/libminizip.a" "$b"/*.o
  cp "$mz"/ioapi.h "$mz"/unzip.h "$mz"/zip.h "$mz"/iowin32.h "$prefix/include/minizip/"
}

build_lame() {
  local src
  src=$(fetch_source lame)
  local b="$work/build-lame"
  rm -rf "$b" && mkdir -p "$b"
  (cd "$b" && CFLAGS=-O2 "$src/configure" --host=$host --prefix="$prefix" --disable-shared \
    --enable-static --disable-frontend >"$work/lame.log" 2>&1 &&
    make -j "$jobs" >>"$work/lame.log" 2>&1 && make install >>"$work/lame.log" 2>&1) ||
    { tail -n 30 "$work/lame.log"; exit 1; }
}

# The DLL is staged aside and only the DLL and its import library are copied into the prefix,
# so that the static library and the headers other builds use are not touched. The C runtime
# helpers of libgcc are linked into it: it needs no DLL but the system's own. The library's list
# of exported names has one that 3.100 no longer defines (lame_init_old); a copy without it is
# used.
build_lame_dll() {
  local src
  src=$(fetch_source lame)
  local b="$work/build-lame-dll" stage="$work/stage-lame-dll"
  rm -rf "$b" "$stage" && mkdir -p "$b" "$prefix/bin"
  grep -vx lame_init_old "$src/include/libmp3lame.sym" >"$b/libmp3lame.sym"
  (cd "$b" && CFLAGS=-O2 LDFLAGS=-static-libgcc "$src/configure" --host=$host --prefix=/ \
    --enable-shared --disable-static --disable-frontend >"$work/lame-dll.log" 2>&1 &&
    make -j "$jobs" libmp3lame_la_LDFLAGS="-version-info 0:0 -export-symbols $b/libmp3lame.sym \
      -no-undefined" >>"$work/lame-dll.log" 2>&1 &&
    make install DESTDIR="$stage" >>"$work/lame-dll.log" 2>&1) ||
    { tail -n 30 "$work/lame-dll.log"; exit 1; }
  cp "$stage/lib/libmp3lame.dll.a" "$prefix/lib/libmp3lame.dll.a.new"
  cp "$stage/bin/libmp3lame-0.dll" "$prefix/bin/libmp3lame-0.dll.new"
  mv "$prefix/lib/libmp3lame.dll.a.new" "$prefix/lib/libmp3lame.dll.a"
  mv "$prefix/bin/libmp3lame-0.dll.new" "$prefix/bin/libmp3lame-0.dll"
}

# The licence texts of the libraries the programs link, as their sources carry them.
install_licenses() {
  local jpeg zlib lame
  jpeg=$(fetch_source libjpeg-turbo)
  zlib=$(fetch_source zlib)
  lame=$(fetch_source lame)
  mkdir -p "$licenses/libjpeg-turbo" "$licenses/zlib" "$licenses/lame"
  cp "$jpeg/LICENSE.md" "$jpeg/README.ijg" "$licenses/libjpeg-turbo/"
  cp "$zlib/LICENSE" "$zlib/contrib/minizip/MiniZip64_info.txt" "$licenses/zlib/"
  cp "$lame/COPYING" "$lame/LICENSE" "$licenses/lame/"
  touch "$licenses/complete"
}

have_jpeg || { echo "Building libjpeg-turbo for MinGW"; build_jpeg; }
have_minizip || { echo "Building minizip for MinGW"; build_minizip; }
have_lame || { echo "Building LAME for MinGW"; build_lame; }
have_lame_dll || { echo "Building the LAME DLL for MinGW"; build_lame_dll; }
have_licenses || install_licenses
