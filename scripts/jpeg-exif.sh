# Sourced by the scripts that make test and benchmark pictures: tagging a
# JPEG with an EXIF orientation, as a camera or phone does.

# exif_segment <orientation> <MM|II>: an APP1 segment whose first image
# directory holds an image width entry and then the orientation entry, in
# big-endian (MM) or little-endian (II) byte order.
exif_segment() {
    local orientation=$1 order=$2
    # Marker, length 46, "Exif\0\0".
    printf '\xff\xe1\x00\x2eExif\x00\x00'
    if [ "$order" = MM ]; then
        printf 'MM\x00\x2a\x00\x00\x00\x08'        # TIFF header, directory at 8
        printf '\x00\x02'                            # two entries
        printf '\x01\x00\x00\x03\x00\x00\x00\x01\x00\x10\x00\x00'   # width 16
        printf "\\x01\\x12\\x00\\x03\\x00\\x00\\x00\\x01\\x00\\x0${orientation}\\x00\\x00"
    else
        printf 'II\x2a\x00\x08\x00\x00\x00'
        printf '\x02\x00'
        printf '\x00\x01\x03\x00\x01\x00\x00\x00\x10\x00\x00\x00'
        printf "\\x12\\x01\\x03\\x00\\x01\\x00\\x00\\x00\\x0${orientation}\\x00\\x00\\x00"
    fi
    printf '\x00\x00\x00\x00'                        # no next directory
}

# tag_orientation <in.jpg> <out.jpg> <orientation> <MM|II> <first|after-jfif>:
# out is in with the EXIF segment put right after the start-of-image marker
# (as cameras write it) or after the JFIF segment that cjpeg writes first.
tag_orientation() {
    local in=$1 out=$2 orientation=$3 order=$4 place=$5 keep=2
    if [ "$place" = after-jfif ]; then
        # The JFIF segment: marker and a length of 16.
        [ "$(head -c 6 "$in" | od -An -tx1 | tr -d ' \n')" = ffd8ffe00010 ] ||
            { echo "tag_orientation: $in does not start with a JFIF segment" >&2; return 1; }
        keep=20
    fi
    { head -c "$keep" "$in"; exif_segment "$orientation" "$order"; tail -c +$((keep + 1)) "$in"; } >"$out"
}
