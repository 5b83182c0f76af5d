// The built Vistrane-jpeg.dll as a file, and as the wallpaper run loads it.
#include <gtest/gtest.h>

#include "converter_support.h"
#include "pe_file.h"

namespace
{
TEST(ConverterFile, IsA32BitDllWithExactlyTheThreeConversionsAndTheComposition)
{
    const PeFile pe = ReadPeFile(ShippedConverter());
    ASSERT_TRUE(pe.valid) << "cannot read " << ShippedConverter();
    EXPECT_EQ(pe.machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_TRUE(pe.characteristics & IMAGE_FILE_DLL);
    ASSERT_EQ(pe.exports.size(), 4u) << "exported by name: something more or less than the four exports";
    EXPECT_EQ(pe.exports[0].name, "_Vistrane_composeW@20");
    EXPECT_EQ(pe.exports[1].name, "_Vistrane_convert@8");
    EXPECT_EQ(pe.exports[2].name, "_Vistrane_convertScaledW@20");
    EXPECT_EQ(pe.exports[3].name, "_Vistrane_convertW@8");
    EXPECT_EQ(pe.exportedFunctions, 4u) << "an export by ordinal only";
}

TEST(ConverterFile, ImportsOnlySystemDlls)
{
    const PeFile pe = ReadPeFile(ShippedConverter());
    ASSERT_TRUE(pe.valid);
    EXPECT_FALSE(pe.imports.empty());
    for (size_t i = 0; i < pe.imports.size(); ++i)
        EXPECT_TRUE(IsSystemDll(pe.imports[i])) << pe.imports[i] << " is not on every Windows";
}

TEST(ConverterFile, MayUseExceptionHandlers)
{
    // The export guards its work with a handler frame; Windows refuses every
    // handler of an image marked NO_SEH (Wine does not check).
    const PeFile pe = ReadPeFile(ShippedConverter());
    ASSERT_TRUE(pe.valid);
    EXPECT_EQ(pe.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_NO_SEH, 0);
}

TEST(ConverterFile, GetProcAddressFindsTheLiteralName)
{
    const HMODULE library = LoadLibraryExA(ShippedConverter().c_str(), NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    ASSERT_TRUE(library != NULL) << "cannot load " << ShippedConverter();
    EXPECT_TRUE(GetProcAddress(library, "_Vistrane_convert@8") != NULL);
    EXPECT_TRUE(GetProcAddress(library, "_Vistrane_convertW@8") != NULL);
    EXPECT_TRUE(GetProcAddress(library, "_Vistrane_convertScaledW@20") != NULL);
    EXPECT_TRUE(GetProcAddress(library, "_Vistrane_composeW@20") != NULL);
    EXPECT_TRUE(GetProcAddress(library, "Vistrane_convert") == NULL) << "the undecorated name is exported too";
    FreeLibrary(library);
}
}
