#!/usr/bin/env bash
# Builds the release files into release/ (or the folder given):
#   ZorvPanel-<version>-portable.zip  the program folder, ready to unpack and run
#   ZorvPanel-<version>-setup.exe     the installer (NSIS)
# The version is the project's, followed by "+g<commit>" and "-dirty" when the
# tree has changes nobody committed, so such a build says what it is.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$(realpath -m "${1:-release}")

bash scripts/install-deps.sh
base=$(sed -n 's/^project(ZorvPanel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
version=$base
if commit=$(git rev-parse --short HEAD 2>/dev/null); then
  version="$base+g$commit"
  [ -z "$(git status --porcelain 2>/dev/null)" ] || version="$version-dirty"
fi

build=$root/build/release
cmake --preset win64 -B "$build" -DCMAKE_BUILD_TYPE=Release -DZORV_VERSION_TEXT="$version" >/dev/null
cmake --build "$build" --target ZorvPanel Zorv

stage=$build/stage/ZorvPanel
rm -rf "$build/stage" && mkdir -p "$stage/Icons" "$stage/Licenses"
cp "$build/dist/ZorvPanel.exe" "$build/dist/Zorv.dll" "$stage/"
cp -r "$build/dist/Help" "$stage/Help"
cp demo/ZorvPanel.ini "$stage/ZorvPanel.sample.ini"
cat > "$stage/Readme.txt" <<TEXT
ZorvPanel $version

Start ZorvPanel.exe. Its configuration is ZorvPanel.ini beside it (or in
%AppData%\\Zorv); ZorvPanel.sample.ini shows a small one. Help\\zorv_e.html
(English) and Help\\zorv.html (German) describe the program.
TEXT
cp installer/Licenses/*.txt "$stage/Licenses/"
for doc in gcc-mingw-w64-base mingw-w64-common; do
  [ -f "/usr/share/doc/$doc/copyright" ] && cp "/usr/share/doc/$doc/copyright" "$stage/Licenses/$doc.txt"
done

mkdir -p "$out"
zip_file=$out/ZorvPanel-$version-portable.zip
rm -f "$zip_file"
(cd "$build/stage" && zip -qr "$zip_file" ZorvPanel)
setup=$out/ZorvPanel-$version-setup.exe
makensis -V2 -DVERSION="$version" -DFILEVERSION="$base.0" -DSTAGE="$stage" \
  -DOUTFILE="$setup" installer/zorvpanel.nsi
echo "$zip_file"
echo "$setup"
