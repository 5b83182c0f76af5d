// The settings dialog's in-memory copy of the six user settings.
#pragma once

// Room for 299 characters (UTF-16 units, as Windows counts them) and the terminator: more than a path, so a folder
// dropped onto the dialog is not cut before the user sees it.
const int ImageDirSize = 300;

struct AppletSettingsRecord
{
    wchar_t ImageDir[ImageDirSize];
    int IsActive;
    int DoRandomSearch;
    int DoTile;
    int ImmediateChange;
    int DoPerMonitor;
};

// Filled when the settings dialog opens and saved when it is confirmed; the
// only copy in the process.
extern AppletSettingsRecord AppletSettings;

// Fills every field from the settings key, writing back any missing value.
// The rotation history is neither read nor written.
void LoadSettings();
// Writes every field to the settings key.
void SaveSettings();
