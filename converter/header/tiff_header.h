// A walk over a TIFF file's image directories before any pixel is decoded:
// the first picture's size and orientation, whether every strip or tile of it
// lies within the file, and whether the chain of directories ends.
#pragma once

#include "byte_source.h"
#include "picture_layout.h"

// Reads source from its start. LayoutWhole is a byte-order mark (II or MM),
// the number 42, a first directory whose width and height (SHORT or LONG,
// one value, not 0) are there with a pair of strip or tile offset and byte
// count arrays (SHORT or LONG, as many counts as offsets) all within the
// file, and a chain of at most MaxTiffDirectories directories that ends.
// LayoutDamaged is anything else in the header (a BigTIFF's 43 included), a
// directory with no entries or more than MaxTiffDirectoryEntries, a size or
// offsets missing or of another type, count arrays of unequal lengths, a
// directory offset inside the header or past the file's end, a directory met
// twice. LayoutTruncated is a directory, array, strip or tile that runs past
// the file's end. layout is filled only for LayoutWhole: the first
// directory's size, its orientation tag (1 to 8, else upright), the frame
// the whole picture.
LayoutCheck WalkTiffLayout(ByteSource &source, PictureLayout *layout);

const unsigned MaxTiffDirectories = 1024;
const unsigned MaxTiffDirectoryEntries = 4096;
