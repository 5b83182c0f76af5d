// A walk over a GIF file's blocks up to the end of its first frame: the
// canvas, where the first frame lies on it, and whether the file holds that
// frame whole. Later frames are the decoder's; a wallpaper shows the first.
#pragma once

#include "byte_source.h"
#include "picture_layout.h"

// Reads source from its start to the end of the first frame's data.
// LayoutWhole is the signature (GIF87a or GIF89a), the logical screen
// descriptor and its colour table, any extension blocks, then an image
// descriptor, its colour table, an LZW code size of 1 to 11 and data
// sub-blocks up to their terminator. LayoutDamaged is another signature, a
// trailer or unknown block before any frame (a GIF with no frames), a frame
// 0 pixels wide or high, a code size of 0 or above 11. LayoutTruncated is a
// file that ends before the first frame's data does. layout is filled only
// for LayoutWhole: the canvas is the logical screen grown to hold the first
// frame, whose place and size are the frame fields, upright.
LayoutCheck WalkGifLayout(ByteSource &source, PictureLayout *layout);
