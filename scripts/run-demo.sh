#!/usr/bin/env bash
# Builds ZorvPanel for Windows and starts it under Wine with the demo
# configuration in demo/. With an X display ($DISPLAY) the bar appears in a
# Wine virtual desktop window there; without one, a private Xvfb is used and
# a screenshot is written to build/win64/demo/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target ZorvPanel Zorv

demo=$root/build/win64/demo
rm -rf "$demo"
cp -r build/win64/dist "$demo"
cp demo/ZorvPanel.ini demo/Readme.txt "$demo/"

export WINEPREFIX=$root/build/win64/wineprefix-demo WINEDEBUG=-all
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && { wineserver -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true; }
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  fd=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fd" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$fd" ] && break; sleep 0.1; done
  export DISPLAY=:$(tr -dc '0-9' <"$fd")
  rm -f "$fd"
fi

if [ ! -f "$WINEPREFIX/.zorv-ready" ]; then
  echo "Creating the Wine prefix (once, about 15 s)..."
  rm -rf "$WINEPREFIX"
  timeout 180 wineboot -i >/dev/null 2>&1
  timeout 120 wineserver -w
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1
  timeout 120 wineserver -w
  touch "$WINEPREFIX/.zorv-ready"
fi

echo "Starting ZorvPanel (program folder $demo)"
wine "$demo/ZorvPanel.exe" &
pid=$!
for _ in $(seq 150); do
  xdotool search --name '^Zorv$' >/dev/null 2>&1 && break
  sleep 0.1
done
if [ -n "$xvfb_pid" ]; then
  # The demo bar reduces itself to its bottom line; rest the mouse on that
  # line so that the screenshot shows it restored.
  sleep 1
  xdotool mousemove 1100 0
  sleep 1.5
  import -window root "$demo/screenshot.png"
  echo "No display: screenshot of the Wine desktop in $demo/screenshot.png"
  kill "$pid" 2>/dev/null || true
else
  echo "The bar sits at the top right of the Wine desktop; it shrinks to a line when the"
  echo "mouse leaves it and comes back when the mouse rests on that line."
  echo "Close the desktop window or press Ctrl+C to end."
  wait "$pid" || true
fi
