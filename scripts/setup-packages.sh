#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need, when any is missing.
# Packages named as arguments are wanted as well (make fuzz adds clang's).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config dpkg-dev
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  libgtest-dev googletest
  zlib1g-dev libminizip-dev libjpeg62-turbo-dev libmp3lame-dev
  libz-mingw-w64-dev
  wine wine64
  xvfb x11-utils x11-xserver-utils imagemagick fonts-liberation fonts-wine
  python3 python3-aiosmtpd curl openssl zip unzip
  espeak-ng sox mpg123 lame ffmpeg libjpeg-turbo-progs
  pulseaudio pulseaudio-utils
  cups ghostscript poppler-utils
  clang-format
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
