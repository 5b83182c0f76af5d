// The settings key under HKEY_CURRENT_USER: its path, the names of its nine
// values and their defaults. Every reader writes the default back when a value
// is missing, so after the first logon run the key holds all nine.
#pragma once

const char SettingsKeyPath[] = "Software\\Calderane\\Vistrane";

const char ImageDirValue[] = "ImageDir";
const char IsActiveValue[] = "IsActive";
const char DoRandomSearchValue[] = "DoRandomSearch";
const char DoTileValue[] = "DoTile";
const char ImmediateChangeValue[] = "ImmediateChange";
// Non-zero: each monitor gets a picture of its own. Off by default, so a key
// written by an earlier version keeps one picture for every screen.
const char DoPerMonitorValue[] = "DoPerMonitor";
// The rotation history: the latest choice and the two before it.
const char LastImageShownValue[] = "LastImageShown";
const char LastImageShown1Value[] = "LastImageShown-1";
const char LastImageShown2Value[] = "LastImageShown-2";

const wchar_t DefaultImageDir[] = L"C:\\Program Files\\Vistrane\\";
const int DefaultIsActive = 1;
const int DefaultDoRandomSearch = 1;
const int DefaultDoTile = 0;
const int DefaultImmediateChange = 1;
const int DefaultDoPerMonitor = 0;
const int DefaultLastImageShown = 0;
const int DefaultLastImageShown1 = 1;
const int DefaultLastImageShown2 = 2;

// The desktop's own "WallpaperStyle" and "TileWallpaper" as the user had
// them before a run showed a different picture on each monitor, which needs
// them tiled: written back when that ends. Present only meanwhile; an empty
// text stands for a value the desktop did not have.
const char UserWallpaperStyleValue[] = "UserWallpaperStyle";
const char UserTileWallpaperValue[] = "UserTileWallpaper";

// Where the desktop keeps its wallpaper, also under HKEY_CURRENT_USER.
const char DesktopKeyPath[] = "Control Panel\\Desktop";
const char WallpaperValue[] = "Wallpaper";
const char TileWallpaperValue[] = "TileWallpaper";
// How Windows 7 and later place the picture: "0" centre, "2" stretch, "6" fit,
// "10" fill, "22" span. They tile only while it is "0".
const char WallpaperStyleValue[] = "WallpaperStyle";
const wchar_t TiledWallpaperStyle[] = L"0";
