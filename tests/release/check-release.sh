#!/usr/bin/env bash
# Builds the release files and checks them as a user would meet them: the
# portable zip unpacks into a program that starts (the end-to-end driver runs
# against the unpacked folder), and the installer installs silently under
# Wine with its Start-menu entry, files and version, and its uninstaller
# takes the program away but leaves the configuration.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=$root/build/release/out
rm -rf "$out"
mapfile -t files < <(bash scripts/make-release.sh "$out" | tail -2)
zip_file=${files[0]}
setup=${files[1]}
fail=0
check() {  # check <what> <command...>
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}
case $zip_file in *-dirty-portable.zip) echo "note: built from a changed tree: $zip_file";; esac

# The zip: every file a user needs, and the program starts from where it lies.
unpacked=$(mktemp -d "${TMPDIR:-/tmp}/zorv-release.XXXXXX")
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip_file" -d "$unpacked"
for f in ZorvPanel.exe Zorv.dll Help/zorv_e.html Help/zorv.html ZorvPanel.sample.ini Readme.txt \
         Licenses/Tango-icons.txt; do
  check "zip holds $f" test -f "$unpacked/ZorvPanel/$f"
done
version=$(basename "$zip_file" -portable.zip | sed 's/^ZorvPanel-//')
for f in ZorvPanel.exe Zorv.dll; do
  check "$f's file properties say $version" \
    bash -c "strings -el '$unpacked/ZorvPanel/$f' | grep -qxF '$version'"
done
cmake --build --preset win64 --target zorv_e2e_tests zorv_probe >/dev/null
export ZORV_WINEPREFIX=$root/build/win64/wineprefix
check "the unpacked program starts and draws its bar" env ZORV_DIST="Z:${unpacked//\//\\}\\ZorvPanel" \
  tests/e2e/wine-run.sh build/win64/e2e/zorv_e2e_tests.exe \
  --gtest_filter='BarDrawing.Cells*' --gtest_brief=1

# The installer: silent, per user, into a folder of the test's choice.
drive_c=$ZORV_WINEPREFIX/drive_c
target=$drive_c/ZorvInstallTest
rm -rf "$target"
tests/e2e/wine-run.sh "$setup" /S '/D=C:\ZorvInstallTest' >/dev/null 2>&1
for f in ZorvPanel.exe Zorv.dll Uninstall.exe Help/zorv_e.html Licenses/Tango-icons.txt; do
  check "installed $f" test -f "$target/$f"
done
start_menu=$(find "$drive_c/users" -path '*Start Menu/Programs/ZorvPanel/ZorvPanel.lnk' 2>/dev/null | head -1)
check "a Start-menu entry" test -n "$start_menu"
check "no Startup shortcut unless chosen" \
  bash -c "! find '$drive_c/users' -path '*Startup/ZorvPanel.lnk' | grep -q ."
printf '[Settings]\r\nAutoRed=1\r\n' > "$target/ZorvPanel.ini"
tests/e2e/wine-run.sh "$target/Uninstall.exe" /S '_?=C:\ZorvInstallTest' >/dev/null 2>&1
check "the uninstaller takes the program" test ! -e "$target/ZorvPanel.exe"
check "the uninstaller takes the Start-menu entry" test ! -e "$start_menu"
check "the uninstaller leaves the configuration" test -f "$target/ZorvPanel.ini"
rm -rf "$target"
exit $fail
