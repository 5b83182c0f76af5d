// Making a prepared picture the desktop wallpaper.
#pragma once

// Writes "TileWallpaper" ("1" or "0") and "Wallpaper" under the desktop key,
// and "WallpaperStyle" "0" when tiling (a style the user chose is otherwise
// left as it is), then, when immediate is non-zero, tells the desktop and
// every running program that the wallpaper changed.
void ApplyWallpaper(const wchar_t *path, int tile, int immediate);
