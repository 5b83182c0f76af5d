#include "apply_wallpaper.h"

#include "registry_key.h"
#include "settings_key.h"

void ApplyWallpaper(const wchar_t *path, int tile, int immediate)
{
    RegistryKey desktop;
    desktop.Open(DesktopKeyPath, 1);
    // Windows 8 and later ship with the style "fill", under which the tiling
    // switch alone changes nothing. Tiling sets the one style that tiles;
    // otherwise the style the user chose in Windows' own settings stays.
    if (tile)
        desktop.WriteString(WallpaperStyleValue, TiledWallpaperStyle);
    desktop.WriteString(TileWallpaperValue, tile ? L"1" : L"0");
    desktop.WriteString(WallpaperValue, path);
    desktop.Close();

    // The values are already written, so the desktop is only told to load
    // the picture, not to store it again (no SPIF_UPDATEINIFILE).
    if (immediate)
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t *>(path), SPIF_SENDWININICHANGE);
}
