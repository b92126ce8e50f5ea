// Coordinate systems and charsets between .mif and .tab: never invented,
// never lost. Ours both ways (.mif -> .mif, .mif -> .tab -> .mif), and GDAL's
// reading of the result against its reading of the source.

#include "MapInfoFixture.h"

#include "objects/Symbol.h"

#include <sstream>

using namespace Mapobjects;
using namespace Platform;
using namespace Testing;

namespace {

#ifdef CHARTIX_HAVE_MITAB

// The layer's coordinate system as ogrinfo reads it from a file: the WKT's
// first line and the indented ones after it.
std::string OgrSrs(const std::string& File) {
    std::istringstream In(RunCommand(std::string(OGRINFO) + " -ro -so -al '" + File + "'"));
    std::string Line, Srs;
    while (std::getline(In, Line) && Line.rfind("Layer SRS WKT:", 0) != 0) {
    }
    if (std::getline(In, Line)) Srs = Line;
    while (std::getline(In, Line) && Line.rfind(" ", 0) == 0)
        Srs += "\n" + Line;
    return Srs;
}

std::string Header(const std::string& CoordSys) {
    return "Version 300\nCharset \"Neutral\"\nDelimiter \",\"\n" +
           (CoordSys.empty() ? "" : CoordSys + "\n") + "Columns 1\n  name Char(10)\nData\n\n";
}

struct TCrsCase {
    const char* What;
    std::string CoordSys;   // the source's header lines, empty for none
    std::string Read;       // what our reader keeps on the layer
    std::string ViaTab;     // the clause a .tab made of it gives back
    bool ExactViaTab;       // or only its start (bounds around the objects added)
    std::string GdalViaTab; // a word of GDAL's reading when it is not the source's
    double X, Y;
};

using CoordSys = MapInfoFixture;

TEST_F(CoordSys, NeitherInventedNorLostBetweenMifAndTab) {
    const std::string Utm = "CoordSys Earth Projection 8, 104, \"m\", -93, 0, 0.9996, 500000, 0";
    const std::string Lambert =
        "CoordSys Earth Projection 3, 33, \"m\", 3, 46.5, 44, 49, 700000, 6600000";
    const std::string Plane = "CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)";
    const std::string LonLat = "CoordSys Earth Projection 1, 104";
    const TCrsCase Cases[] = {
        // A table needs a system: plane metres, as GDAL's ogr2ogr makes it.
        {"none", "", "", "CoordSys NonEarth Units \"m\"", false, "Nonearth", 12.5, 3.25},
        {"UTM", Utm, Utm, Utm, false, "", 480000.5, 4980000.25},
        {"Lambert", Lambert, Lambert, Lambert, false, "", 650000.5, 6860000.25},
        // Its own bounds, which set the grid: nothing moves by a grid step.
        {"NonEarth with bounds", Plane, Plane, Plane, true, "", 100.125, 200.25},
        {"Bounds on a line of their own",
         "CoordSys NonEarth Units \"km\"\n  Bounds (-5, -5) (5, 5)",
         "CoordSys NonEarth Units \"km\" Bounds (-5, -5) (5, 5)",
         "CoordSys NonEarth Units \"km\" Bounds (-5, -5) (5, 5)", true, "", 1.5, -2.25},
        // The driver's own bounds for the system are not written out.
        {"longitude and latitude", LonLat, LonLat, LonLat, true, "", -5.5, 7.25},
    };
    for (const TCrsCase& C : Cases) {
        SCOPED_TRACE(C.What);
        const std::string Source = Dir.Path("source.mif");
        WriteFile(Source, Header(C.CoordSys) + Format("Point %.17g %.17g\n", C.X, C.Y));
        WriteFile(Dir.Path("source.mid"), "\"here\"\n");
        TMapLayer* Layer = Map.Layers().Add("", "source");
        ASSERT_TRUE(Mif.Load(Layer, Source));
        EXPECT_EQ(Layer->CoordSys(), C.Read);

        // .mif -> .mif: the source's lines, or none.
        ASSERT_TRUE(Mif.Save(Layer, Dir.Path("again.mif")));
        const std::string Again = ReadFile(Dir.Path("again.mif"));
        if (C.CoordSys.empty())
            EXPECT_EQ(Again.find("CoordSys"), std::string::npos) << Again;
        else
            EXPECT_NE(Again.find(C.CoordSys + "\n"), std::string::npos) << Again;

        // .mif -> .tab -> .mif: the clause with its keyword, the same system
        // in GDAL's eyes, and the point where it was.
        ASSERT_TRUE(Tab.Save(Layer, Dir.Path("table.tab")));
        TMapLayer* FromTab = Map.Layers().Add("", "table");
        ASSERT_TRUE(Tab.Load(FromTab, Dir.Path("table.tab")));
        if (C.ExactViaTab)
            EXPECT_EQ(FromTab->CoordSys(), C.ViaTab);
        else
            EXPECT_EQ(FromTab->CoordSys().rfind(C.ViaTab, 0), 0u) << FromTab->CoordSys();
        ASSERT_EQ(FromTab->ObjectCount(), 1);
        auto* P = dynamic_cast<TSymbol*>(FromTab->Objects(0));
        ASSERT_NE(P, nullptr);
        EXPECT_NEAR(P->X(), C.X, 1e-6);
        EXPECT_NEAR(P->Y(), C.Y, 1e-6);
        const std::string Result = Dir.Path("result.mif");
        ASSERT_TRUE(Mif.Save(FromTab, Result));
        if (C.GdalViaTab.empty())
            EXPECT_EQ(OgrSrs(Result), OgrSrs(Source));
        else
            EXPECT_NE(OgrSrs(Result).find(C.GdalViaTab), std::string::npos) << OgrSrs(Result);
        EXPECT_EQ(OgrSrs(Dir.Path("table.tab")), OgrSrs(Result));
        Map.Layers().Clear();
    }
}

// The charset goes into the .tab, where GDAL reads the text right, and
// comes back onto the layer, the text in UTF-8 as the MIF reader gives it.
TEST_F(CoordSys, TheCharsetSurvivesATable) {
    const std::string Source = Dir.Path("latin1.mif");
    WriteFile(Source, "Version 300\nCharset \"WindowsLatin1\"\nDelimiter \",\"\n"
                      "Columns 1\n  name Char(30)\nData\n\nPoint 1 2\n");
    WriteFile(Dir.Path("latin1.mid"), "\"C\xf4te d'Ivoire\"\n");
    TMapLayer* Layer = Map.Layers().Add("", "latin1");
    ASSERT_TRUE(Mif.Load(Layer, Source));
    ASSERT_TRUE(Tab.Save(Layer, Dir.Path("latin1.tab")));
    EXPECT_EQ(OgrInfo(Dir.Path("latin1.tab")).at(0).Values["name (String)"],
              "C\xc3\xb4te d'Ivoire");
    TMapLayer* FromTab = Map.Layers().Add("", "table");
    ASSERT_TRUE(Tab.Load(FromTab, Dir.Path("latin1.tab")));
    EXPECT_EQ(FromTab->Charset(), "WindowsLatin1");
    ASSERT_EQ(FromTab->ObjectCount(), 1);
    EXPECT_EQ(FromTab->Objects(0)->Row().Text(0), Layer->Objects(0)->Row().Text(0));
    EXPECT_EQ(FromTab->Objects(0)->Row().Text(0), "C\xc3\xb4te d'Ivoire");
    // Written back as a .mif in that charset, GDAL reads the same text.
    ASSERT_TRUE(Mif.Save(FromTab, Dir.Path("back.mif")));
    EXPECT_EQ(OgrInfo(Dir.Path("back.mif")).at(0).Values["name (String)"], "C\xc3\xb4te d'Ivoire");
}

// The original provider's output stays available: every table in
// longitude and latitude, text as it is.
TEST_F(CoordSys, TheClassicDialectWritesTheOriginalSystem) {
    const std::string Source = Dir.Path("utm.mif");
    WriteFile(Source, Header("CoordSys Earth Projection 8, 104, \"m\", -93, 0, 0.9996, 500000, 0") +
                          "Point 10 20\n");
    WriteFile(Dir.Path("utm.mid"), "\"here\"\n");
    TMapLayer* Layer = Map.Layers().Add("", "utm");
    ASSERT_TRUE(Mif.Load(Layer, Source));
    Tab.SetDialect(mdClassic);
    ASSERT_TRUE(Tab.Save(Layer, Dir.Path("classic.tab")));
    TMapLayer* FromTab = Map.Layers().Add("", "table");
    ASSERT_TRUE(Tab.Load(FromTab, Dir.Path("classic.tab")));
    EXPECT_EQ(FromTab->CoordSys().rfind("CoordSys Earth Projection 1, 0", 0), 0u)
        << FromTab->CoordSys();
}

#endif

} // namespace
