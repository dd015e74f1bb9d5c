// The loader of lame_enc.dll and its entry-point checks.
#include <gtest/gtest.h>

#include "AudioTestSupport.h"
#include "recorder/audio/LameLibrary.h"

namespace {

struct LoaderCase {
    const char* library;
    const char* error;  // nullptr: loads
};

class LameLoader : public testing::TestWithParam<LoaderCase> {};

TEST_P(LameLoader, ChecksTheEntryPoints)
{
    const LoaderCase& c = GetParam();
    std::string path = audiotest::TestBinDir() + "\\" + c.library;
    HMODULE module = nullptr;
    LameEntryPoints e;
    const char* error = LoadLameLibrary(path.c_str(), &module, &e);
    if (!c.error) {
        ASSERT_EQ(nullptr, error) << error;
        EXPECT_NE(nullptr, module);
        EXPECT_NE(nullptr, e.beVersion);
        FreeLibrary(module);
        return;
    }
    ASSERT_NE(nullptr, error);
    EXPECT_STREQ(c.error, error);
    EXPECT_EQ(nullptr, module);
    // A refused library is not left loaded.
    EXPECT_EQ(nullptr, GetModuleHandleA(path.c_str()));
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, LameLoader,
    testing::Values(LoaderCase{"no_such_lame_enc.dll", "Error loading lame_enc.DLL"},
                    LoaderCase{"lame_stub_no_version.dll", "Unable to get LAME interfaces"},
                    LoaderCase{"lame_stub_no_infotag.dll", nullptr}));

TEST(LameLoader, LoadsTheShippedLibraryOnce)
{
    audiotest::UseProgramFolderDlls();
    EXPECT_NO_THROW(LoadLameDll());
    EXPECT_NO_THROW(LoadLameDll());
    EXPECT_NE(nullptr, LameApi().beInitStream);
    EXPECT_NE(nullptr, LameApi().beWriteInfoTag);
}

}  // namespace
