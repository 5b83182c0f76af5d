// A walk over a PNG file's chunks before any pixel is decoded: the size the
// header claims, and whether the chunks agree with themselves and the file
// holds them all.
#pragma once

#include "byte_source.h"
#include "picture_layout.h"

// Reads source from its start to the IEND chunk; what follows IEND is not
// looked at. LayoutWhole is the signature, an IHDR chunk first (13 bytes: a
// width and height of 1 to 2^31 - 1, a colour type and bit depth that go
// together, compression and filter method 0, interlace method 0 or 1), one
// run of IDAT chunks, a PLTE chunk before it for palette pictures, and IEND.
// LayoutDamaged is another signature, a second IHDR, a chunk name of other
// than letters, a chunk length above 2^31 - 1, a critical chunk no decoder
// knows, a PLTE after the pixel data, IDAT chunks apart, IEND before any
// IDAT. LayoutTruncated is a file that ends before IEND. layout is filled
// only for LayoutWhole: the header's size, upright, the frame the whole
// picture. A size far beyond memory is still whole; refusing it is the
// caller's choice.
LayoutCheck WalkPngLayout(ByteSource &source, PictureLayout *layout);
