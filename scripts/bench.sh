#!/usr/bin/env bash
# Builds the release preset and runs every benchmark program, which print their
# figures. Add a benchmark by adding its target to the list below.
set -euo pipefail
cd "$(dirname "$0")/.."

benchmarks=(bench_link)

cmake --preset release
cmake --build --preset release -j 2 --target "${benchmarks[@]}"
for b in "${benchmarks[@]}"; do
  echo "== $b"
  "build/release/tools/$b"
done

# The window's thread during a command: its longest time without handling an event.
cmake --build --preset release -j 2 --target bench_responsiveness
echo "== bench_responsiveness (offscreen)"
QT_QPA_PLATFORM=offscreen build/release/app/qt/bench_responsiveness
QT_QPA_PLATFORM=offscreen build/release/app/qt/bench_responsiveness --close-during-search

# The window's start-up: process start to window shown, and peak memory.
cmake --build --preset release -j 2 --target bench_startup
echo "== bench_startup (offscreen)"
QT_QPA_PLATFORM=offscreen build/release/app/qt/bench_startup
if command -v xvfb-run >/dev/null; then
  echo "== bench_startup (Xvfb)"
  xvfb-run -a -s "-screen 0 1024x768x24" build/release/app/qt/bench_startup
fi

# The Win32 tool (Windows build, under wine on Xvfb): program file size, process
# start to window shown, peak memory.
if command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null && command -v xvfb-run >/dev/null; then
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw -j 2 --target Tachocalib bench_startup_win32
  echo "== bench_startup_win32 (wine, Xvfb)"
  TACHO_UNDER_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    export WINEPREFIX="$PWD/build/mingw/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    wine=$(command -v wine64 || true); [ -n "$wine" ] || wine=/usr/lib/wine/wine64
    winelog="$PWD/build/mingw/wine-stderr.log"
    source scripts/wine-prefix.sh
    wine_prefix_ready 96 >/dev/null
    # The first start warms wine up; the figures of the second count.
    "$wine" build/mingw/app/win32/bench_startup_win32.exe >/dev/null 2>>"$winelog"
    "$wine" build/mingw/app/win32/bench_startup_win32.exe build/mingw/app/win32/Tachocalib.exe 2>>"$winelog"
    wineserver -k 2>/dev/null || true'
  echo "Tachocalib.exe imports: $(x86_64-w64-mingw32-objdump -p build/mingw/app/win32/Tachocalib.exe | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
fi
