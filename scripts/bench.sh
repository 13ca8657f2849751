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
