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

# For the stand-ins of Windows' own decoders (tests/codec_standins), in
# standin/. Camera photos larger than a screen, which Windows' JPEG decoder
# scales by halves while decoding, each with ImageMagick's area average of
# djpeg's decoding at the size a Fill desktop needs, in scaled/:
# 6000 x 4000 for 1920 x 1080, 4000 x 2250 for 1024 x 768, and that photo
# held on its side (EXIF 6); and one smaller than 1920 x 1080, kept whole.
# Their grain is about a pixel of the scaled picture, so a picture scaled a
# pixel off scores below the tests' 35 dB.
mkdir -p "$out/standin"
convert \( -size 1500x1000 gradient:'#d8a040'-'#3060c0' \) \
    \( -size 1500x1000 -seed 2024 plasma:fractal -colorspace gray -attenuate 0.5 +noise Gaussian \) \
    -compose luminize -composite -fill '#f0f0f0' -draw 'circle 1100,260 1160,260' \
    -fill '#203050' -draw 'rectangle 0,700 500,999' "PPM:$work/photo.ppm"
# photo <name> <width> <height>: the photo at that size, in standin/NAME.jpg.
photo() {
    convert "$work/photo.ppm" -resize "$2x$3!" "PPM:$work/$1.ppm"
    cjpeg -quality 88 -outfile "$out/standin/$1.jpg" "$work/$1.ppm"
}
photo photo-6000x4000 6000 4000
photo photo-4000x2250 4000 2250
photo photo-800x600 800 600
tag_orientation "$out/standin/photo-4000x2250.jpg" "$out/standin/photo-4000x2250-turned.jpg" 6 MM first
djpeg -ppm "$out/standin/photo-6000x4000.jpg" | convert - -scale 1920x1280! -type TrueColor \
    "BMP3:$out/scaled/photo-6000x4000-1920x1280.bmp"
djpeg -ppm "$out/standin/photo-4000x2250.jpg" | convert - -scale 1366x768! -type TrueColor \
    "BMP3:$out/scaled/photo-4000x2250-1366x768.bmp"
djpeg -ppm "$out/standin/photo-4000x2250-turned.jpg" | convert - -rotate 90 -scale 1024x1821! -type TrueColor \
    "BMP3:$out/scaled/photo-4000x2250-turned-1024x1821.bmp"
djpeg -ppm "$out/standin/photo-800x600.jpg" | convert - -type TrueColor "BMP3:$out/scaled/photo-800x600-800x600.bmp"

# WebP, HEIC and AVIF files for the stand-ins of Microsoft's decoders: a real
# RIFF "WEBP" container (opening with the VP8X chunk of the extended format)
# or ISO-BMFF boxes ("ftyp" of brand heic or avif), with a chunk or box of
# the stand-ins' own that carries a PNG and the orientation the decoder is to
# report (its VARTYPE, VT_UI2 18 or VT_UI4 19 or VT_EMPTY 0, and its value).
# standin/KIND-ORIENTATION.EXT holds the cut turned so that the orientation
# shows it upright; reference/KIND-ORIENTATION.bmp is ImageMagick's turn of
# that PNG. Orientations 0 and 9, a VT_UI4 value and none at all are shown as
# stored: their PNG is turned, their reference is not.
picture standin-cut 120 80
# container <name.ext> <vartype> <value> <png>
container() {
    python3 - "$out/standin/$1" "$2" "$3" "$4" <<'PYTHON'
import struct, sys
path, vartype, value, png = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), open(sys.argv[4], "rb").read()
payload = struct.pack("<HI", vartype, value) + png
if path.endswith(".webp"):
    def chunk(name, data):
        return name + struct.pack("<I", len(data)) + data + b"\0" * (len(data) % 2)
    width, height = struct.unpack(">II", png[16:24])
    vp8x = struct.pack("<I", 0) + (width - 1).to_bytes(3, "little") + (height - 1).to_bytes(3, "little")
    body = b"WEBP" + chunk(b"VP8X", vp8x) + chunk(b"VSTN", payload)
    data = b"RIFF" + struct.pack("<I", len(body)) + body
else:
    def box(kind, data):
        return struct.pack(">I", 8 + len(data)) + kind + data
    brand = b"avif" if path.endswith(".avif") else b"heic"
    uuid = bytes.fromhex("7a1c530e4b2d4f619e3a566973746e01")
    data = box(b"ftyp", brand + struct.pack(">I", 0) + b"mif1" + brand) + box(b"uuid", uuid + payload)
open(path, "wb").write(data)
PYTHON
}
# The cut stored so that orientation N shows it upright: the turn undone.
undo=([1]="" [3]="-rotate 180" [6]="-rotate 270" [8]="-rotate 90")
for orientation in 1 3 6 8; do
    # shellcheck disable=SC2086 # the operations are words
    convert "$work/standin-cut.ppm" ${undo[$orientation]} "PNG24:$work/stored-$orientation.png"
    for kind in webp:webp heic:heic avif:avif; do
        name=${kind%%:*}-$orientation
        container "$name.${kind#*:}" 18 "$orientation" "$work/stored-$orientation.png"
        # shellcheck disable=SC2086
        convert "$work/stored-$orientation.png" ${turn[$orientation]} -type TrueColor "BMP3:$out/reference/$name.bmp"
    done
done
container webp-0.webp 18 0 "$work/stored-6.png"
container heic-9.heic 18 9 "$work/stored-6.png"
container avif-ui4-6.avif 19 6 "$work/stored-6.png"
container webp-none.webp 0 0 "$work/stored-6.png"
for name in webp-0 heic-9 avif-ui4-6 webp-none; do
    convert "$work/stored-6.png" -type TrueColor "BMP3:$out/reference/$name.bmp"
done

rm -rf "$work"
echo "make-jpeg-corpus: $(ls "$out/jpeg" "$out/picture" | wc -l) pictures and their references in $out"
