#!/usr/bin/env bash
# Takes docs/screenshot-calibration.png and docs/screenshot-gsm.png under Xvfb.
# Usage: bash docs/take-screenshots.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cmake --build "$build" --target take_screenshots
xvfb-run -a -s "-screen 0 1024x768x24" "$build/app/qt/take_screenshots" docs
