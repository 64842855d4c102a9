#!/usr/bin/env bash
# Draws the listing's three 16x16 icons (a page, a folder, an up arrow) with ImageMagick and
# writes them, base64-encoded, into the listing template's style sheet.
set -eu
cd "$(dirname "$0")"
common=(-define png:exclude-chunks=date,time -strip)

# A page: white sheet, grey outline, folded top-right corner.
convert -size 16x16 xc:none -stroke '#6b6b6b' -fill white \
  -draw 'polygon 3,1 10,1 13,4 13,14 3,14' \
  -fill '#d8d8d8' -draw 'polygon 10,1 10,4 13,4' \
  -stroke '#9a9a9a' -draw 'line 5,7 11,7' -draw 'line 5,9 11,9' -draw 'line 5,11 9,11' \
  "${common[@]}" icon-file.png

# A folder: amber body with a tab.
convert -size 16x16 xc:none -stroke '#a87a12' -fill '#f2c94c' \
  -draw 'polygon 1,3 6,3 7,5 14,5 14,13 1,13' \
  -fill '#f7dc85' -draw 'polygon 1,7 14,7 14,13 1,13' \
  "${common[@]}" icon-dir.png

# An up arrow: green head and shaft.
convert -size 16x16 xc:none -stroke '#2f7d32' -fill '#5cb85c' \
  -draw 'polygon 8,1 14,8 10,8 10,14 6,14 6,8 2,8' \
  "${common[@]}" icon-up.png

for kind in file dir up; do
  data=$(base64 -w0 "icon-$kind.png")
  sed -i -E "s#(/\\* icon-$kind \\*/ background-image: url\\(\"data:image/png;base64,)[A-Za-z0-9+/=]*#\\1$data#" ceffileschemedir.html
done
