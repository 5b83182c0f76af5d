// A test that starts from a fresh profile, an untouched desktop and an empty
// picture folder of its own, and can read back what a run stored.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cycle_types.h"
#include "settings_key.h"
#include "test_support.h"

class SettingsFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Points "ImageDir" at the test's folder and stores the switches.
    void UseFolder(int random);
    void StoreHistory(int h0, int h1, int h2);
    RotationHistory StoredHistory();
    // The name of the entry the desktop now shows, when it is one of the
    // folder's; empty otherwise.
    std::string ShownEntry();

    std::string folder;
};

#define EXPECT_HISTORY(fixture, e0, e1, e2)                                                                            \
    do                                                                                                                 \
    {                                                                                                                  \
        const RotationHistory stored = (fixture)->StoredHistory();                                                     \
        EXPECT_EQ(stored.h0, (e0)) << "LastImageShown";                                                                \
        EXPECT_EQ(stored.h1, (e1)) << "LastImageShown-1";                                                              \
        EXPECT_EQ(stored.h2, (e2)) << "LastImageShown-2";                                                              \
    } while (0)
