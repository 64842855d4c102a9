#!/usr/bin/env bash
# Renders the program's icon from kavelin.svg at the sizes of the desktop's icon theme
# (needs rsvg-convert, Debian package librsvg2-bin). The PNGs are kept in the repository, so a
# build does not need the tool; run this again after changing the drawing.
set -eu
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" kavelin.svg --output "kavelin-$size.png"
done
