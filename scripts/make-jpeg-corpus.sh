#!/usr/bin/env bash
# Makes the converter tests' pictures: JPEG files written by the reference
# encoders (libjpeg-turbo's cjpeg and ImageMagick) in the forms cameras, phones
# and editors write, and for each the bitmap libjpeg-turbo's djpeg decodes from
# it, turned upright by ImageMagick when the file carries an EXIF orientation.
# Every picture is drawn from fixed seeds, so every run makes the same files.
#   make-jpeg-corpus.sh <folder>
# writes <folder>/jpeg/NAME.jpg, <folder>/reference/NAME.bmp, and
# <folder>/picture/NAME.EXT (the other formats), and <folder>/other/ with
# pictures no converter is to accept.
set -euo pipefail
source "$(dirname "$0")/jpeg-exif.sh"
out=${1:?usage: make-jpeg-corpus.sh <folder>}
rm -rf "$out"
mkdir -p "$out/jpeg" "$out/reference" "$out/other" "$out/work"
work=$out/work

# The scene every picture is cut from, drawn as photographs are: the detail
# in the brightness, the colour changing slowly. Colour that changes from one
# pixel to the next is where two correct decoders differ most, since each
# fills in subsampled colour its own way (libjpeg 9, inside Wine's imaging
# component, by scaled inverse DCT; libjpeg-turbo by a triangle filter).
# The scene has no symmetry, so a picture turned the wrong way cannot match.
convert \( -size 1203x517 gradient:'#d8a040'-'#3060c0' \) \
    \( -size 1203x517 -seed 1971 plasma:fractal -colorspace gray -blur 0x0.5 \) \
    -compose luminize -composite \
    -fill '#f0f0f0' -draw 'circle 900,130 960,130' -fill '#203050' -draw 'rectangle 0,400 380,516' \
    "PPM:$work/bands.ppm"

# picture <name> <width> <height>: a cut of the scene, in work/NAME.ppm.
picture() {
    convert "$work/bands.ppm" -crop "$2x$3+437+211" +repage "PPM:$work/$1.ppm"
}

# reference <name> [ImageMagick operations]: what djpeg decodes, turned by the
# operations, as a 24-bit bottom-up bitmap.
reference() {
    local name=$1
    shift
    djpeg -ppm "$out/jpeg/$name.jpg" | convert - "$@" -type TrueColor "BMP3:$out/reference/$name.bmp"
}

cjpeg_to() {
    local name=$1 source=$2
    shift 2
    cjpeg "$@" -outfile "$out/jpeg/$name.jpg" "$work/$source.ppm"
    reference "$name"
}

picture scene 320 240
picture small 17 9

# Chroma sampling, scan structure and restart markers, as cjpeg writes them.
cjpeg_to baseline-420 scene -quality 85 -sample 2x2
cjpeg_to baseline-422 scene -quality 85 -sample 2x1
cjpeg_to baseline-444 scene -quality 92 -sample 1x1
cjpeg_to baseline-440 scene -quality 85 -sample 1x2
cjpeg_to optimized-420 scene -quality 75 -optimize
cjpeg_to progressive-420 scene -quality 85 -progressive
cjpeg_to progressive-444 scene -quality 92 -sample 1x1 -progressive
cjpeg_to grayscale scene -quality 85 -grayscale
cjpeg_to grayscale-progressive scene -quality 85 -grayscale -progressive
cjpeg_to restart-every-row scene -quality 85 -restart 1
cjpeg_to restart-every-3-blocks scene -quality 85 -restart 3B
# Several bands of rows in every orientation (see write_upright.cpp).
cjpeg_to bands-420 bands -quality 85
cjpeg_to bands-grayscale bands -quality 85 -grayscale
# Larger than the 1024 x 768 of Wine's display without a screen, for the
# pictures scaled down to the desktop.
convert "$work/bands.ppm" -resize 2400x1600! "PPM:$work/large.ppm"
cjpeg_to large-420 large -quality 85

# Sizes: a single pixel, widths that are no multiple of 4 (padded rows) or of
# the 8 or 16 pixel block, one-pixel rows and columns.
for size in 1x1 17x9 13x7 1x31 31x1 255x3 333x250; do
    picture "size-$size" "${size%x*}" "${size#*x}"
    cjpeg_to "size-$size" "size-$size" -quality 85
    cjpeg_to "size-$size-444" "size-$size" -quality 85 -sample 1x1
done

# ImageMagick, as image editors write: its own tables and sampling.
convert "$work/scene.ppm" -quality 88 -sampling-factor 2x2 "$out/jpeg/imagemagick-420.jpg"
reference imagemagick-420
convert "$work/scene.ppm" -quality 88 -interlace JPEG "$out/jpeg/imagemagick-progressive.jpg"
reference imagemagick-progressive
# Four-component files as print work flows write them: ImageMagick writes CMYK
# as YCCK (Adobe transform 2). A plain CMYK file (transform 0) is the same
# file marked as untransformed: its components are then read as C, M, Y and K
# as they stand, an odd-looking but valid picture every decoder reads alike.
convert "$work/scene.ppm" -colorspace CMYK -quality 90 "$out/jpeg/ycck.jpg"
reference ycck
adobe=$(LC_ALL=C grep -obUaP '\xff\xee\x00\x0eAdobe' "$out/jpeg/ycck.jpg" | head -1 | cut -d: -f1)
[ -n "$adobe" ] || { echo "make-jpeg-corpus: ImageMagick wrote no Adobe segment" >&2; exit 1; }
transform=$((adobe + 15))
[ "$(od -An -tu1 -j "$transform" -N1 "$out/jpeg/ycck.jpg" | tr -d ' ')" = 2 ] ||
    { echo "make-jpeg-corpus: ImageMagick's CMYK file is not YCCK" >&2; exit 1; }
cp "$out/jpeg/ycck.jpg" "$out/jpeg/cmyk.jpg"
printf '\x00' | dd of="$out/jpeg/cmyk.jpg" bs=1 seek="$transform" conv=notrunc status=none
reference cmyk

# Each EXIF orientation, both byte orders, both places the segment is found.
turn=([1]="" [2]="-flop" [3]="-rotate 180" [4]="-flip" [5]="-transpose" [6]="-rotate 90" [7]="-transverse" [8]="-rotate 270")
cjpeg -quality 90 -outfile "$work/small.jpg" "$work/small.ppm"
cjpeg -quality 85 -outfile "$work/bands.jpg" "$work/bands.ppm"
for orientation in 1 2 3 4 5 6 7 8; do
    if [ $((orientation % 2)) -eq 0 ]; then order=MM place=first; else order=II place=after-jfif; fi
    for base in small bands; do
        name=orientation-$orientation-$base
        tag_orientation "$work/$base.jpg" "$out/jpeg/$name.jpg" "$orientation" "$order" "$place"
        # shellcheck disable=SC2086 # the operations are words
        reference "$name" ${turn[$orientation]}
        # ImageMagick reads the tag itself: the table above must agree with it.
        convert "$out/jpeg/$name.jpg" -auto-orient -type TrueColor "BMP3:$work/auto.bmp"
        psnr=$(compare -metric PSNR "$out/reference/$name.bmp" "$work/auto.bmp" null: 2>&1 || true)
        case $psnr in
        inf | [5-9][0-9]* | [1-9][0-9][0-9]*) ;;
        *) echo "make-jpeg-corpus: $name: ImageMagick turns it otherwise (PSNR $psnr)" >&2; exit 1 ;;
        esac
    done
done

# Scaled down by area averaging (ImageMagick's -scale), as the converter
# scales a picture for a smaller screen: scaled/NAME-WxH.bmp, turned upright
# first where the file says so.
mkdir -p "$out/scaled"
djpeg -ppm "$out/jpeg/large-420.jpg" | convert - -scale 1152x768! -type TrueColor "BMP3:$out/scaled/large-420-1152x768.bmp"
djpeg -ppm "$out/jpeg/orientation-6-bands.jpg" | convert - -rotate 90 -scale 300x699! -type TrueColor \
    "BMP3:$out/scaled/orientation-6-bands-300x699.bmp"

# The other formats, as editors and cameras write them, in picture/NAME.EXT,
# each with ImageMagick's decoding of it in reference/NAME.bmp, blended over
# the desktop colour the tests set (Windows' classic blue) as the converter
# blends transparent pixels.
desktop='#3A6EA5'
# A cut of the scene whose opacity falls from left to right, with a hole.
convert "$work/scene.ppm" \( -size 320x240 gradient:white-black -rotate 90 \
    -fill black -draw 'circle 200,120 230,120' \) -alpha off -compose copy_opacity -composite "PNG32:$work/clear.png"
# other <name.ext> <ImageMagick output> [operations before the output]
other() {
    local file=$1 output=$2
    shift 2
    convert "$@" "$output"
    convert "$out/picture/$file" -auto-orient -colorspace sRGB -background "$desktop" -flatten -type TrueColor \
        "BMP3:$out/reference/${file%.*}.bmp"
}
mkdir -p "$out/picture"
other png-rgb.png "PNG24:$out/picture/png-rgb.png" "$work/scene.ppm"
other png-rgba.png "PNG32:$out/picture/png-rgba.png" "$work/clear.png"
other png-gray-alpha.png "PNG:$out/picture/png-gray-alpha.png" "$work/clear.png" -colorspace gray \
    -define png:color-type=4
other png-16-bit.png "PNG64:$out/picture/png-16-bit.png" "$work/clear.png" -depth 16
other png-palette.png "PNG8:$out/picture/png-palette.png" "$work/clear.png" -channel A -threshold 50% +channel \
    -colors 64
other png-interlaced.png "PNG24:$out/picture/png-interlaced.png" "$work/scene.ppm" -interlace PNG
other png-1-bit.png "PNG:$out/picture/png-1-bit.png" "$work/scene.ppm" -monochrome
# Two frames, the first smaller than the logical screen and set off in it,
# with a transparent colour: the converter takes the first frame only.
other gif-frames.gif "$out/picture/gif-frames.gif" \( "$work/clear.png" -crop 200x150+20+30 +repage \
    -channel A -threshold 50% +channel -set page 320x240+60+40 \) \( "$work/scene.ppm" -set page +0+0 \)
# ImageMagick flattens every frame of the GIF: its reference is the first.
convert "$out/picture/gif-frames.gif[0]" -background "$desktop" -flatten -type TrueColor \
    "BMP3:$out/reference/gif-frames.bmp"
other tiff-lzw-turned.tif "TIFF:$out/picture/tiff-lzw-turned.tif" "$work/scene.ppm" -compress LZW \
    -orient RightTop
other tiff-palette.tiff "TIFF:$out/picture/tiff-palette.tiff" "$work/scene.ppm" -colors 200 -type Palette
# A palette picture whose pixels name colours beyond its two-colour palette:
# valid in every other way, so only a look at the pixels can refuse it.
python3 - "$out/other/palette-beyond.png" <<'PYTHON'
import struct, sys, zlib
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
rows = b"".join(b"\0" + bytes([0, 1, 5, 7]) for _ in range(4))
with open(sys.argv[1], "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 4, 4, 8, 3, 0, 0, 0)) +
            chunk(b"PLTE", bytes([255, 0, 0, 0, 0, 255])) + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
PYTHON
# A format whose codec Windows adds from Microsoft's store, and Wine has not.
convert "$work/scene.ppm" -quality 80 "WEBP:$out/other/scene.webp"
# Content, not name, tells the format.
cp "$out/jpeg/baseline-420.jpg" "$out/picture/jpeg-named.png"
cp "$out/reference/baseline-420.bmp" "$out/reference/jpeg-named.bmp"
convert "$out/reference/png-rgba.bmp" -scale 160x120! -type TrueColor "BMP3:$out/scaled/png-rgba-160x120.bmp"

rm -rf "$work"
echo "make-jpeg-corpus: $(ls "$out/jpeg" "$out/picture" | wc -l) pictures and their references in $out"
