#!/usr/bin/env bash
# Draws the demo folder's pictures with ImageMagick: the card pictures
# 1num.bmp ... 9num.bmp and the reward picture bilder/stjarna.bmp (a yellow
# star on blue). Each card picture is a numeral pictogram in high contrast:
# a big black digit on white, above as many red dots, inside a black frame.
# The pictures are committed (the package installs them as the default card
# pictures); run this only to draw them anew.
set -euo pipefail

demo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../demo" && pwd)
font=DejaVu-Sans-Bold

# dots N: the draw commands for N dots, five at most in a row, each row
# centred, below the digit.
dots() {
    awk -v n="$1" 'BEGIN { rows = (n > 5) ? 2 : 1; first = (n > 5) ? 5 : n
        for (i = 0; i < n; i++) {
            row = (i < first) ? 0 : 1; inrow = (row == 0) ? first : n - first
            col = (row == 0) ? i : i - first
            x = 48 + (col - (inrow - 1) / 2) * 16; y = (rows == 1) ? 76 : 70 + row * 14
            printf "circle %d,%d %d,%d ", x, y, x + 6, y }
    }'
}

for n in 1 2 3 4 5 6 7 8 9; do
    convert -size 96x96 xc:white -fill none -stroke black -strokewidth 4 \
        -draw "rectangle 2,2 93,93" -stroke none -fill black -font "$font" -pointsize 54 \
        -gravity north -annotate +0+4 "$n" -gravity none -fill '#c00000' -draw "$(dots "$n")" \
        -colors 16 -type Palette "BMP3:$demo/${n}num.bmp"
done

mkdir -p "$demo/bilder"
# A five-pointed star: outer radius 44, inner radius 18, around (48,48).
points=$(awk 'BEGIN { pi = atan2(0, -1)
    for (i = 0; i < 10; i++) { r = (i % 2) ? 18 : 44; a = -pi / 2 + i * pi / 5
        printf "%.1f,%.1f ", 48 + r * cos(a), 48 + r * sin(a) } }')
convert -size 96x96 xc:midnightblue -fill gold -stroke orange -strokewidth 2 \
    -draw "polygon $points" -colors 16 -type Palette "BMP3:$demo/bilder/stjarna.bmp"
