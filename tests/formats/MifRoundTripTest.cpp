// Files written by us read back the same; files read are saved as they were.
#include "formats/MifFixture.h"
#include "formats/MifText.h"

#include <sstream>

using namespace Mapobjects;
using namespace Platform;

namespace {

using MifRoundTrip = Testing::MifFixture;

std::vector<std::string> LinesOf(const std::string& Text) {
    std::vector<std::string> Lines;
    std::istringstream In(Text);
    for (std::string Line; std::getline(In, Line);)
        Lines.push_back(Line);
    return Lines;
}

std::string Crlf(const std::string& Text) {
    std::string R;
    for (char C : Text)
        R += C == '\n' ? std::string("\r\n") : std::string(1, C);
    return R;
}

} // namespace

// A file read and saved untouched comes back byte for byte, in its line
// ends, header, indents, statement words and style clauses; moving one object
// changes its coordinate lines and nothing else, the .mid not at all.
TEST_F(MifRoundTrip, AFileReadIsSavedAsItWasAndAMoveChangesOnlyThatObject) {
    const std::string Data = std::string(CHARTIX_SOURCE_DIR) + "/tests/data/";
    const std::string Saves = Data + "formats/save/";
    const std::string Samples = std::string(CHARTIX_SOURCE_DIR) + "/samples/";
    auto Read = [](const std::string& Name) {
        return std::pair(Testing::ReadFile(Name + ".mif"), Testing::ReadFile(Name + ".mid"));
    };
    const auto [Kinds, KindsMid] = Read(Data + "gdal-kinds");
    struct TCase {
        const char* Name;
        std::pair<std::string, std::string> Files;
        int Moved; // the object moved
    } Cases[] = {
        // Written by ogr2ogr: every statement GDAL writes, no CoordSys.
        {"gdal", {Kinds, KindsMid}, 2},
        {"gdal-crlf", {Crlf(Kinds), Crlf(KindsMid)}, 1},
        {"countries", Read(Samples + "countries"), 40},
        {"places", Read(Samples + "places"), 5},
        // Objects without clauses, a tab delimiter, no charset, odd spelling,
        // a text in MapInfo's layout: its lines apart, its size from its box.
        {"bare", Read(Saves + "bare-crlf-tab-delimited"), 1},
        {"multipoints", Read(Saves + "multipoints-with-and-without-symbol"), 1},
        // Coordinates with fixed decimals, as the classic dialect writes them
        // (the last case: changed below).
        {"fixed", Read(Saves + "fixed-decimals"), 1},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const std::string In = Path(std::string(C.Name) + ".mif");
        const auto& [Mif, Mid] = C.Files;
        Testing::WriteFile(In, Mif);
        Testing::WriteFile(ChangeFileExt(In, ".mid"), Mid);
        TMapLayer* L = Map.Layers().Add("", C.Name);
        ASSERT_TRUE(Provider.Load(L, In));
        EXPECT_EQ(Messages(), "");
        ASSERT_TRUE(Provider.Save(L, Path("same.mif")));
        EXPECT_EQ(Testing::ReadFile(Path("same.mif")), Mif);
        EXPECT_EQ(Testing::ReadFile(Path("same.mid")), Mid);

        TCustomMapObject* O = L->Objects(C.Moved);
        int Points = 0;
        for (int P = 0; P < O->Parts().Count(); ++P)
            for (TMapPoint& Pt : O->Parts().Items(P)->Points()) {
                Pt.X += 1;
                ++Points;
            }
        O->UpdateBounds();
        ASSERT_TRUE(Provider.Save(L, Path("moved.mif")));
        EXPECT_EQ(Testing::ReadFile(Path("moved.mid")), Mid);
        const std::vector<std::string> Before = LinesOf(Mif),
                                       After = LinesOf(Testing::ReadFile(Path("moved.mif")));
        ASSERT_EQ(After.size(), Before.size());
        int Changed = 0;
        for (size_t I = 0; I < Before.size(); ++I)
            if (After[I] != Before[I]) {
                ++Changed;
                // Each changed line is a point of the object, one further east
                // (a Point statement's point stands after its word).
                std::string_view B = Before[I], A = After[I];
                if (!Mif::FirstWord(B).empty() && std::isalpha(B[0])) Mif::FirstWord(B, &B);
                if (!Mif::FirstWord(A).empty() && std::isalpha(A[0])) Mif::FirstWord(A, &A);
                EXPECT_EQ(Mif::NextFloat(A), Mif::NextFloat(B) + 1) << Before[I];
            }
        EXPECT_EQ(Changed, Points);
    }
    // A coordinate that needs more decimals than the file's keeps them.
    TCustomMapObject* Pline = Map.Layers().Last()->Objects(1);
    Pline->Parts().Items(0)->Points().GetPoint(0).X = 0.125;
    ASSERT_TRUE(Provider.Save(Map.Layers().Last(), Path("more.mif")));
    EXPECT_NE(Testing::ReadFile(Path("more.mif")).find("\r\n0.125 0.00\r\n1.13 3.50\r\n"),
              std::string::npos);
}

// What the file did not have stays out of the saved file until the layer has
// it: a clause appears once the object is restyled, new columns are declared
// in the file's indent, and a coordinate system only when the layer has one.
TEST_F(MifRoundTrip, ChangesToALayerReadAreWrittenInTheFilesForm) {
    const std::string Mif = "Version 300\nDelimiter \",\"\nColumns 1\n  A Char(5)\nData\n\n"
                            "Point 1 2\nRegion 1\n  3\n0 0\n1 0\n0 1\n    Pen (1,2,0)\n";
    Testing::WriteFile(Path("a.mif"), Mif);
    Testing::WriteFile(Path("a.mid"), "\"x\"\n\"y\"\n");
    ASSERT_TRUE(Provider.Load(Layer, Path("a.mif")));
    Obj<TSymbol>(0)->Font()->SetColor(RGB(255, 0, 0));
    Obj<TRegion>(1)->Brush()->SetColor(RGB(0, 0, 255));
    Layer->Fields().Add("B", dtInteger, 0);
    auto* Line = Testing::AddShape<TPolyline>(Layer, {{{0, 0}, {1, 1}, {2, 0}}});
    Line->Pen()->SetColor(RGB(0, 255, 0));
    ASSERT_TRUE(Provider.Save(Layer, Path("b.mif")));
    EXPECT_EQ(Testing::ReadFile(Path("b.mif")),
              "Version 300\nDelimiter \",\"\nColumns 2\n  A Char(5)\n  B Integer\nData\n\n"
              "Point 1 2\n    Symbol (35,16711680,12)\nRegion 1\n  "
              "3\n0 0\n1 0\n0 1\n    Pen (1,2,0)\n"
              "    Brush (2,255)\nPline 3\n0 0\n1 1\n2 0\n    Pen (1,2,65280)\n");

    Layer->SetCoordSys("CoordSys Earth Projection 1, 104");
    Layer->SetCharset("Neutral");
    auto Start = [&](const char* Name, const std::string& Expected) {
        EXPECT_EQ(Testing::ReadFile(Path(Name)).substr(0, Expected.size()), Expected);
    };
    ASSERT_TRUE(Provider.Save(Layer, Path("c.mif")));
    Start("c.mif", "Version 300\nDelimiter \",\"\nCharset \"Neutral\"\n"
                   "CoordSys Earth Projection 1, 104\nColumns 2\n");

    // The classic dialect writes its own bytes whatever was read.
    Provider.SetDialect(mdClassic);
    ASSERT_TRUE(Provider.Save(Layer, Path("d.mif")));
    Start("d.mif", "Version 300\r\nCharset \"WindowsCyrillic\"\r\nDelimiter \",\"\r\n"
                   "CoordSys Earth Projection 1, 0\r\nColumns 2\r\nA Char(5)\r\nB Integer\r\n"
                   "Data\r\nPoint 1.000000 2.000000\r\nSymbol (35,");
}
