#!/usr/bin/env bash
# Renders the PNG sizes of the hicolor theme from pellmora.svg; run it after changing the drawing
# and commit the results, so that a build needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" pellmora.svg -o "pellmora-$size.png"
done
