// RegistryKey against the real registry: opening, defaults written back, and
// values of the wrong type or size.
#include <gtest/gtest.h>

#include <string>

#include "registry_key.h"
#include "settings_key.h"
#include "test_support.h"

namespace
{
class RegistryKeyTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetSettingsKey(); }
    void TearDown() override { ResetSettingsKey(); }
};

TEST_F(RegistryKeyTest, OpenCreatesMissingComponentsBelowTheFirst)
{
    RegistryKey key;
    key.Open(SettingsKeyPath, 1);
    ASSERT_NE(key.Handle(), (HKEY)NULL) << "a fresh profile has no Calderane key; Open must create it";
    EXPECT_EQ(key.WriteDword("probe", 7), ERROR_SUCCESS);
    EXPECT_EQ(key.Close(), ERROR_SUCCESS);
    EXPECT_EQ(key.Handle(), (HKEY)NULL);

    DWORD value = 0;
    EXPECT_TRUE(ReadDwordValue(SettingsKeyPath, "probe", &value)) << "the value went to another key";
    EXPECT_EQ(value, 7u);
}

TEST_F(RegistryKeyTest, OpenKeepsOnlyTheInnermostKeyOpen)
{
    const int before = CountProcessHandles();
    {
        RegistryKey key;
        key.Open(DesktopKeyPath, 1);
        ASSERT_NE(key.Handle(), (HKEY)NULL);
        EXPECT_EQ(CountProcessHandles(), before + 1) << "\"Control Panel\" must be closed once \"Desktop\" is open";
    }
    EXPECT_EQ(CountProcessHandles(), before) << "the destructor left the key open";
}

TEST_F(RegistryKeyTest, TrailingBackslashOpensTheSameKey)
{
    RegistryKey key;
    key.Open("Software\\Calderane\\Vistrane\\", 1);
    key.WriteDword("probe", 9);
    key.Close();
    DWORD value = 0;
    EXPECT_TRUE(ReadDwordValue(SettingsKeyPath, "probe", &value));
    EXPECT_EQ(value, 9u);
}

TEST_F(RegistryKeyTest, UnusableOpenLeavesTheKeyClosed)
{
    const int before = CountProcessHandles();
    RegistryKey key;
    key.Open("NoSuchFirstComponent\\Below", 1);
    EXPECT_EQ(key.Handle(), (HKEY)NULL) << "the first component is never created";

    const std::string longName(64, 'x');
    key.Open(("Software\\Calderane\\" + longName).c_str(), 1);
    EXPECT_EQ(key.Handle(), (HKEY)NULL) << "a component of 64 characters must be refused, not cut";
    EXPECT_EQ(CountProcessHandles(), before) << "a refused Open leaked a parent key";

    // Reads still answer the default, writes go nowhere.
    EXPECT_EQ(key.ReadDword("anything", 42), 42);
    EXPECT_EQ(key.Close(), ERROR_SUCCESS);
}

TEST_F(RegistryKeyTest, CloseIsHarmlessWhenNothingIsOpen)
{
    RegistryKey never;
    EXPECT_EQ(never.Close(), ERROR_SUCCESS);

    RegistryKey twice;
    twice.Open(SettingsKeyPath, 1);
    EXPECT_EQ(twice.Close(), ERROR_SUCCESS);
    EXPECT_EQ(twice.Close(), ERROR_SUCCESS) << "the second Close must not close a handle again";
}

TEST_F(RegistryKeyTest, MissingDwordIsWrittenBackWithItsDefault)
{
    RegistryKey key;
    key.Open(SettingsKeyPath, 1);
    EXPECT_EQ(key.ReadDword(DoTileValue, 5), 5);
    key.Close();

    DWORD value = 0, type = 0;
    ASSERT_TRUE(ReadDwordValue(SettingsKeyPath, DoTileValue, &value, &type)) << "the default was not written back";
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(value, 5u);
}

TEST_F(RegistryKeyTest, DwordReadsAnyTypeThatFitsFourBytes)
{
    // A one-digit text is 2 bytes with its terminator: its character code.
    WriteStringValue(SettingsKeyPath, DoTileValue, "1");
    const int negative = -3;
    WriteRawValue(SettingsKeyPath, LastImageShownValue, REG_BINARY, &negative, sizeof(negative));

    RegistryKey key;
    key.Open(SettingsKeyPath, 1);
    EXPECT_EQ(key.ReadDword(DoTileValue, 0), 49);
    EXPECT_EQ(key.ReadDword(LastImageShownValue, 0), -3);
    key.Close();

    DWORD type = 0;
    std::string text;
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, DoTileValue, &text, &type));
    EXPECT_EQ(type, (DWORD)REG_SZ) << "a value that fitted must not be rewritten";
}

TEST_F(RegistryKeyTest, DwordLongerThanFourBytesIsReplacedByTheDefault)
{
    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    WriteRawValue(SettingsKeyPath, DoTileValue, REG_BINARY, eight, sizeof(eight));

    RegistryKey key;
    key.Open(SettingsKeyPath, 1);
    EXPECT_EQ(key.ReadDword(DoTileValue, 0), 0);
    key.Close();

    DWORD value = 99, type = 0;
    ASSERT_TRUE(ReadDwordValue(SettingsKeyPath, DoTileValue, &value, &type));
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(value, 0u);
}

TEST_F(RegistryKeyTest, StringFallsBackToItsDefaultWhenMissingOrTooLarge)
{
    RegistryKey key;
    key.Open(SettingsKeyPath, 1);

    wchar_t buffer[MAX_PATH];
    memset(buffer, 'Z', sizeof(buffer));
    DWORD size = sizeof(buffer);
    key.ReadString(ImageDirValue, buffer, &size, DefaultImageDir);
    EXPECT_STREQ(buffer, DefaultImageDir);
    std::string stored;
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &stored));
    EXPECT_EQ(stored, Utf8(DefaultImageDir)) << "the missing value was not written back";

    // 259 characters and the terminator fill a 260-character buffer exactly,
    // in any script.
    const std::wstring fitting[] = {std::wstring(259, L'f'), std::wstring(259, L'\x0424')};
    for (const std::wstring &fits : fitting)
    {
        key.WriteString(ImageDirValue, fits.c_str());
        size = sizeof(buffer);
        key.ReadString(ImageDirValue, buffer, &size, DefaultImageDir);
        EXPECT_EQ(std::wstring(buffer), fits);
    }

    const std::wstring tooLong(260, L'\x5199');
    key.WriteString(ImageDirValue, tooLong.c_str());
    size = sizeof(buffer);
    key.ReadString(ImageDirValue, buffer, &size, DefaultImageDir);
    EXPECT_STREQ(buffer, DefaultImageDir);
    key.Close();
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &stored));
    EXPECT_EQ(stored, Utf8(DefaultImageDir)) << "a value too large for the reader must be replaced in the store";
}

// Values stored without a terminator: the reader must never be handed an
// unterminated buffer.
TEST_F(RegistryKeyTest, StringWithoutTerminatorIsTerminatedWhenThereIsRoom)
{
    WriteRawValue(SettingsKeyPath, "NoTerminator", REG_SZ, L"C:\\\x0424\x043e\x0442\x043e", 14);
    WriteRawValue(SettingsKeyPath, "Binary", REG_BINARY, L"abc", 6);
    WriteDwordValue(SettingsKeyPath, "Number", 0x00000041); // "A" then a zero
    WriteRawValue(SettingsKeyPath, "Odd", REG_SZ, L"C:\\Pics", 7);

    RegistryKey key;
    key.Open(SettingsKeyPath, 1);
    wchar_t buffer[16];
    memset(buffer, 'Z', sizeof(buffer));
    DWORD size = sizeof(buffer);
    key.ReadString("NoTerminator", buffer, &size, L"default");
    EXPECT_STREQ(buffer, L"C:\\\x0424\x043e\x0442\x043e");

    memset(buffer, 'Z', sizeof(buffer));
    size = sizeof(buffer);
    key.ReadString("Binary", buffer, &size, L"default");
    EXPECT_STREQ(buffer, L"abc");

    memset(buffer, 'Z', sizeof(buffer));
    size = sizeof(buffer);
    key.ReadString("Number", buffer, &size, L"default");
    EXPECT_STREQ(buffer, L"A");

    // Half a character holds no text: it is replaced like one too large.
    size = sizeof(buffer);
    key.ReadString("Odd", buffer, &size, L"default");
    EXPECT_STREQ(buffer, L"default");
    key.Close();
    std::string stored;
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, "Odd", &stored));
    EXPECT_EQ(stored, "default");
}

TEST_F(RegistryKeyTest, StringFillingTheBufferWithoutTerminatorIsTooLarge)
{
    WriteRawValue(SettingsKeyPath, "Exact", REG_BINARY, L"12345678", 16);

    RegistryKey key;
    key.Open(SettingsKeyPath, 1);
    wchar_t buffer[8];
    DWORD size = sizeof(buffer);
    key.ReadString("Exact", buffer, &size, L"dflt");
    EXPECT_STREQ(buffer, L"dflt") << "eight characters without a terminator do not fit an 8-character buffer";
    key.Close();

    std::string stored;
    DWORD type = 0;
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, "Exact", &stored, &type));
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_EQ(stored, "dflt");
}
}
