#!/usr/bin/env bash
# The converter against libjpeg-turbo's djpeg on the same 24-megapixel
# picture, made here: median wall times, their ratio, and the converter's
# peak memory against the size of the bitmap it writes, for the picture
# stored upright and stored on its side. Each converter run is a process of
# its own, as at logon, alternating with djpeg's runs so all meet the same
# machine. The scaled conversion also through the tests' stand-in for Windows'
# JPEG decoder, which scales while decoding. Then a PNG and a TIFF, each
# against a bare decode of it by the imaging component. Run by
# scripts/bench.sh inside its Wine prefix.
#   RUNS   runs of each (default 7)
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
source "$(dirname "$0")/jpeg-exif.sh"
# The prefix and wineserver scripts/bench.sh made and keeps running.
export WINEPREFIX=$BUILD_DIR/bench/wineprefix
runs=${RUNS:-7}
work=$BUILD_DIR/bench/converter
bench=$BUILD_DIR/tests/bench/converter_bench.exe
mkdir -p "$work"

# A camera-sized photograph: 6000 x 4000, detail and sensor noise in the
# brightness, slowly changing colour, quality 92 (about 9 MB), as cameras
# write them. Made once per build folder.
photo=$work/photo-24mp.jpg
if [ ! -s "$photo" ]; then
    echo "   making the 24-megapixel picture"
    convert \( -size 1500x1000 gradient:'#d8a040'-'#3060c0' -resize 6000x4000! \) \
        \( -size 3000x2000 -seed 24 plasma:fractal -colorspace gray -resize 6000x4000! \
        -attenuate 0.4 +noise Gaussian \) -compose luminize -composite PPM:"$work/photo.ppm"
    cjpeg -quality 92 -outfile "$photo" "$work/photo.ppm"
    rm -f "$work/photo.ppm"
fi
# The same file as a phone writes it held on its side: EXIF orientation 6.
turned=$work/photo-24mp-turned.jpg
tag_orientation "$photo" "$turned" 6 MM first
warm_up=$work/warm-up.jpg
convert -size 64x48 gradient:red-blue "$warm_up"

now_ms() { date +%s%N | awk '{ printf "%.1f", $1 / 1000000 }'; }
field() { awk -v key="$1" '{ for (i = 1; i <= NF; i++) { split($i, pair, "="); if (pair[1] == key) print pair[2] } }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# "lowest-highest": how far the runs spread around their median.
spread() { sort -n | awk 'NR == 1 { low = $1 } { high = $1 } END { printf "%.0f-%.0f", low, high }'; }

# The bitmaps go where the converter's go in use: onto the system's own disk,
# the prefix's C: drive (in an emulated machine, its memory), not the build
# folder, which such a machine reaches through a much slower shared folder.
out=$WINEPREFIX/drive_c/bench
mkdir -p "$out"

djpeg_times=() ours=() turned_runs=() scaled=() turned_scaled=() standin_full=() standin_scaled=()
# The stand-in logs the sizes it is asked to decode at, here for the first run.
standin_log=$work/standin.log
rm -f "$standin_log"
for run in $(seq "$runs"); do
    start=$(now_ms)
    djpeg -bmp -outfile "$out/djpeg.bmp" "$photo"
    end=$(now_ms)
    djpeg_times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')")
    ours+=("$(wine "$bench" "$(wine_path "$warm_up")" "$(wine_path "$photo")" "$(wine_path "$out/ours.bmp")")")
    turned_runs+=("$(wine "$bench" "$(wine_path "$warm_up")" "$(wine_path "$turned")" "$(wine_path "$out/turned.bmp")")")
    # For a 1920 x 1080 screen whose style is Fill (a cover, fit 0).
    scaled+=("$(wine "$bench" "$(wine_path "$warm_up")" "$(wine_path "$photo")" "$(wine_path "$out/scaled.bmp")" 1920 1080 0)")
    turned_scaled+=("$(wine "$bench" "$(wine_path "$warm_up")" "$(wine_path "$turned")" "$(wine_path "$out/scaled.bmp")" 1920 1080 0)")
    # Through the tests' stand-in for Windows' JPEG decoder, which scales
    # while decoding: at full size, and scaled for the same screen.
    standin_full+=("$(wine "$bench" --standins "$(wine_path "$warm_up")" "$(wine_path "$photo")" "$(wine_path "$out/ours.bmp")")")
    if [ "$run" = 1 ]; then
        CODEC_STANDIN_LOG=$(wine_path "$standin_log")
        export CODEC_STANDIN_LOG
    fi
    standin_scaled+=("$(wine "$bench" --standins "$(wine_path "$warm_up")" "$(wine_path "$photo")" "$(wine_path "$out/scaled.bmp")" 1920 1080 0)")
    unset CODEC_STANDIN_LOG
done

djpeg_ms=$(printf '%s\n' "${djpeg_times[@]}" | median)
ours_ms=$(printf '%s\n' "${ours[@]}" | field milliseconds | median)
warm_ms=$(printf '%s\n' "${ours[@]}" | field warm_up_milliseconds | median)
bitmap=$(printf '%s\n' "${ours[0]}" | field bitmap_bytes)
peak=$(printf '%s\n' "${ours[@]}" | field peak_growth_bytes | median)
turned_ms=$(printf '%s\n' "${turned_runs[@]}" | field milliseconds | median)
ours_spread=$(printf '%s\n' "${ours[@]}" | field milliseconds | spread)
turned_spread=$(printf '%s\n' "${turned_runs[@]}" | field milliseconds | spread)
turned_peak=$(printf '%s\n' "${turned_runs[@]}" | field peak_growth_bytes | median)

echo "   picture: $(basename "$photo"), $(stat -c %s "$photo") bytes, 6000 x 4000; bitmap $bitmap bytes"
awk -v runs="$runs" -v d="$djpeg_ms" -v o="$ours_ms" -v w="$warm_ms" -v b="$bitmap" -v p="$peak" \
    -v t="$turned_ms" -v tp="$turned_peak" -v os="$ours_spread" -v ts="$turned_spread" 'BEGIN {
    printf "   medians of %d runs; djpeg -bmp %.1f ms (it does not turn)\n", runs, d
    printf "   upright (EXIF orientation 1): Vistrane-jpeg.dll %8.1f ms, ratio %.2f; peak %.1f MB, %.2f times the bitmap\n",
        o, o / d, p / 1048576, p / b
    printf "   on its side (orientation 6):  Vistrane-jpeg.dll %8.1f ms, ratio %.2f; peak %.1f MB, %.2f times the bitmap\n",
        t, t / d, tp / 1048576, tp / b
    printf "   on its side against upright: %.2f times the time (runs %s ms upright, %s ms on its side)\n", t / o, os, ts
    printf "   first call in a process also loads COM and the imaging component: %.1f ms (small picture)\n", w
}'

# Scaled for the screen against the same conversion at full size, from the
# runs above.
echo "   scaled for a 1920 x 1080 screen with Fill, against full size (medians of $runs runs):"
for pair in "upright:ours:scaled" "on its side:turned_runs:turned_scaled"; do
    IFS=: read -r label full small <<<"$pair"
    full_runs="${full}[@]" small_runs="${small}[@]"
    full_all=$(printf '%s\n' "${!full_runs}")
    small_all=$(printf '%s\n' "${!small_runs}")
    awk -v l="$label" \
        -v fb="$(field bitmap_bytes <<<"$full_all" | median)" -v sb="$(field bitmap_bytes <<<"$small_all" | median)" \
        -v ft="$(field milliseconds <<<"$full_all" | median)" -v st="$(field milliseconds <<<"$small_all" | median)" \
        -v fp="$(field peak_growth_bytes <<<"$full_all" | median)" \
        -v sp="$(field peak_growth_bytes <<<"$small_all" | median)" 'BEGIN {
        printf "      %-12s bytes %d against %d (%.3f); time %.1f ms against %.1f ms (%.2f); peak %.1f MB against %.1f MB (%.2f)\n",
            l ":", sb, fb, sb / fb, st, ft, st / ft, sp / 1048576, fp / 1048576, sp / fp
    }'
done

# The scaled decode through the stand-in, against the same conversion at full
# size through it and the scaled one with Wine's decoder alone.
decoded=$(grep -o 'scaled-copy [0-9]*x[0-9]*' "$standin_log" 2>/dev/null | sort -u | cut -d' ' -f2 | paste -sd' ' - || true)
echo "   through the tests' stand-in for Windows' JPEG decoder (Wine's full decode, averaged down by the stand-in:"
echo "   what the scaled decode's path costs, not how fast Windows decodes), medians of $runs runs:"
awk -v d="${decoded:-nothing}" \
    -v st="$(printf '%s\n' "${standin_scaled[@]}" | field milliseconds | median)" \
    -v sp="$(printf '%s\n' "${standin_scaled[@]}" | field peak_growth_bytes | median)" \
    -v ft="$(printf '%s\n' "${standin_full[@]}" | field milliseconds | median)" \
    -v fp="$(printf '%s\n' "${standin_full[@]}" | field peak_growth_bytes | median)" \
    -v wt="$(printf '%s\n' "${scaled[@]}" | field milliseconds | median)" \
    -v wp="$(printf '%s\n' "${scaled[@]}" | field peak_growth_bytes | median)" 'BEGIN {
    printf "      scaled for 1920 x 1080 with Fill, decoded at %s: time %.1f ms, peak %.1f MB\n", d, st, sp / 1048576
    printf "      against full size through it: time %.1f ms (%.2f), peak %.1f MB (%.2f)\n", ft, st / ft, fp / 1048576, sp / fp
    printf "      against scaled by Wine'"'"'s decoder alone (a full decode): time %.1f ms (%.2f), peak %.1f MB (%.2f)\n",
        wt, st / wt, wp / 1048576, sp / wp
}'

# The other formats against a bare decode of the same file by the imaging
# component (into memory, in the file's own pixel format): a 5K wallpaper
# with an alpha channel as PNG, and a 4K picture as an LZW TIFF, as editors
# save them. Made once per build folder, from the photograph.
png=$work/wallpaper-5k-rgba.png
tiff=$work/picture-4k-lzw.tif
if [ ! -s "$png" ] || [ ! -s "$tiff" ]; then
    echo "   making the PNG and TIFF pictures"
    convert "$photo" -resize 5120x2880! \( -size 2880x5120 gradient:white-'#404040' -rotate 90 \) \
        -alpha off -compose copy_opacity -composite "PNG32:$png"
    convert "$photo" -resize 3840x2160! -depth 8 -compress LZW "TIFF:$tiff"
fi
for picture in "$png" "$tiff"; do
    decodes=() conversions=()
    for run in $(seq "$runs"); do
        decodes+=("$(wine "$bench" --decode "$(wine_path "$warm_up")" "$(wine_path "$picture")")")
        conversions+=("$(wine "$bench" "$(wine_path "$warm_up")" "$(wine_path "$picture")" "$(wine_path "$out/format.bmp")")")
    done
    decode_ms=$(printf '%s\n' "${decodes[@]}" | field milliseconds | median)
    decode_peak=$(printf '%s\n' "${decodes[@]}" | field peak_growth_bytes | median)
    convert_ms=$(printf '%s\n' "${conversions[@]}" | field milliseconds | median)
    convert_peak=$(printf '%s\n' "${conversions[@]}" | field peak_growth_bytes | median)
    bitmap=$(printf '%s\n' "${conversions[0]}" | field bitmap_bytes)
    echo "   $(basename "$picture"): $(stat -c %s "$picture") bytes, $(identify -format '%w x %h' "$picture"); bitmap $bitmap bytes"
    awk -v d="$decode_ms" -v dp="$decode_peak" -v c="$convert_ms" -v cp="$convert_peak" -v b="$bitmap" 'BEGIN {
        printf "      bare decode %8.1f ms, peak %.1f MB\n", d, dp / 1048576
        printf "      Vistrane-jpeg.dll %8.1f ms, ratio %.2f to the decode; peak %.1f MB, %.2f times the bitmap\n",
            c, c / d, cp / 1048576, cp / b
    }'
done
rm -rf "$out"
