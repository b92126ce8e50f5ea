// The CoordSys line: a clause that lost its keyword (as earlier versions
// wrote a table's system) is read as the clause it is, said, and written
// back whole, so that other readers see it.
#include "formats/MifFixture.h"

using namespace Mapobjects;
using Testing::ReadFile;
using Testing::WriteFile;

namespace {

using MifCoordSys = Testing::MifFixture;

TEST_F(MifCoordSys, AClauseWithoutItsKeywordIsReadToldAndWrittenWhole) {
    struct TCase {
        const char* Line;     // the header's lines
        const char* CoordSys; // what the layer keeps and the file gets back
    } Cases[] = {
        {"Earth Projection 8, 104, \"m\", -93, 0, 0.9996, 500000, 0\n",
         "CoordSys Earth Projection 8, 104, \"m\", -93, 0, 0.9996, 500000, 0"},
        {"NonEarth Units \"m\"\n  Bounds (0, 0) (10, 10)\n",
         "CoordSys NonEarth Units \"m\" Bounds (0, 0) (10, 10)"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Line);
        WriteFile(Path("a.mif"),
                  std::string("Version 300\nCharset \"Neutral\"\nDelimiter \",\"\n") + C.Line +
                      "Columns 1\n  n Integer\nData\nPoint 1 2\n");
        WriteFile(Path("a.mid"), "7\n");
        ASSERT_TRUE(Provider.Load(Layer, Path("a.mif")));
        EXPECT_EQ(Layer->CoordSys(), C.CoordSys);
        ASSERT_EQ(Provider.Problems().Items().size(), 1u);
        EXPECT_EQ(Provider.Problems().Items()[0].Line, 4);
        ASSERT_TRUE(Provider.Save(Layer, Path("b.mif")));
        EXPECT_EQ(ReadFile(Path("b.mif")),
                  std::string("Version 300\nCharset \"Neutral\"\nDelimiter \",\"\n") + C.CoordSys +
                      "\nColumns 1\n  n Integer\nData\nPoint 1 2\n");
        Layer->DeleteObjects();
    }
    // A word that merely starts alike is no clause.
    WriteFile(Path("c.mif"), "Version 300\nEarthworks 3\nColumns 0\nData\nPoint 1 2\n");
    ASSERT_TRUE(Provider.Load(Layer, Path("c.mif")));
    EXPECT_EQ(Layer->CoordSys(), "");
}

} // namespace
