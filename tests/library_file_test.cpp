// The built Vistrane.cpl as a file: what the loader, rundll32 and the Control
// Panel read from it before running a line of it.
#include <gtest/gtest.h>

#include "pe_file.h"
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
    const PeExport expected[] = {{"AfterLogon", 1}};
    const size_t count = sizeof(expected) / sizeof(expected[0]);
    ASSERT_EQ(pe.exports.size(), count) << "exported by name: something more or less than the entries";
    EXPECT_EQ(pe.exportedFunctions, count) << "an export by ordinal only";
    for (size_t i = 0; i < count; ++i)
    {
        EXPECT_EQ(pe.exports[i].name, expected[i].name);
        EXPECT_EQ(pe.exports[i].ordinal, expected[i].ordinal) << expected[i].name;
    }
}

TEST(LibraryFile, MayUseExceptionHandlers)
{
    // Windows refuses every handler of an image marked NO_SEH, and with it
    // the guard around the converter; Wine does not enforce this, so only the
    // file can tell.
    const PeFile pe = ReadPeFile(ShippedApplet());
    ASSERT_TRUE(pe.valid);
    EXPECT_EQ(pe.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_NO_SEH, 0);
}

TEST(LibraryFile, ImportsOnlySystemDlls)
{
    const PeFile pe = ReadPeFile(ShippedApplet());
    ASSERT_TRUE(pe.valid);
    EXPECT_FALSE(pe.imports.empty());
    for (size_t i = 0; i < pe.imports.size(); ++i)
        EXPECT_TRUE(IsSystemDll(pe.imports[i])) << pe.imports[i] << " is not on every Windows";
}
}
