// Listing the image directory into an ImageList.
#pragma once

#include "cycle_types.h"

// Lists up to MaxImages entries of directory in the order the file system
// returns them, skipping names that begin with "." ("." and ".." among them).
// Subdirectories and files of any type are listed: whether an entry is a
// picture is decided only when it is chosen. False when the directory cannot
// be searched (missing, unreadable, empty name, or a pattern that does not
// fit MAX_PATH); the list is then empty.
bool ListImages(const wchar_t *directory, ImageList &list);
