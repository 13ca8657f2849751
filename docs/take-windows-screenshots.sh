#!/usr/bin/env bash
# Takes docs/screenshot-windows-calibration.png and docs/screenshot-windows-gsm.png:
# the Win32 window of the Windows build, under wine on a virtual X display.
# Usage: bash docs/take-windows-screenshots.sh   (builds the mingw preset first)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${TACHO_UNDER_XVFB:-}" ]; then
  exec env TACHO_UNDER_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
build=build/mingw
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target show_page_win32
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
winelog="$PWD/$build/wine-stderr.log"
source scripts/wine-prefix.sh
wine_prefix_ready 96

shot() {  # page, output file
  local out="$build/show-page.out" pid geometry
  "$wine" "$build/app/win32/show_page_win32.exe" "$1" >"$out" 2>>"$winelog" &
  pid=$!
  for _ in $(seq 200); do
    geometry=$(sed -n 's/^CLIENT //p' "$out" | head -n 1)
    [ -n "$geometry" ] && break
    sleep 0.1
  done
  [ -n "$geometry" ] || { kill "$pid"; echo "the window did not show"; return 1; }
  sleep 1  # the X server has drawn what wine sent
  read -r x y w h <<<"$geometry"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$2: ${w}x${h}"
}
shot 0 docs/screenshot-windows-calibration.png
shot 1 docs/screenshot-windows-gsm.png
wineserver -k 2>/dev/null || true
