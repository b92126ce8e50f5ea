// Files as other programs write them, unfiltered: the samples made by GDAL's
// ogr2ogr from public data, one of them with a feature GDAL failed to write.
#include "formats/MifFixture.h"

using namespace Mapobjects;
using namespace Platform;

using MifRealFiles = Testing::MifFixture;

TEST_F(MifRealFiles, EveryFeatureLoadsAndEveryRowStaysWithItsObject) {
    struct TCase {
        const char* Name;
        int Objects;  // what GDAL's ogrinfo counts
        int Problems; // what we report
    } Cases[] = {{"countries.mif", 177, 0}, {"places.mif", 177, 0}, {"us-counties.mif", 3231, 1}};
    for (const TCase& C : Cases) {
        TMapLayer* L = Map.Layers().Add("", C.Name);
        ASSERT_TRUE(Provider.Load(L, std::string(CHARTIX_SOURCE_DIR) + "/samples/" + C.Name));
        EXPECT_EQ(L->ObjectCount(), C.Objects) << C.Name;
        EXPECT_EQ(Provider.Problems().Count(), C.Problems) << C.Name;
    }

    // GDAL left "Region 1" without a ring, and no row, for the county whose
    // geometry it could not write. That object stays, without values, and
    // every other object has its own row: the last object the last row.
    TMapLayer* Counties = Map.Layers().Last();
    auto Name = [&](int I) { return Counties->Objects(I)->Fields().GetFields(1)->AsString(); };
    EXPECT_EQ(Counties->Objects(629)->Parts().Count(), 0);
    EXPECT_EQ(std::vector({Name(628), Name(629), Name(630), Name(3230)}),
              std::vector<std::string>({"Guilford", "", "Lexington", "Yavapai"}));
    // The single message names the problem.
    ASSERT_EQ(RecordedMessages().size(), 1u);
    EXPECT_EQ(RecordedMessages()[0].Text, "Error reading mif-file at line 14644 with message: "
                                          "Region statement cut short by the next statement!");
}
