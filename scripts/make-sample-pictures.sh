#!/usr/bin/env bash
# Draws Vistrane's sample pictures into a folder: small landscapes made with
# ImageMagick from fixed shapes and colours, so every build makes the same
# files. Half are classic 24-bit BMP files, half JPEGs for the converter.
# Also writes pictures.nsh there: the installer's list of them.
#   make-sample-pictures.sh <folder>
set -euo pipefail
out=${1:?usage: make-sample-pictures.sh <folder>}
mkdir -p "$out"
size=320x200
names=()

# name, sky top, sky bottom, sun or moon, land, far hills
scene() {
    local name=$1 top=$2 bottom=$3 sun=$4 land=$5 far=$6 format
    case $name in
        *.bmp) format=BMP3 ;;
        *.jpg) format=JPEG ;;
    esac
    convert -size "$size" "gradient:$top-$bottom" \
        -fill "$sun" -draw 'circle 250,55 272,55' \
        -fill "$far" -draw 'polygon 0,150 60,105 130,140 200,95 270,130 320,110 320,200 0,200' \
        -fill "$land" -draw 'polygon 0,200 0,165 90,140 170,170 250,150 320,175 320,200' \
        -strip -quality 92 "$format:$out/$name"
    names+=("$name")
}

scene "Dawn.bmp"   '#ffb07c' '#ffe4b5' '#fff4c2' '#3b5e2b' '#7a8f6a'
scene "Sea.jpg"    '#5fb4e8' '#d6f0ff' '#fffbe0' '#1f5f8b' '#3f88b5'
scene "Hills.bmp"  '#8fd3ff' '#e8f7ff' '#fff176' '#2e7d32' '#66a85a'
scene "Night.jpg"  '#0b1026' '#2b3a67' '#f0f0e0' '#101820' '#23304d'
scene "Dusk.bmp"   '#4a2a6b' '#f08a5d' '#ffd59e' '#2d1e3b' '#6b3f69'
scene "Meadow.jpg" '#a7e0ff' '#f4fbff' '#ffe66d' '#4caf50' '#8bc34a'

{
    echo "; The sample pictures, as made by make-sample-pictures.sh."
    echo "!macro SamplePictures Action"
    for name in "${names[@]}"; do
        echo "    !insertmacro \${Action} \"$name\""
    done
    echo "!macroend"
} >"$out/pictures.nsh"
