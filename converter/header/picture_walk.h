// Our own walk over a picture's header, whichever its format.
#pragma once

#include "byte_source.h"
#include "picture_format.h"
#include "picture_layout.h"

// True for the formats we walk ourselves (JPEG, PNG, GIF, TIFF); the others'
// sizes are the decoder's to tell, before anything is decoded.
bool HasHeaderWalk(PictureFormat format);

// The walk of format over source, from its start (jpeg_header.h and its
// siblings say what each checks). LayoutDamaged for a format with none.
LayoutCheck WalkPictureLayout(PictureFormat format, ByteSource &source, PictureLayout *layout);

// Up to PictureHeadBytes from the source's start into head, their number in
// *length; false on a read error.
bool ReadPictureHead(ByteSource &source, uint8_t *head, size_t *length);
