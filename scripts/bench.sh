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
