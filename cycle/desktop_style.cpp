#include "desktop_style.h"

#include "settings_key.h"

namespace
{
// Longer than any style Windows writes.
const DWORD StyleChars = 16;
typedef wchar_t StyleText[StyleChars];

// A text value: true with it in text, empty when it is missing; false when
// it is of another type or longer than StyleText holds.
bool ReadStyleText(RegistryKey &key, const char *name, StyleText &text)
{
    DWORD type = 0, bytes = sizeof(StyleText) - sizeof(wchar_t);
    const LONG status = key.Query(name, &type, reinterpret_cast<BYTE *>(text), &bytes);
    if (status == ERROR_FILE_NOT_FOUND)
    {
        text[0] = L'\0';
        return true;
    }
    if (status != ERROR_SUCCESS || type != REG_SZ || bytes % sizeof(wchar_t) != 0)
        return false;
    text[bytes / sizeof(wchar_t)] = L'\0';
    return true;
}

int ParseStyle(const wchar_t *text)
{
    int style = 0, digits = 0;
    for (; text[digits] != L'\0'; ++digits)
    {
        if (text[digits] < L'0' || text[digits] > L'9' || digits == 3)
            return -1;
        style = style * 10 + (text[digits] - L'0');
    }
    return digits == 0 ? -1 : style;
}

bool Kept(RegistryKey &settingsKey, StyleText &style, StyleText &tile)
{
    DWORD type = 0;
    return settingsKey.Query(UserWallpaperStyleValue, &type, NULL, NULL) == ERROR_SUCCESS &&
           ReadStyleText(settingsKey, UserWallpaperStyleValue, style) &&
           ReadStyleText(settingsKey, UserTileWallpaperValue, tile);
}

// The values a picture for several monitors gives the desktop. Anything else
// there is the user's own choice, made since.
bool TiledForMonitors(const StyleText &style, const StyleText &tile)
{
    return lstrcmpW(style, TiledWallpaperStyle) == 0 && lstrcmpW(tile, L"1") == 0;
}

bool ReadDesktopValues(RegistryKey &desktop, StyleText &style, StyleText &tile)
{
    return ReadStyleText(desktop, WallpaperStyleValue, style) && ReadStyleText(desktop, TileWallpaperValue, tile);
}

// An empty text stands for a value the desktop did not have.
void WriteBack(RegistryKey &desktop, const char *name, const wchar_t *text)
{
    if (text[0] == L'\0')
        desktop.DeleteValue(name);
    else
        desktop.WriteString(name, text);
}
}

int UserWallpaperStyle()
{
    RegistryKey desktop;
    desktop.Open(DesktopKeyPath, 1);
    StyleText style, tile, keptStyle, keptTile;
    if (!ReadStyleText(desktop, WallpaperStyleValue, style))
        return -1;
    RegistryKey settings;
    settings.Open(SettingsKeyPath, 1);
    if (ReadStyleText(desktop, TileWallpaperValue, tile) && TiledForMonitors(style, tile) &&
        Kept(settings, keptStyle, keptTile))
        return ParseStyle(keptStyle);
    return ParseStyle(style);
}

bool UserStyleKeepable()
{
    RegistryKey desktop;
    desktop.Open(DesktopKeyPath, 1);
    StyleText style, tile;
    return ReadDesktopValues(desktop, style, tile);
}

bool RememberUserStyle(RegistryKey &settingsKey)
{
    RegistryKey desktop;
    desktop.Open(DesktopKeyPath, 1);
    StyleText style, tile, keptStyle, keptTile;
    if (!ReadDesktopValues(desktop, style, tile))
        return false;
    if (TiledForMonitors(style, tile) && Kept(settingsKey, keptStyle, keptTile))
        return true;
    settingsKey.WriteString(UserWallpaperStyleValue, style);
    settingsKey.WriteString(UserTileWallpaperValue, tile);
    return true;
}

void RestoreUserStyle(RegistryKey &settingsKey)
{
    StyleText style, tile, current, currentTile;
    if (!Kept(settingsKey, style, tile))
        return;
    RegistryKey desktop;
    desktop.Open(DesktopKeyPath, 1);
    if (ReadDesktopValues(desktop, current, currentTile) && TiledForMonitors(current, currentTile))
    {
        WriteBack(desktop, WallpaperStyleValue, style);
        WriteBack(desktop, TileWallpaperValue, tile);
    }
    settingsKey.DeleteValue(UserWallpaperStyleValue);
    settingsKey.DeleteValue(UserTileWallpaperValue);
}
