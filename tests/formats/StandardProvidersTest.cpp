// The library's standard providers, registered on request, and where the
// MITAB module is looked for.
#include "formats/StandardProviders.h"
#include "formats/MapInfoFormatProvider.h"
#include "formats/MitabBinding.h"
#include "formats/MitabName.h"
#include "formats/SimpleMIFFormatProvider.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace Mapobjects;

namespace {
// Every test leaves the registry as start-up made it.
struct StandardProviders : testing::Test {
    void TearDown() override { FormatProviders()->DestroyStandard(); }
};
} // namespace

TEST_F(StandardProviders, ComeAfterTheProgramsOwnWhicheverIsMadeFirst) {
    const int Start = FormatProviders()->Count();
    RegisterStandardProviders();
    RegisterStandardProviders(); // once only
    ASSERT_EQ(FormatProviders()->Count(), Start + 2);
    auto* Mif = FormatProviders()->Get(Start);
    EXPECT_TRUE(FormatProviders()->IsStandard(Mif));
    EXPECT_NE(dynamic_cast<TSimpleMIFFormatProvider*>(Mif), nullptr); // .mif: the built-in reader
    EXPECT_NE(dynamic_cast<TMapInfoFormatProvider*>(FormatProviders()->Get(Start + 1)), nullptr);
    EXPECT_EQ(FormatProviders()->FindSuitableProvider("a.tab"), FormatProviders()->Get(Start + 1));
    {
        TSimpleMIFFormatProvider Own(nullptr);
        EXPECT_EQ(FormatProviders()->IndexOf(&Own), Start);
        EXPECT_EQ(FormatProviders()->FindSuitableProvider("a.mif"), &Own);
    }
    EXPECT_EQ(FormatProviders()->FindSuitableProvider("a.mif"), Mif);
    FormatProviders()->DestroyStandard();
    EXPECT_EQ(FormatProviders()->Count(), Start);
}

TEST_F(StandardProviders, TheTableProviderWithoutItsModuleSaysWhyInsteadOfThrowing) {
    SetMitabLibraryName("libchartix-no-such-module.so");
    std::unique_ptr<TMapInfoFormatProvider> Tables;
    EXPECT_NO_THROW(Tables = std::make_unique<TMapInfoFormatProvider>(nullptr));
    EXPECT_FALSE(Tables->Available());
    EXPECT_EQ(Tables->UnavailableReason(), TMapInfoFormatProvider::MissingLibraryMessage());
    SetMitabLibraryName(DefaultMitabLibraryName);
    MITAB_load();
    EXPECT_EQ(Tables->Available(), MITAB_LibOK());
}

TEST_F(StandardProviders, ModuleFoldersAreTheUsersThenTheProgramsThenThePackages) {
    setenv(ModulePathVariable, "/opt/a:/opt/b/::", 1);
    const std::vector<std::string> Folders = ModuleDirectories();
    unsetenv(ModulePathVariable);
    ASSERT_EQ(Folders.size(), 4u);
    EXPECT_EQ(Folders[0], "/opt/a/");
    EXPECT_EQ(Folders[1], "/opt/b/");
    EXPECT_EQ(Folders[2], ApplicationDirectory());
    // The test program links the library from the build's bin folder.
    EXPECT_EQ(Folders[3], std::string(CHARTIX_BIN_DIR) + "/chartix/");
}
