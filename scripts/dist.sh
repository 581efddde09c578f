#!/usr/bin/env bash
# Writes the Windows release, build/dist/Kestro-<version>-win64.zip, from the Windows build tree:
# one folder Kestro-<version>/ holding Kestro.exe, kto2mp3.exe with the LAME DLL it loads, the
# DOCS pages, README.txt for Windows users and, in licenses/, the licence texts of every
# library linked in. Unzipped anywhere, Kestro runs from that folder and keeps its files there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
bin="$root/build/win/bin"
version=$(head -n1 "$root/VERSION")
name="Kestro-$version"
out="$root/build/dist"
stage="$out/$name"
zip="$out/$name-win64.zip"
licenses="$root/.deps/mingw/share/licenses"
host=x86_64-w64-mingw32

rm -rf "$stage" "$zip"
mkdir -p "$stage/DOCS" "$stage/licenses"
for program in Kestro.exe kto2mp3.exe libmp3lame-0.dll; do
  # Symbols stripped; the version resources and the manifest stay.
  $host-strip -o "$stage/$program" "$bin/$program"
done
cp "$bin"/DOCS/* "$stage/DOCS/"
# Windows users read text files with CR LF line ends.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/dist/README.txt" >"$stage/README.txt"

# Licence texts: the libraries built from source, then the compiler's runtime and the MinGW-w64
# runtime, which are linked into both programs.
notice() { sed -e 's/\r$//' -e 's/$/\r/' "$1" >"$stage/licenses/$2"; }
notice "$licenses/lame/COPYING" LAME-COPYING.txt
notice "$licenses/lame/LICENSE" LAME-LICENSE.txt
notice "$licenses/libjpeg-turbo/LICENSE.md" libjpeg-turbo-LICENSE.txt
notice "$licenses/libjpeg-turbo/README.ijg" libjpeg-turbo-README.ijg.txt
notice "$licenses/zlib/LICENSE" zlib-LICENSE.txt
notice "$licenses/zlib/MiniZip64_info.txt" minizip-LICENSE.txt
notice /usr/share/doc/mingw-w64-common/copyright MinGW-w64-runtime-copyright.txt
notice /usr/share/doc/gcc-mingw-w64-base/copyright GCC-runtime-copyright.txt

# Stable timestamps and order, so that the same build gives the same archive.
find "$stage" -exec touch -d "@$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)" {} +
(cd "$out" && find "$name" -type f | LC_ALL=C sort | zip -q -X -D "$zip" -@)
echo "Wrote $zip"
unzip -l "$zip"
