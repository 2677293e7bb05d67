#!/usr/bin/env bash
# Renders the PNG icons from the SVG logo. Run it after changing the SVG and commit the PNGs
# with it: building and packaging then need no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages $ICON_PACKAGES
icons=data/icons/hicolor
for size in 48 128 256; do
    mkdir -p "$icons/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" -o "$icons/${size}x${size}/apps/org.vexorel.Vexorel.png" \
        "$icons/scalable/apps/org.vexorel.Vexorel.svg"
done
