#include "applet_settings.h"

#include <windows.h>

#include <strsafe.h>

#include "registry_key.h"
#include "settings_key.h"

AppletSettingsRecord AppletSettings;

void LoadSettings()
{
    RegistryKey settingsKey;
    settingsKey.Open(SettingsKeyPath, 1);
    wchar_t imageDir[ImageDirSize];
    DWORD size = sizeof(imageDir);
    settingsKey.ReadString(ImageDirValue, imageDir, &size, DefaultImageDir);
    // Same size on both sides: the read text always fits.
    StringCbCopyW(AppletSettings.ImageDir, sizeof(AppletSettings.ImageDir), imageDir);
    AppletSettings.DoRandomSearch = settingsKey.ReadDword(DoRandomSearchValue, DefaultDoRandomSearch);
    AppletSettings.DoTile = settingsKey.ReadDword(DoTileValue, DefaultDoTile);
    AppletSettings.IsActive = settingsKey.ReadDword(IsActiveValue, DefaultIsActive);
    AppletSettings.ImmediateChange = settingsKey.ReadDword(ImmediateChangeValue, DefaultImmediateChange);
    AppletSettings.DoPerMonitor = settingsKey.ReadDword(DoPerMonitorValue, DefaultDoPerMonitor);
    settingsKey.Close();
}

void SaveSettings()
{
    RegistryKey settingsKey;
    settingsKey.Open(SettingsKeyPath, 1);
    settingsKey.WriteString(ImageDirValue, AppletSettings.ImageDir);
    settingsKey.WriteDword(DoRandomSearchValue, AppletSettings.DoRandomSearch);
    settingsKey.WriteDword(DoTileValue, AppletSettings.DoTile);
    settingsKey.WriteDword(IsActiveValue, AppletSettings.IsActive);
    settingsKey.WriteDword(ImmediateChangeValue, AppletSettings.ImmediateChange);
    settingsKey.WriteDword(DoPerMonitorValue, AppletSettings.DoPerMonitor);
    settingsKey.Close();
}
