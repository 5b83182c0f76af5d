// The built Vistrane.cpl as a file: what the loader, rundll32 and the Control
// Panel read from it before running a line of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_driver.h"
#include "pe_file.h"
#include "resource.h"
#include "test_support.h"

namespace
{
TEST(LibraryFile, IsA32BitDll)
{
    const PeFile pe = ReadPeFile(ShippedApplet());
    ASSERT_TRUE(pe.valid) << "cannot read " << ShippedApplet();
    EXPECT_EQ(pe.machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_TRUE(pe.characteristics & IMAGE_FILE_DLL);
}

TEST(LibraryFile, ExportsExactlyTheEntriesByNameAndOrdinal)
{
    const PeFile pe = ReadPeFile(ShippedApplet());
    ASSERT_TRUE(pe.valid);
    EXPECT_EQ(pe.exportModuleName, "VISTRANE.cpl");
    const PeExport expected[] = {{"AfterLogon", 1}, {"CPlApplet", 2}, {"DeinstallNT", 3}};
    const size_t count = sizeof(expected) / sizeof(expected[0]);
    ASSERT_EQ(pe.exports.size(), count) << "exported by name: something more or less than the entries";
    EXPECT_EQ(pe.exportedFunctions, count) << "an export by ordinal only";
    for (size_t i = 0; i < count; ++i)
    {
        EXPECT_EQ(pe.exports[i].name, expected[i].name);
        EXPECT_EQ(pe.exports[i].ordinal, expected[i].ordinal) << expected[i].name;
    }
}

TEST(LibraryFile, BothLibrariesLetWindowsCallTheGuardsHandler)
{
    // Windows refuses every handler of an image marked NO_SEH, and every
    // handler missing from the safe-handler table of an image that declares
    // one; a converter fault would then end the process instead of being
    // caught by the guard. Wine enforces neither, so only the files can tell.
    const std::string libraries[] = {ShippedApplet(), ShippedConverter()};
    for (size_t i = 0; i < 2; ++i)
    {
        const PeFile pe = ReadPeFile(libraries[i]);
        ASSERT_TRUE(pe.valid) << libraries[i];
        EXPECT_EQ(pe.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_NO_SEH, 0) << libraries[i];
        if (!pe.hasSafeHandlerTable)
            continue;
        bool listed = false, found = false;
        for (size_t s = 0; s < pe.symbols.size(); ++s)
            if (pe.symbols[s].first.find("GuardHandler") != std::string::npos)
            {
                found = true;
                for (size_t h = 0; h < pe.safeHandlers.size(); ++h)
                    listed = listed || pe.safeHandlers[h] == pe.symbols[s].second;
            }
        EXPECT_TRUE(found) << libraries[i] << " declares safe handlers and no symbol tells where the guard's is";
        EXPECT_TRUE(listed) << libraries[i] << ": the guard's handler is not among its safe handlers";
    }
}

TEST(LibraryFile, ImportsOnlySystemDlls)
{
    const PeFile pe = ReadPeFile(ShippedApplet());
    ASSERT_TRUE(pe.valid);
    EXPECT_FALSE(pe.imports.empty());
    for (size_t i = 0; i < pe.imports.size(); ++i)
        EXPECT_TRUE(IsSystemDll(pe.imports[i])) << pe.imports[i] << " is not on every Windows";
}

// What Explorer's Properties and the installer read.
TEST(LibraryFile, VersionBlockNamesTheApplicationVersion)
{
    const std::string path = ShippedApplet();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_NE(size, 0u) << "no version block";
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO *fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020001u) << "2.1";
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u) << ".0.0";
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);
    EXPECT_EQ(fixed->dwFileType, (DWORD)VFT_APP) << "an application, not VFT_DLL";
    EXPECT_EQ(fixed->dwFileOS, (DWORD)VOS_NT_WINDOWS32);

    const char *texts[] = {"CompanyName", "FileDescription", "FileVersion", "ProductName", "ProductVersion",
                           "OriginalFilename"};
    for (size_t i = 0; i < sizeof(texts) / sizeof(texts[0]); ++i)
    {
        char *text = NULL;
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + texts[i];
        EXPECT_TRUE(VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void **>(&text), &length) &&
                    length > 1)
            << texts[i] << " missing";
    }
    char *version = NULL;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\FileVersion",
                               reinterpret_cast<void **>(&version), &length));
    EXPECT_STREQ(version, "2.1.0.0");
}

// The icon group as stored: the Control Panel picks the image that suits the
// display from these two.
TEST(LibraryFile, IconGroupHoldsTwo32PixelImagesOf16And256Colours)
{
#pragma pack(push, 2)
    struct GroupEntry
    {
        BYTE width, height, colours, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
    struct GroupHeader
    {
        WORD reserved, type, count;
    };
#pragma pack(pop)
    const HMODULE module = AppletModule();
    ASSERT_NE(module, (HMODULE)NULL);
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDI_VISTRANE), MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    ASSERT_NE(found, (HRSRC)NULL) << "no icon group 200";
    const GroupHeader *group = static_cast<const GroupHeader *>(LockResource(LoadResource(module, found)));
    ASSERT_NE(group, (const GroupHeader *)NULL);
    ASSERT_EQ(group->count, 2) << "exactly two images";
    const GroupEntry *entries = reinterpret_cast<const GroupEntry *>(group + 1);
    const WORD bits[] = {4, 8};
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(entries[i].width, 32);
        EXPECT_EQ(entries[i].height, 32);
        EXPECT_EQ(entries[i].bitCount, bits[i]) << "image " << i;
        const HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(entries[i].id), MAKEINTRESOURCEA(3)); // RT_ICON
        ASSERT_NE(image, (HRSRC)NULL) << "image " << i << " is missing";
        BYTE *data = static_cast<BYTE *>(LockResource(LoadResource(module, image)));
        const HICON icon = CreateIconFromResourceEx(data, SizeofResource(module, image), TRUE, 0x00030000, 32, 32, 0);
        EXPECT_NE(icon, (HICON)NULL) << "image " << i << " does not load";
        if (icon != NULL)
            DestroyIcon(icon);
    }
    EXPECT_NE(LoadIconA(module, MAKEINTRESOURCEA(IDI_VISTRANE)), (HICON)NULL);
}
}
