// Reading MIF/MID pairs: what the files of tests/data/formats/read do not show.
#include "formats/MifFixture.h"
#include "objects/Multi.h"

#include <functional>

using namespace Mapobjects;
using namespace Platform;
using Testing::RowOf;

namespace {

struct MifReader : Testing::MifFixture {
    bool Load(std::string_view Mif, const char* Mid = nullptr) {
        Testing::WriteFile(Path("a.mif"), Mif);
        std::filesystem::remove(Path("a.mid"));
        if (Mid) Testing::WriteFile(Path("a.mid"), Mid);
        return Provider.Load(Layer, Path("a.mif"));
    }
};

} // namespace

TEST_F(MifReader, OvalsAndArcsBecomeTheShapesTheyDraw) {
    ASSERT_TRUE(Load("Data\nEllipse 0 0 8 2\nArc 0 0 2 2\n  0 90\n"));
    EXPECT_EQ(Messages(), "");
    // An oval becomes a closed region ring on the ellipse.
    const TMapPoints& Oval = Obj<TRegion>(0)->Parts().Items(0)->Points();
    ASSERT_GT(Oval.Count(), 16);
    for (const TMapPoint& Q : Oval)
        EXPECT_NEAR((Q.X - 4) * (Q.X - 4) / 16 + (Q.Y - 1) * (Q.Y - 1), 1, 1e-9);
    // An arc is the polyline it draws: east to north about (1, 1).
    TMapPoints& Arc = Obj<TPolyline>(1)->Parts().Items(0)->Points();
    EXPECT_NEAR(Arc.GetPoint(0).X, 2, 1e-9);
    EXPECT_NEAR(Arc.GetPoint(Arc.Count() - 1).Y, 2, 1e-9);
}

TEST_F(MifReader, FilesLayersAndProgress) {
    EXPECT_FALSE(Provider.Load(Layer, Path("none.mif")));
    Testing::WriteFile(Path("a.mif"), "Data\nPoint 1 1\n");
    EXPECT_FALSE(Provider.Load(nullptr, Path("a.mif")));
    TMapLayer Loose; // no map
    EXPECT_FALSE(Provider.Load(&Loose, Path("a.mif")));

    // Geometry without a .mid; objects already in the layer stay; Columns
    // replaces the field list.
    Layer->Fields().Add("OLD", dtFloat, 0);
    Layer->NewObject<TRegion>();
    std::vector<std::string> Log;
    int Max = -1, Last = -1;
    Map.OnStartProgress = [&](TObject*, int Min, int M, const std::string& Title) {
        Log.push_back(std::to_string(Min) + " " + Title);
        Max = M;
    };
    Map.OnShowProgress = [&](TObject*, int P) { Last = std::max(Last, P); };
    Map.OnStopProgress = [&](TObject*) { Log.push_back("stop"); };
    const std::string Mif = "Columns 1\nNEW Integer\nData\nPoint 1 1\nPoint 2 2\n";
    ASSERT_TRUE(Load(Mif));
    EXPECT_EQ(Log, (std::vector<std::string>{"0 Loading file", "stop"}));
    EXPECT_EQ(Max, static_cast<int>(Mif.size()));
    EXPECT_GT(Last, 0);
    EXPECT_LE(Last, Max);
    ASSERT_EQ(Layer->ObjectCount(), 3);
    EXPECT_EQ(Layer->Fields().GetFields(0)->Name(), "NEW");
    EXPECT_TRUE(Layer->Objects(2)->Fields().GetFields(0)->Value().IsEmpty());

    // An upper-case pair from another system.
    Testing::WriteFile(Path("B.MIF"), "Columns 1\nN Integer\nData\nPoint 1 1\n");
    Testing::WriteFile(Path("B.MID"), "42\n");
    ASSERT_TRUE(Provider.Load(Layer, Path("B.MIF")));
    EXPECT_EQ(RowOf(Layer->Objects(3)), "42");
    // Only the load without its .mid said anything.
    EXPECT_EQ(Messages(), "Error reading mif-file at line 1 with message: a.mid, which holds the "
                          "values of the columns, is missing: the objects are read without "
                          "values!\n");
}

TEST_F(MifReader, IdentityAndClauseWordsInFontNames) {
    EXPECT_EQ(Provider.Description(), "MapInfo Interchange Format (MIF) Provider (simple edition)");
    EXPECT_EQ(Provider.Filter(), "MapInfo Interchange Format Files (*.mif)|*.mif");
    EXPECT_EQ(GUIDToString(Provider.GetGUID()), "{830DF284-6671-4CD9-BE3C-CAF9B6DB2E2C}");
    EXPECT_TRUE(Provider.CanProcessFile("/data/ROADS.MIF"));
    EXPECT_FALSE(Provider.CanProcessFile("roads.mif.bak"));
    EXPECT_EQ(FormatProviders()->FindSuitableProvider("x.mif"), &Provider);

    // A centre has no effect on reading: only this answer shows it is known.
    // A font's name may hold another clause's word: the clause's own word wins.
    using P = TSimpleMIFFormatProvider;
    EXPECT_EQ(P::IsObjAttrString("Center 1 2"), oaCenter);
    EXPECT_EQ(P::IsObjAttrString("Font (\"Open Sans\",0,0,0)"), oaFont);
    EXPECT_EQ(P::IsObjAttrString("Symbol (35,0,12,\"OpenSymbol\",0,0)"), oaSymbol);
}

TEST_F(MifReader, ObjectsOfOneLookShareTheirToolsAndObjectsWithoutColumnsHaveNoRow) {
    ASSERT_TRUE(Load("Data\n"
                     "Point 1 1\nSymbol (35,255,12)\nPoint 2 2\nSymbol (35,255,12)\n"
                     "Point 3 3\nSymbol (36,255,12)\nPoint 4 4\nSymbol (35,65280,12)\n"
                     "Pline 2\n0 0\n1 1\nPen (1,2,255)\nPline 2\n0 0\n2 2\nPen (1,2,255)\n"));
    EXPECT_EQ(Messages(), "");
    ASSERT_EQ(Layer->ObjectCount(), 6);
    auto Font = [&](int I) { return Obj<TSymbol>(I)->ReadFont(); };
    EXPECT_EQ(Font(0), Font(1));
    EXPECT_EQ(Font(1), Font(2)); // the shape is the symbol's, not the font's
    EXPECT_NE(Font(2), Font(3));
    EXPECT_EQ(Font(3)->Color(), TColor(0x00FF00));
    EXPECT_EQ(Obj<TPolyline>(4)->ReadPen(), Obj<TPolyline>(5)->ReadPen());
    for (int I = 0; I < Layer->ObjectCount(); ++I)
        EXPECT_FALSE(Layer->Objects(I)->HasRow()) << I;

    Obj<TSymbol>(1)->Font()->SetSize(20);
    EXPECT_EQ(std::tuple(Font(0)->Size(), Font(1)->Size(), Font(2)->Size()),
              std::tuple(12, 20, 12));
    EXPECT_EQ(Font(0), Font(2));
    // What is written is saved, what is shared is saved alike.
    ASSERT_TRUE(Layer->SaveToFile(Path("b.mif")));
    const std::string Saved = Testing::ReadFile(Path("b.mif"));
    EXPECT_NE(Saved.find("Symbol (35,255,20)"), std::string::npos) << Saved;
    EXPECT_NE(Saved.find("Symbol (36,255,12)"), std::string::npos) << Saved;
}

TEST_F(MifReader, ALayerKnowsItHasUnsavedChangesUntilLoadedOrSaved) {
    Testing::WriteFile(Path("c.mif"), "Data\nPoint 1 1\nPoint 2 2\n");
    EXPECT_FALSE(Layer->Modified());
    ASSERT_TRUE(Layer->LoadFromFile(Path("c.mif"), ""));
    EXPECT_FALSE(Layer->Modified()) << "what was read is what the file holds";
    using TStep = std::function<void()>;
    const std::pair<const char*, TStep> Changes[] = {
        {"add", [&] { Layer->NewObject<TSymbol>(); }},
        {"delete", [&] { Layer->DeleteObject(0); }},
        {"take out", [&] { (void)Layer->RemoveObject(Layer->Objects(0)); }},
        {"columns", [&] { (void)Layer->SetFields(std::make_unique<TDataFields>()); }},
        {"delete all", [&] { Layer->DeleteObjects(); }},
    };
    for (const auto& [What, Change] : Changes) {
        ASSERT_TRUE(Layer->SaveToFile(Path("c.mif")));
        EXPECT_FALSE(Layer->Modified()) << What;
        Change();
        EXPECT_TRUE(Layer->Modified()) << What;
    }
    EXPECT_ANY_THROW(Layer->SaveToFile(Path("no/such/folder/c.mif")));
    EXPECT_TRUE(Layer->Modified()) << "a failed save keeps the changes unsaved";
}

// A failure from outside the file (here a progress handler) stops the
// reading where it happened, in the library's words: the standard library's
// own texts never reach the user.
TEST_F(MifReader, AFailureFromOutsideTheFileIsToldInTheLibrarysWords) {
    int Calls = 0;
    Map.OnShowProgress = [&](TObject*, int) {
        if (++Calls == 3) throw std::out_of_range("basic_string::substr");
    };
    ASSERT_TRUE(Load("Data\nPoint 1 1\nPoint 2 2\nPoint 3 3\n"));
    EXPECT_EQ(Layer->ObjectCount(), 1);
    EXPECT_EQ(Messages(), "Error reading mif-file at line 3 with message: This statement cannot "
                          "be read; reading stopped here!\n");
    EXPECT_FALSE(Map.InUpdate());
}
