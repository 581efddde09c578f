#!/usr/bin/env bash
# Configures (once) and builds the native tree (core and unit tests, with the sanitizers) and
# the Windows tree (Kestro.exe, kto2mp3.exe and the Windows tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

if [[ ! -f build/native/build.ninja ]]; then
  cmake -S . -B build/native -G Ninja >/dev/null
fi
if [[ ! -f build/win/build.ninja ]]; then
  cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
fi
cmake --build build/native -j "$jobs" | grep -v '^\[' || true
cmake --build build/win -j "$jobs" | grep -v '^\[' || true
# Fail when either build failed (grep above hides only the progress lines).
cmake --build build/native -j "$jobs" >/dev/null
cmake --build build/win -j "$jobs" >/dev/null
