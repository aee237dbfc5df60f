#!/usr/bin/env bash
# Draws the demo folder's pictures with ImageMagick: the card pictures
# 1num.bmp ... 9num.bmp (a big white digit on a coloured square) and the
# reward picture bilder/stjarna.bmp (a yellow star on blue). The pictures are
# committed; run this only to draw them anew.
set -euo pipefail

demo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../demo" && pwd)
font=DejaVu-Sans-Bold
colours=(firebrick darkorange goldenrod forestgreen teal royalblue slateblue purple deeppink)

for n in 1 2 3 4 5 6 7 8 9; do
    convert -size 96x96 "xc:${colours[n - 1]}" -fill white -font "$font" -pointsize 80 \
        -gravity center -annotate +0+2 "$n" -colors 16 -type Palette "BMP3:$demo/${n}num.bmp"
done

mkdir -p "$demo/bilder"
# A five-pointed star: outer radius 44, inner radius 18, around (48,48).
points=$(awk 'BEGIN { pi = atan2(0, -1)
    for (i = 0; i < 10; i++) { r = (i % 2) ? 18 : 44; a = -pi / 2 + i * pi / 5
        printf "%.1f,%.1f ", 48 + r * cos(a), 48 + r * sin(a) } }')
convert -size 96x96 xc:midnightblue -fill gold -stroke orange -strokewidth 2 \
    -draw "polygon $points" -colors 16 -type Palette "BMP3:$demo/bilder/stjarna.bmp"
