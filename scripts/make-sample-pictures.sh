#!/usr/bin/env bash
# Draws Vistrane's sample pictures into a folder: landscapes made with
# ImageMagick from fixed shapes and colours, so every build makes the same
# files. Half are classic 24-bit BMP files at 1920 x 1080, half pictures at
# 3840 x 2160 for the converter, two JPEGs and a PNG (smooth skies compress
# well in it): sharp when Windows fills a 4K screen with them. Every scene keeps its horizon and its sun or moon near the middle, so
# the part a smaller screen shows of a centred picture is a landscape too.
# Also writes pictures.nsh there: the installer's list of them.
#   make-sample-pictures.sh <folder>
set -euo pipefail
out=${1:?usage: make-sample-pictures.sh <folder>}
mkdir -p "$out"
names=()

# ridge <width> <height> <level> <height of the hills> <number>: the points of
# a polygon from the left edge to the right along a line of gentle hills
# (three waves summed), closed along the picture's bottom. Level and height
# are fractions of the picture's height; each number gives other hills.
ridge() {
    awk -v w="$1" -v h="$2" -v level="$3" -v rise="$4" -v number="$5" 'BEGIN {
        pi = 3.14159265358979
        phase = number * 0.618034 - int(number * 0.618034)
        steps = 160
        for (i = 0; i <= steps; i++) {
            t = i / steps
            wave = 0.6 * sin(2 * pi * (1.3 * t + phase)) + 0.3 * sin(2 * pi * (3.1 * t + 2 * phase)) \
                 + 0.1 * sin(2 * pi * (7.7 * t + 3 * phase))
            printf "%.1f,%.1f ", t * w, h * (level - rise * wave)
        }
        printf "%d,%d 0,%d", w, h, h
    }'
}

# stars <width> <height>: small points of light in the upper sky, placed by a
# fixed sequence of pseudo-random numbers, as ImageMagick draw primitives.
stars() {
    awk -v w="$1" -v h="$2" 'BEGIN {
        seed = 20240601
        for (i = 0; i < 220; i++) {
            seed = (seed * 1103515245 + 12345) % 2147483648; x = seed / 2147483648 * w
            seed = (seed * 1103515245 + 12345) % 2147483648; y = (seed / 2147483648) ^ 1.6 * h * 0.55
            seed = (seed * 1103515245 + 12345) % 2147483648; r = (0.4 + seed / 2147483648) * w / 1920
            printf "fill-opacity %.2f circle %.1f,%.1f %.1f,%.1f ", 0.35 + 0.65 * (i % 5) / 4, x, y, x + r, y
        }
    }'
}

# scene <name> <kind> <sky top> <sky bottom> <sun or moon> <glow> <far hills> <land>
# kind: hills, sea (the land is water that mirrors the sun) or night (stars).
scene() {
    local name=$1 kind=$2 top=$3 bottom=$4 sun=$5 glow=$6 far=$7 land=$8
    local format width height
    case $name in
        *.bmp) format=BMP3 width=1920 height=1080 ;;
        *.jpg) format=JPEG width=3840 height=2160 ;;
        *.png) format=PNG24 width=3840 height=2160 ;;
    esac
    # The sun sits right of the middle, well inside the centre quarter.
    local sun_x=$((width * 58 / 100)) sun_y=$((height * 40 / 100)) sun_r=$((height * 6 / 100))
    local glow_size=$((sun_r * 9))
    local sky=() ground=()
    if [ "$kind" = night ]; then
        sky=(-fill white -draw "$(stars "$width" "$height")")
    fi
    if [ "$kind" = sea ]; then
        # Open water from the horizon down, mirroring the sky far off, with
        # the sun's path across it: glints that widen and part as they come
        # nearer.
        local horizon=$((height * 62 / 100)) path="" glint
        for glint in $(seq 0 17); do
            local y=$((horizon + height / 150 + glint * glint * height / 900))
            local half=$((sun_r * (3 + glint) * (3 + (glint * 7) % 5) / 40))
            local shift=$(( (glint % 3 - 1) * sun_r / 4 ))
            path+="ellipse $((sun_x + shift)),$y $half,$((height / 600 + glint / 2)) 0,360 "
        done
        ground=(\( -size "${width}x$((height - horizon))" "gradient:$bottom-$land" \)
                -geometry "+0+$horizon" -composite
                -fill "$sun" -draw "fill-opacity 0.6 $path")
    else
        ground=(-fill "$land" -draw "polygon $(ridge "$width" "$height" 0.70 0.05 $((2 * ${#names[@]} + 2)))")
    fi
    convert -size "${width}x${height}" "gradient:$top-$bottom" \
        \( -size "${glow_size}x${glow_size}" "radial-gradient:$glow-rgba(0,0,0,0)" \) \
        -geometry "+$((sun_x - glow_size / 2))+$((sun_y - glow_size / 2))" -composite \
        "${sky[@]}" \
        -fill "$sun" -draw "circle $sun_x,$sun_y $((sun_x + sun_r)),$sun_y" \
        -fill "$far" -draw "polygon $(ridge "$width" "$height" 0.58 0.05 $((2 * ${#names[@]} + 1)))" \
        "${ground[@]}" \
        -strip -sampling-factor 2x2 -quality 90 "$format:$out/$name"
    names+=("$name")
}

scene "Dawn.bmp"   hills '#ffb07c' '#ffe4b5' '#fff4c2' 'rgba(255,236,190,0.75)' '#7a8f6a' '#3b5e2b'
scene "Sea.jpg"    sea   '#5fb4e8' '#d6f0ff' '#fffbe0' 'rgba(255,252,225,0.70)' '#3f88b5' '#1f5f8b'
scene "Hills.bmp"  hills '#8fd3ff' '#e8f7ff' '#fff176' 'rgba(255,246,150,0.60)' '#66a85a' '#2e7d32'
scene "Night.jpg"  night '#0b1026' '#2b3a67' '#f0f0e0' 'rgba(220,226,255,0.35)' '#23304d' '#101820'
scene "Dusk.bmp"   hills '#4a2a6b' '#f08a5d' '#ffd59e' 'rgba(255,200,140,0.70)' '#6b3f69' '#2d1e3b'
scene "Meadow.png" hills '#a7e0ff' '#f4fbff' '#ffe66d' 'rgba(255,240,140,0.60)' '#8bc34a' '#4caf50'

{
    echo "; The sample pictures, as made by make-sample-pictures.sh."
    echo "!macro SamplePictures Action"
    for name in "${names[@]}"; do
        echo "    !insertmacro \${Action} \"$name\""
    done
    echo "!macroend"
} >"$out/pictures.nsh"
