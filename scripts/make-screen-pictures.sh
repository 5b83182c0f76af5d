#!/usr/bin/env bash
# Makes the pictures the tests under several monitors put on them: four
# camera-sized photographs, each of its own colours, larger than every
# monitor in both axes, and for each monitor size what Fill shows of each:
# djpeg's decoding, area-averaged to the smallest size that covers the
# monitor and cut to it around the middle.
#   make-screen-pictures.sh <folder> <WxH>...
# writes <folder>/NAME.jpg and <folder>/NAME-WxH.bmp.
set -euo pipefail
out=${1:?usage: make-screen-pictures.sh <folder> <WxH>...}
shift
rm -rf "$out"
mkdir -p "$out"

colours=("#d8a040 #3060c0" "#40b060 #a02040" "#e0e0e0 #202020" "#8040c0 #e0c020")
for i in "${!colours[@]}"; do
    read -r from to <<<"${colours[$i]}"
    convert \( -size 900x600 gradient:"$from"-"$to" -resize 3600x2400! \) \
        \( -size 900x600 -seed $((40 + i)) plasma:fractal -colorspace gray -resize 3600x2400! \) \
        -compose luminize -composite PPM:- | cjpeg -quality 90 -outfile "$out/photo-$i.jpg"
    for size in "$@"; do
        djpeg -ppm "$out/photo-$i.jpg" | convert - -scale "$size^" -gravity center -extent "$size" \
            -type TrueColor "BMP3:$out/photo-$i-$size.bmp"
    done
done
