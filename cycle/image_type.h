// Telling a bitmap from a picture to convert by the letters of its path.
#pragma once

enum ImageType
{
    UnusableImage,
    BitmapImage, // usable as it is
    ConvertedImage, // usable once converted into a bitmap (JPEG, PNG, ...)
};

// The test runs on the whole path, directory included, with ASCII letters
// folded to upper case: ".BMP" anywhere makes a bitmap; a picture to convert
// is a path whose first ".JPG" is its last four characters, or whose first
// ".JPEG", ".PNG", ".GIF", ".TIF", ".TIFF", ".JXR", ".WDP", ".HDP", ".WEBP",
// ".HEIC", ".HEIF" or ".AVIF" ends it. So a folder named "old.bmp.files"
// makes every entry in it a bitmap, and one named "a.jpg" keeps its .jpg
// entries from counting as JPEGs. A path that is not whole UTF-16 text (a
// surrogate without its pair) is unusable: no program could be sure to name
// that file again.
ImageType ClassifyImage(const wchar_t *path);
