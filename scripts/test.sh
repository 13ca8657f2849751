#!/usr/bin/env bash
# Builds and runs every test: the debug build, the same tests under AddressSanitizer
# and UBSan, then the further stages in scripts/test.d/ (fuzzing, the Windows build
# under wine, the package).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake --preset dev
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

for stage in scripts/test.d/*.sh; do
  [ -e "$stage" ] || continue
  echo "== ${stage##*/}"
  bash "$stage"
done
