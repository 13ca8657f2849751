#!/usr/bin/env bash
# Renders the PNG sizes and the Windows .ico from tachocalib.svg. The results are
# committed, so a build never needs a renderer; rerun this after editing the SVG.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
set -euo pipefail
cd "$(dirname "$0")"
sizes=(16 22 24 32 48 64 128 256)
for s in "${sizes[@]}"; do
  mkdir -p "hicolor/${s}x${s}/apps"
  rsvg-convert -w "$s" -h "$s" tachocalib.svg -o "hicolor/${s}x${s}/apps/tachocalib.png"
done
convert hicolor/{16x16,24x24,32x32,48x48,64x64,256x256}/apps/tachocalib.png tachocalib.ico
