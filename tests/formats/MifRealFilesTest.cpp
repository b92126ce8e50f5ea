// Files as other programs write them, unfiltered: the samples made by GDAL's
// ogr2ogr from public data, one of them with a feature GDAL failed to write.
#include "formats/MifFixture.h"
#include "support/GdalTools.h"

using namespace Mapobjects;
using namespace Platform;

namespace {

std::string Sample(const std::string& Name) {
    return std::string(CHARTIX_SOURCE_DIR) + "/samples/" + Name;
}

// The feature count that GDAL's ogrinfo gives for a file, or -1 without it.
int OgrFeatureCount(const std::string& File) {
    const std::string Output = Testing::RunCommand("ogrinfo -ro -so -al '" + File + "'");
    const size_t At = Output.find("Feature Count: ");
    return At == std::string::npos ? -1 : std::atoi(Output.c_str() + At + 15);
}

// One column of the .mid rows of a file, unquoted.
std::vector<std::string> ColumnOf(const std::string& MidFile, int Column) {
    std::vector<std::string> Items;
    std::istringstream In(Testing::ReadFile(MidFile));
    for (std::string Line; std::getline(In, Line);) {
        std::string Item;
        bool Quoted = false;
        int At = 0;
        for (char C : Line) {
            if (C == '"')
                Quoted = !Quoted;
            else if (C == ',' && !Quoted)
                ++At;
            else if (At == Column)
                Item += C;
        }
        Items.push_back(Item);
    }
    return Items;
}

struct MifRealFiles : Testing::MifFixture {};

} // namespace

TEST_F(MifRealFiles, EveryFeatureLoadsAndEveryRowStaysWithItsObject) {
    struct TCase {
        const char* Name;
        int Objects;  // what ogrinfo counts
        int Problems; // what we report
    } Cases[] = {{"countries.mif", 177, 0}, {"places.mif", 177, 0}, {"us-counties.mif", 3231, 1}};
    for (const TCase& C : Cases) {
        TMapLayer* L = Map.Layers().Add("", C.Name);
        ASSERT_TRUE(Provider.Load(L, Sample(C.Name))) << C.Name;
        EXPECT_EQ(L->ObjectCount(), C.Objects) << C.Name;
        if (const int Ogr = OgrFeatureCount(Sample(C.Name)); Ogr >= 0) {
            EXPECT_EQ(L->ObjectCount(), Ogr) << C.Name;
        }
        EXPECT_EQ(Provider.Problems().Count(), C.Problems) << C.Name;
    }

    // GDAL left "Region 1" without a ring, and no row, for the county whose
    // geometry it could not write. That object stays, without values, and
    // every other object has its own row: the last object the last row.
    TMapLayer* Counties = Map.Layers().Last();
    const TReadProblem& P = Provider.Problems().Items().at(0);
    EXPECT_EQ(P.Line, 14644);
    EXPECT_EQ(P.Message, "Region statement cut short by the next statement");
    const std::vector<std::string> Names =
        ColumnOf(Sample("us-counties.mid"), Counties->Fields().Count() - 1);
    ASSERT_EQ(Names.size(), 3230u);
    int Empty = -1;
    for (int I = 0, Row = 0; I < Counties->ObjectCount(); ++I) {
        TCustomMapObject* O = Counties->Objects(I);
        if (O->Parts().Count() == 0) {
            Empty = I;
            EXPECT_EQ(O->Fields().GetFields(1)->AsString(), "");
            continue;
        }
        ASSERT_EQ(O->Fields().GetFields(1)->AsString(), Names[Row++]) << "object " << I;
    }
    EXPECT_EQ(Empty, 629);
    EXPECT_EQ(Counties->Objects(630)->Fields().GetFields(1)->AsString(), "Lexington");

    // The single message names the problem.
    ASSERT_EQ(RecordedMessages().size(), 1u);
    EXPECT_EQ(RecordedMessages()[0].Text, "Error reading mif-file at line 14644 with message: "
                                          "Region statement cut short by the next statement!");
}
