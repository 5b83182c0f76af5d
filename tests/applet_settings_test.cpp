// The settings dialog's record: what it loads, what it saves, and what it
// leaves alone.
#include <gtest/gtest.h>

#include <string>

#include "applet_settings.h"
#include "settings_key.h"
#include "test_support.h"

namespace
{
class AppletSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetSettingsKey(); }
    void TearDown() override { ResetSettingsKey(); }
};

TEST_F(AppletSettingsTest, FreshProfileGetsTheSixSettingsButNoHistory)
{
    memset(&AppletSettings, 0x5a, sizeof(AppletSettings));
    LoadSettings();
    EXPECT_STREQ(AppletSettings.ImageDir, DefaultImageDir);
    EXPECT_EQ(AppletSettings.IsActive, 1);
    EXPECT_EQ(AppletSettings.DoRandomSearch, 1);
    EXPECT_EQ(AppletSettings.DoTile, 0);
    EXPECT_EQ(AppletSettings.ImmediateChange, 1);
    EXPECT_EQ(AppletSettings.DoPerMonitor, 0);

    std::string text;
    DWORD value = 0;
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &text));
    const char *written[] = {IsActiveValue, DoRandomSearchValue, DoTileValue, ImmediateChangeValue, DoPerMonitorValue};
    for (size_t i = 0; i < sizeof(written) / sizeof(written[0]); ++i)
        EXPECT_TRUE(ReadDwordValue(SettingsKeyPath, written[i], &value)) << written[i] << " not written back";
    const char *history[] = {LastImageShownValue, LastImageShown1Value, LastImageShown2Value};
    for (size_t i = 0; i < sizeof(history) / sizeof(history[0]); ++i)
        EXPECT_FALSE(ReadDwordValue(SettingsKeyPath, history[i], &value)) << history[i] << " is not the dialog's";
}

TEST_F(AppletSettingsTest, ImageDirOf299CharactersLoadsAndOf300IsReplaced)
{
    // Counted in characters, whatever the script.
    const std::wstring fits = std::wstring(298, L'a') + L"\x5199";
    WriteStringValue(SettingsKeyPath, ImageDirValue, Utf8(fits));
    LoadSettings();
    EXPECT_EQ(std::wstring(AppletSettings.ImageDir), fits);

    WriteStringValue(SettingsKeyPath, ImageDirValue, std::string(300, 'b'));
    LoadSettings();
    EXPECT_STREQ(AppletSettings.ImageDir, DefaultImageDir);
    std::string stored;
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &stored));
    EXPECT_EQ(stored, Utf8(DefaultImageDir)) << "a text of 300 characters must be replaced in the store";
}

TEST_F(AppletSettingsTest, SaveWritesEveryFieldAndLoadReadsItBack)
{
    lstrcpynW(AppletSettings.ImageDir, L"D:\\\x0424\x043e\x0442\x043e \U0001F305", ImageDirSize);
    AppletSettings.IsActive = 0;
    AppletSettings.DoRandomSearch = 0;
    AppletSettings.DoTile = 1;
    AppletSettings.ImmediateChange = 7;
    AppletSettings.DoPerMonitor = 1;
    SaveSettings();

    memset(&AppletSettings, 0, sizeof(AppletSettings));
    LoadSettings();
    EXPECT_STREQ(AppletSettings.ImageDir, L"D:\\\x0424\x043e\x0442\x043e \U0001F305");
    std::string stored;
    DWORD type = 0;
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &stored, &type));
    EXPECT_EQ(stored, "D:\\Фото 🌅") << "the folder must be stored as it was, not through the code page";
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_EQ(AppletSettings.IsActive, 0);
    EXPECT_EQ(AppletSettings.DoRandomSearch, 0);
    EXPECT_EQ(AppletSettings.DoTile, 1);
    EXPECT_EQ(AppletSettings.ImmediateChange, 7) << "a value set by other means is kept as it is";
    EXPECT_EQ(AppletSettings.DoPerMonitor, 1);
}
}
