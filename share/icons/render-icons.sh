#!/usr/bin/env bash
# Renders the PNG sizes of the icon from its SVG (rsvg-convert, Debian package librsvg2-bin).
# The PNGs are committed, so the build needs no renderer; run this after changing the SVG.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
svg=$here/hicolor/scalable/apps/example.ostrel.PageHost.svg
for size in 16 32 48 64 128 256; do
    folder=$here/hicolor/${size}x${size}/apps
    mkdir -p "$folder"
    rsvg-convert --width "$size" --height "$size" --output "$folder/example.ostrel.PageHost.png" "$svg"
done
