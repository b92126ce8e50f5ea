// The run-time binding of MITAB: the status of each kind of library, that a
// failed load leaves nothing callable behind, and that the built library is
// found beside the program by its bare name.

#include "formats/MitabBinding.h"
#include "formats/MitabName.h"
#include "support/TestUtils.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace Mapobjects;

namespace {

// Each case names its library and loads afresh, then puts the name back.
struct BindingTest : ::testing::Test {
    std::string Saved = MitabLibraryName();
    void TearDown() override {
        SetMitabLibraryName(Saved);
        MITAB_load();
    }
    int LoadFrom(const std::string& Name) {
        SetMitabLibraryName(Name);
        MITAB_load();
        return MITAB_LoadErr;
    }
};

std::string StandIn(const std::string& Kind) {
    return std::string(STANDIN_DIR) + "/libmitab_standin_" + Kind + ".so";
}

} // namespace

// Run in a fresh copy of the program, as other cases here do load.
TEST(BindingDeathTest, NothingIsLoadedBeforeTheFirstLoad) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(MITAB_LoadErr == -1 && !MITAB_LibOK() && !mitab_c_open ? 0 : 1),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(BindingTest, EachKindOfLibraryGivesItsStatus) {
    struct Case {
        const char* What;
        std::string Name;
        int Status;
        bool Opens; // mitab_c_open resolved afterwards
    };
    // The complete stand-in first, so that every failure after it also
    // shows that the entry points of the earlier load are gone.
    const Case Cases[] = {
        {"the right level", StandIn("bare"), 0, true},
        {"a missing file", StandIn("absent"), -2, false},
        {"the right level again", StandIn("bare"), 0, true},
        {"no version entry point", StandIn("noversion"), -3, false},
        {"the right level again", StandIn("bare"), 0, true},
        {"another level", StandIn("oldversion"), -4, false},
        {"no name (after shut-down)", "", -2, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        EXPECT_EQ(LoadFrom(C.Name), C.Status);
        EXPECT_EQ(MITAB_LibOK(), C.Status == 0);
        EXPECT_EQ(mitab_c_open != nullptr, C.Opens);
    }
}

TEST_F(BindingTest, ALibraryOfTheRightLevelMayLackEntryPoints) {
    ASSERT_EQ(LoadFrom(StandIn("bare")), 0);
    EXPECT_EQ(mitab_c_getlibversion(), MitabInterfaceVersion);
    EXPECT_EQ(mitab_c_create, nullptr);
    const std::vector<std::string> Missing = MITAB_MissingEntryPoints();
    EXPECT_EQ(std::count(Missing.begin(), Missing.end(), "mitab_c_open"), 0);
    EXPECT_EQ(std::count(Missing.begin(), Missing.end(), "mitab_c_create"), 1);
}

#ifdef CHARTIX_HAVE_MITAB
TEST_F(BindingTest, TheBuiltLibraryIsFoundBesideTheProgramByItsBareName) {
    ASSERT_EQ(Saved, "libmitab.so");
    ASSERT_EQ(LoadFrom(Saved), 0);
    EXPECT_EQ(mitab_c_getlibversion(), 1007000);
    EXPECT_TRUE(MITAB_MissingEntryPoints().empty());
    // What the library leaves out of the table stays null.
    EXPECT_EQ(mitab_c_set_arc, nullptr);
    EXPECT_NE(mitab_c_get_mif_coordsys, nullptr);
}
#endif
