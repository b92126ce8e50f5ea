// Workspaces: the bundled sample, the settings each statement carries, and
// workspaces over missing and damaged tables (a projected one: ProviderTest).

#include "MapInfoFixture.h"

#include "formats/MifStyles.h"
#include "objects/Symbol.h"

#include <cfloat>
#include <filesystem>
#include <functional>

using namespace Mapobjects;
using namespace Platform;
using namespace Testing;

#ifdef CHARTIX_HAVE_MITAB

namespace {

const std::string Samples = std::string(CHARTIX_SOURCE_DIR) + "/samples/";

struct WorkspaceTest : MapInfoFixture {
    // The sample tables copied under another name: towns (points) and
    // roads (regions, for the purpose).
    void Copy(const std::string& From, const std::string& To) {
        for (const char* Ext : {".tab", ".dat", ".map", ".id"})
            std::filesystem::copy_file(Samples + From + Ext, Dir.Path(To + Ext));
    }
    std::string Workspace(const std::string& Body) {
        const std::string File = Dir.Path("test.wor");
        WriteFile(File, "!Workspace\n!Version 600\n!Charset Neutral\n" + Body);
        return File;
    }
    static std::string Names(const TChartix& Map) {
        std::string S;
        for (int I = 0; I < Map.Layers().Count(); ++I)
            S += (I ? "," : "") + Map.Layers().GetLayer(I)->Name();
        return S;
    }
};

TEST_F(WorkspaceTest, TheSampleWorkspace) {
    TReadProblems Problems;
    Map.LoadWOR(Samples + "world.wor", Problems);
    EXPECT_TRUE(Problems.Empty());
    ASSERT_EQ(Names(Map), "Countries,Places");
    TMapLayer* Countries = Map.Layers().GetLayer(0);
    TMapLayer* Places = Map.Layers().GetLayer(1);
    auto Settings = [](TMapLayer* L) {
        return std::tuple(L->ObjectCount(), L->Editable(), L->AutoLabel(), L->Visible());
    };
    EXPECT_EQ(Settings(Countries), std::tuple(177, true, false, true));
    EXPECT_EQ(Settings(Places), std::tuple(177, false, true, true));
    EXPECT_EQ(std::pair(Map.CenterX(), Map.CenterY()), std::pair(10.0, 20.0));

    // Layer 1 (places, on top): a brush with its back colour, a font.
    const TMapStyle& P = Places->WorkspaceStyle();
    EXPECT_EQ(std::tuple(P.InForce, P.BrushColor, P.UseBGColor, P.BGColor, P.PenColor, P.FontName,
                         P.FontColor),
              std::tuple(true, MifColorToColor(11549230), true, clWhite, clBlack, "DejaVu Sans",
                         MifColorToColor(4210752)));
    // Countries show while the window is at most 50000 km wide; the range
    // of places is off.
    EXPECT_NEAR(Countries->MinZoom(), 360 / (50000 / 111.31949079327357), 1e-9);
    EXPECT_EQ(Countries->MaxZoom(), DBL_MAX);
    EXPECT_EQ(std::pair(Places->MinZoom(), Places->MaxZoom()), std::pair(0.0, 0.0));
    // Places' labels: right of the point, 2 pixels off, giving way to others.
    EXPECT_EQ(Places->LabelSettings(), (TLabelSettings{lpRight, 2, false}));
}

// The Label clause as workspaces write it: placement, overlap, the label
// font and its halo, and the column it shows. Words that do not read are
// told, and the rest of the clause still counts.
TEST_F(WorkspaceTest, LabelClausesSetTheLayersLabels) {
    TMapLayer* Made = Map.Layers().Add("", "made");
    Made->Fields().Add("POP", dtInteger, 0);
    Made->Fields().Add("NAME", dtString, 20);
    Place(Made->NewObject<TSymbol>(), 1, 2);
    ASSERT_TRUE(Tab.Save(Made, Dir.Path("towns.tab")));
    const std::string Head = "Open Table \"towns\" As towns\nMap From towns\nSet Map\n"
                             "  Layer 1\n    Display Graphic\n    Label ";
    const std::string Good = "Font (\"DejaVu Sans\",257,10,255,65280) Pen (1,2,0)\n"
                             "      With NAME\n      Parallel On Auto On Overlap Off Offset 3\n";
    const std::string Says[] = {"Position: expected center, above, below, left or right",
                                "Offset: expected a number of pixels",
                                "Overlap: expected On or Off",
                                "Font: expected (name, style, size, colour[, background])"};
    for (bool Damaged : {false, true}) {
        Map.Layers().Clear();
        TReadProblems Problems;
        Map.LoadWOR(
            Workspace(Head +
                      (Damaged ? "Position Sideways Offset x Overlap Maybe Font (\"A\",x,9,0) "
                               : "Line None ") +
                      "Position Above Right " + Good),
            Problems);
        std::string Said;
        for (const TReadProblem& P : Problems.Items())
            Said += TReadProblems::Describe(P) + "\n";
        for (const std::string& What : Says)
            EXPECT_EQ(Said.find(Dir.Path("test.wor") + ":9: Label: " + What) != std::string::npos,
                      Damaged)
                << Said;
        ASSERT_EQ(Names(Map), "towns");
        TMapLayer* L = Map.Layers().GetLayer(0);
        // Style 256: a halo in the background colour.
        EXPECT_EQ(L->LabelSettings(), (TLabelSettings{lpAboveRight, 3, false, true, clLime}));
        EXPECT_EQ(L->LabelFieldIndex(), 1);
        const TFont& F = *L->AutoLabelFont();
        EXPECT_EQ(std::tuple(F.Name(), F.Size(), F.Color()), std::tuple("DejaVu Sans", 10, clBlue));
    }
}

TEST_F(WorkspaceTest, MapFromOrdersTheLayersAndLeavesOutTheOthers) {
    Copy("places", "towns");
    Copy("countries", "roads");
    Copy("places", "rivers");
    Map.LoadWOR(Workspace("Open Table \"roads\" As roads Interactive\n"
                          "Open Table \"towns\" As towns Interactive\n"
                          "Open Table \"rivers\" As rivers Interactive\n"
                          "Map From towns, roads\n  Position (0.1,0.1) Units \"in\"\n"));
    EXPECT_EQ(Names(Map), "roads,towns");
    EXPECT_EQ(Map.Layers().GetLayer(0)->ObjectCount(), 177);
    EXPECT_EQ(Map.Layers().GetLayer(0)->FileName(), Dir.Path("roads.tab"));
    // Without styles of its own, a layer keeps the table's.
    EXPECT_FALSE(Map.Layers().GetLayer(0)->HasWorkspaceStyle());
    EXPECT_EQ(Map.Layers().GetLayer(0)->Objects(0)->Brush()->Color(), MifColorToColor(14279846));
    // Windows folders and an upper-case table name.
    std::filesystem::create_directory(Dir.Path("sub"));
    std::filesystem::rename(Dir.Path("towns.tab"), Dir.Path("sub/TOWNS.TAB"));
    for (const char* Ext : {".dat", ".map", ".id"})
        std::filesystem::rename(Dir.Path(std::string("towns") + Ext),
                                Dir.Path(std::string("sub/TOWNS") + Ext));
    Map.Layers().Clear();
    Map.LoadWOR(Workspace("Open Table \"sub\\TOWNS\" As towns\nMap From towns\n"));
    ASSERT_EQ(Names(Map), "towns");
    EXPECT_EQ(Map.Layers().GetLayer(0)->ObjectCount(), 177);
}

// One statement at a time, on towns (layer 2) below roads (layer 1).
TEST_F(WorkspaceTest, LayerSettingsOfEachStatement) {
    Copy("places", "towns");
    Copy("countries", "roads");
    const std::string Head = "Open Table \"towns\" As towns\nOpen Table \"roads\" As roads\n"
                             "Map From roads,towns\n";
    struct Case {
        const char* Statements;
        std::function<void(TMapLayer* Roads, TMapLayer* Towns)> Check;
    };
    const Case Cases[] = {
        {"Set Map Layer 1 Display Off\n",
         [](TMapLayer* R, TMapLayer* T) {
             EXPECT_FALSE(R->Visible());
             EXPECT_TRUE(T->Visible());
             EXPECT_FALSE(R->HasWorkspaceStyle());
         }},
        {"Set Map Layer 1 Display Global Global Brush (2,16711680,0)\n",
         [](TMapLayer* R, TMapLayer*) {
             EXPECT_EQ(R->WorkspaceStyle().BrushColor, clRed);
             EXPECT_EQ(R->WorkspaceStyle().BrushStyle, bsSolid);
             EXPECT_FALSE(R->WorkspaceStyle().UseBGColor);
             EXPECT_EQ(R->Objects(0)->Brush()->Color(), clRed);
             EXPECT_FALSE(R->Objects(0)->UseBGColor());
         }},
        {"Set Map Layer 1 Display Global Brush (8,255,65280)\n",
         [](TMapLayer* R, TMapLayer*) {
             EXPECT_EQ(R->Objects(0)->Brush()->Color(), clBlue);
             EXPECT_EQ(R->Objects(0)->Brush()->Style(), bsDiagCross);
             EXPECT_EQ(R->Objects(0)->BGColor(), clLime);
             EXPECT_TRUE(R->Objects(0)->UseBGColor());
         }},
        {"Set Map Layer 1 Display Global Pen (35,2,0)\n",
         [](TMapLayer* R, TMapLayer*) { EXPECT_EQ(R->WorkspaceStyle().PenWidth, 1); }},
        {"Set Map Layer 1 Display Global Pen (9,2,0)\n",
         [](TMapLayer* R, TMapLayer*) { EXPECT_EQ(R->WorkspaceStyle().PenWidth, 0); }},
        // One record for the whole load, bottom layer first: the pen that
        // layer 1 leaves out is the one layer 2 set.
        {"Set Map Layer 2 Display Global Pen (3,2,255)\n"
         "Set Map Layer 1 Display Global Brush (2,255,0)\n",
         [](TMapLayer* R, TMapLayer* T) {
             EXPECT_EQ(T->WorkspaceStyle().PenWidth, 3);
             EXPECT_EQ(R->WorkspaceStyle().BrushColor, clBlue);
             EXPECT_EQ(R->WorkspaceStyle().PenWidth, 3);
             EXPECT_EQ(R->Objects(0)->Pen()->Color(), clBlue);
         }},
        {"Set Map Layer 2 Display Global Font (\"Verdana, Bold\",1,9,16711680,65535)\n",
         [](TMapLayer*, TMapLayer* T) {
             EXPECT_EQ(T->WorkspaceStyle().FontName, "Verdana, Bold");
             EXPECT_EQ(T->WorkspaceStyle().FontColor, clRed);
             EXPECT_EQ(T->WorkspaceStyle().TextBGColor, clAqua);
         }},
        {"Set Map Layer 1 Zoom (100, 1000) Units \"km\" On\n",
         [](TMapLayer* R, TMapLayer* T) {
             const double KmPerDegree = 111.31949079327357;
             EXPECT_NEAR(R->MinZoom(), 360 / (1000 / KmPerDegree), 1e-9);
             EXPECT_NEAR(R->MaxZoom(), 360 / (100 / KmPerDegree), 1e-9);
             EXPECT_EQ(T->MinZoom(), 0);
         }},
        // The centre is set only when both numbers are non-zero.
        {"Set Map Center (0,55)\n",
         [&](TMapLayer*, TMapLayer*) {
             EXPECT_EQ(std::pair(Map.CenterX(), Map.CenterY()), std::pair(1.0, 2.0));
         }},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Statements);
        Map.Layers().Clear();
        Map.SetCenterX(1);
        Map.SetCenterY(2);
        Map.LoadWOR(Workspace(Head + C.Statements));
        ASSERT_EQ(Names(Map), "towns,roads");
        C.Check(Map.Layers().GetLayer(1), Map.Layers().GetLayer(0));
    }
}

// Bad input: each is told by file name, what can be loaded is.
TEST_F(WorkspaceTest, MissingAndDamagedTablesAreToldAndTheRestLoads) {
    Copy("places", "towns");
    Copy("countries", "nodat");
    std::filesystem::remove(Dir.Path("nodat.dat"));
    TReadProblems Problems;
    Map.LoadWOR(Workspace("Open Table \"absent\" As absent\nOpen Table \"nodat\" As nodat\n"
                          "Open Table \"towns\" As towns\nMap From towns, nodat, absent\n"),
                Problems);
    EXPECT_EQ(Names(Map), "nodat,towns");
    EXPECT_EQ(Map.Layers().GetLayer(0)->ObjectCount(), 0);
    EXPECT_EQ(Map.Layers().GetLayer(1)->ObjectCount(), 177);
    std::string All;
    for (const TReadProblem& P : Problems.Items())
        All += TReadProblems::Describe(P) + "\n";
    EXPECT_NE(All.find("table absent.tab not found"), std::string::npos) << All;
    EXPECT_NE(All.find("nodat.dat is missing"), std::string::npos) << All;
    EXPECT_NE(All.find(Dir.Path("test.wor")), std::string::npos) << All;
}

// Lines cut short or garbled: a clause that does not read raises, and an
// Open Table or a centre that does not read is told; either way the file,
// the line and what was expected are named, and no internal text shows.
TEST_F(WorkspaceTest, DamagedLinesAreToldByFileLineAndWhatWasExpected) {
    Copy("places", "towns");
    Copy("countries", "roads");
    const std::string Head = "Open Table \"towns\" As towns\nOpen Table \"roads\" As roads\n";
    const std::string Both = Head + "Map From roads,towns\n";
    enum TOutcome { Told, Raised, Silent };
    struct Case {
        std::string Body;
        TOutcome Outcome;
        const char* Says; // with "test.wor:LINE: " before it
        const char* Layers;
    };
    const Case Cases[] = {
        {Head + "Open Table \"t1\" As\nMap From roads,towns\n", Told,
         "6: Open Table: expected an alias after As", "towns,roads"},
        {Head + "Open Table \"t1\nMap From roads,towns\n", Told,
         "6: Open Table: expected the table's path in double quotes", "towns,roads"},
        {Head + "Open Table \"", Told, "6: Open Table: expected the table's path", ""},
        {Both + "Set Map Center (", Told, "7: Center: expected (x, y)", "towns,roads"},
        {Both + "Set Map Layer 1 Display Global Pen (x,2,0)\n", Raised,
         "7: Pen: expected (width, pattern, colour), item 1 is \"x\"", "towns,roads"},
        {Both + "Set Map Layer 1 Display Global Brush (2)\n", Raised,
         "7: Brush: expected (pattern, colour[, background]), found 1 item(s)", "towns,roads"},
        {Both + "Set Map Layer 2 Display Global Font (\"Arial\",0)\n", Raised,
         "7: Font: expected (name, style, size, colour[, background]), found 2", "towns"},
        // Cut short where nothing is left to read: nothing is set.
        {Both + "Set Map Layer 1 Display Global Brush (", Silent, "", "towns,roads"},
        {Head + "Map From", Silent, "", ""},
        {Head + "Map From roads,", Silent, "", "roads"},
    };
    EXPECT_THROW(Map.LoadWOR(Dir.Path("none.wor")), EFOpenError);
    const std::string File = Dir.Path("test.wor");
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Body);
        Map.Layers().Clear();
        TReadProblems Problems;
        std::string Said;
        try {
            Map.LoadWOR(Workspace(C.Body), Problems);
        } catch (const Platform::Exception& E) {
            Said = E.what();
            EXPECT_EQ(C.Outcome, Raised) << Said;
        }
        for (const TReadProblem& P : Problems.Items())
            Said += TReadProblems::Describe(P) + "\n";
        if (C.Outcome == Silent)
            EXPECT_EQ(Said, "");
        else
            EXPECT_NE(Said.find(File + ":" + C.Says), std::string::npos) << Said;
        EXPECT_EQ(Said.find("basic_string"), std::string::npos) << Said;
        EXPECT_EQ(Names(Map), C.Layers);
    }
}

// Of two map windows the last one is loaded, and every setting comes from
// it, none from the first.
TEST_F(WorkspaceTest, TheLastMapWindowGivesTheLayersAndAllTheirSettings) {
    Copy("places", "towns");
    Copy("countries", "roads");
    TReadProblems Problems;
    Map.LoadWOR(Workspace("Open Table \"towns\" As towns\nOpen Table \"roads\" As roads\n"
                          "Map From towns\n"
                          "Set Map Center (1.5,2.5)\n"
                          "Set Map Layer 1 Display Off\n"
                          "Set Map Layer 1 Label Auto On\n"
                          "Set Map Layer 1 Zoom (100, 1000) Units \"km\" On\n"
                          "Map From roads,towns\n"
                          "Set Map Layer 2 Editable\n"
                          "Set Map Center (37.5,55.75)\n"
                          "Set Map Layer 1 Display Global Pen (1,2,255)\n"),
                Problems);
    EXPECT_TRUE(Problems.Empty());
    ASSERT_EQ(Names(Map), "towns,roads");
    TMapLayer* Towns = Map.Layers().GetLayer(0);
    TMapLayer* Roads = Map.Layers().GetLayer(1);
    EXPECT_EQ(std::pair(Map.CenterX(), Map.CenterY()), std::pair(37.5, 55.75));
    EXPECT_TRUE(Roads->Visible());
    EXPECT_FALSE(Roads->AutoLabel());
    EXPECT_EQ(Roads->MinZoom(), 0);
    EXPECT_EQ(Roads->WorkspaceStyle().PenColor, clBlue);
    EXPECT_TRUE(Towns->Editable());
}

} // namespace

#endif
