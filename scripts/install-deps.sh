#!/usr/bin/env bash
# Installs what building and testing ZorvPanel needs on Debian 12 / Ubuntu:
# native toolchain and test libraries, MinGW-w64, Wine and Xvfb.
# Installs only what is missing; needs root or sudo for that.
set -euo pipefail

packages=(cmake ninja-build g++ clang googletest libgtest-dev libbenchmark-dev
          g++-mingw-w64-x86-64 wine wine64 xvfb xdotool x11-utils imagemagick xclip
          zip unzip nsis)
# Sanitizer and libFuzzer runtimes of clang (a separate package on Debian 12).
optional=(libclang-rt-14-dev)

missing=()
for p in "${packages[@]}" "${optional[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
export DEBIAN_FRONTEND=noninteractive
required=()
for p in "${missing[@]}"; do
  [[ " ${optional[*]} " == *" $p "* ]] || required+=("$p")
done
[ ${#required[@]} -eq 0 ] || $sudo apt-get install -y -qq "${required[@]}" >/dev/null
for p in "${optional[@]}"; do
  [[ " ${missing[*]} " == *" $p "* ]] && { $sudo apt-get install -y -qq "$p" >/dev/null 2>&1 || echo "note: $p not available; fuzzers may not build"; }
done
exit 0
