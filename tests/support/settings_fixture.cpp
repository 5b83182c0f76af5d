#include "settings_fixture.h"

void SettingsFixture::SetUp()
{
    ResetSettingsKey();
    ResetDesktopValues();
    folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
}

void SettingsFixture::TearDown()
{
    DeleteTree(folder);
    ResetSettingsKey();
}

void SettingsFixture::UseFolder(int random)
{
    WriteStringValue(SettingsKeyPath, ImageDirValue, folder);
    WriteDwordValue(SettingsKeyPath, DoRandomSearchValue, random);
    WriteDwordValue(SettingsKeyPath, ImmediateChangeValue, 0);
}

void SettingsFixture::StoreHistory(int h0, int h1, int h2)
{
    WriteDwordValue(SettingsKeyPath, LastImageShownValue, h0);
    WriteDwordValue(SettingsKeyPath, LastImageShown1Value, h1);
    WriteDwordValue(SettingsKeyPath, LastImageShown2Value, h2);
}

RotationHistory SettingsFixture::StoredHistory()
{
    DWORD h0 = 0xdead, h1 = 0xdead, h2 = 0xdead;
    ReadDwordValue(SettingsKeyPath, LastImageShownValue, &h0);
    ReadDwordValue(SettingsKeyPath, LastImageShown1Value, &h1);
    ReadDwordValue(SettingsKeyPath, LastImageShown2Value, &h2);
    const RotationHistory history = {static_cast<int>(h0), static_cast<int>(h1), static_cast<int>(h2)};
    return history;
}

std::string SettingsFixture::ShownEntry()
{
    const std::string shown = Wallpaper();
    const std::string prefix = folder + "\\";
    if (shown.compare(0, prefix.size(), prefix) != 0)
        return std::string();
    return shown.substr(prefix.size());
}
