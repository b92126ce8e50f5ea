// The MapInfo provider: its identity and place in the registry, what it does
// without a usable library, and tables through GDAL both ways: a layer saved
// as .tab and read by ogrinfo, a .tab made by ogr2ogr loaded by the provider.

#include "MapInfoFixture.h"

#include "formats/MitabName.h"
#include "objects/Multi.h"
#include "objects/NoGeometry.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Text.h"

#include <cmath>
#include <filesystem>
#include <numbers>
#include <sstream>

using namespace Mapobjects;
using namespace Platform;
using namespace Testing;

namespace {

using ProviderTest = MapInfoFixture;

TEST_F(ProviderTest, IdentityAndFileNames) {
    EXPECT_EQ(Tab.Description(), "MapInfo Format Provider (mif, tab)");
    EXPECT_EQ(Tab.Filter(), "MapInfo Files (*.mif; *.tab)|*.mif; *.tab");
    EXPECT_EQ(GUIDToString(Tab.GetGUID()), "{4AC2894A-85A3-4613-80D2-27DDCDFEA816}");
    const std::pair<const char*, bool> Names[] = {
        {"roads.tab", true}, {"ROADS.TAB", true},  {"a/b.Tab", true},        {"roads.mif", true},
        {"Roads.MIF", true}, {"roads.mid", false}, {"roads.tab.bak", false}, {"roads", false},
        {"tab", false},      {"roads.dat", false}, {"roads.wor", false},
    };
    for (auto [Name, Accepted] : Names)
        EXPECT_EQ(Tab.CanProcessFile(Name), Accepted) << Name;
}

TEST_F(ProviderTest, RegistryOrderDecidesMifAndOnlyThisProviderTakesTab) {
    TFormatProviders* Registry = FormatProviders();
    EXPECT_EQ(Registry->FindSuitableProvider("x.mif"), &Mif);
    EXPECT_EQ(Registry->FindSuitableProvider("x.TAB"), &Tab);
    EXPECT_EQ(Registry->GetProviderByGUID(Tab.GetGUID()), &Tab);
    Mif.SetEnabled(false);
    EXPECT_EQ(Registry->FindSuitableProvider("x.mif"), &Tab);
    Tab.SetEnabled(false);
    EXPECT_EQ(Registry->FindSuitableProvider("x.tab"), nullptr);
}

// Without a usable library: loading raises the message that says where to
// put it, saving answers false and writes nothing, the MIF provider works. A
// library of the right level that lacks entry points is refused by name
// rather than called through a null pointer.
TEST_F(ProviderTest, WithoutAUsableLibraryLoadAndSaveRefuseAndTheRestWorks) {
    const std::string Saved = MitabLibraryName();
    struct TRestore {
        std::string Name;
        ~TRestore() {
            SetMitabLibraryName(Name);
            MITAB_load();
        }
    } Restore{Saved};
    const std::string NotFound = "MITAB.DLL not fond! Please place DLL to " +
                                 std::string(CHARTIX_BIN_DIR) + "/ or " + SystemLibraryDirectory() +
                                 " directory!";
    const std::string StandIns = std::string(STANDIN_DIR) + "/libmitab_standin_";
    const std::tuple<const char*, std::string, std::string> Libraries[] = {
        {"missing", "libmitab-nowhere.so", NotFound},
        {"another level", StandIns + "oldversion.so", NotFound},
        {"no version", StandIns + "noversion.so", NotFound},
        {"no entry points", StandIns + "bare.so", "lacks mitab_c_close"},
    };
    for (const auto& [What, Name, Expected] : Libraries) {
        SCOPED_TRACE(What);
        SetMitabLibraryName(Name);
        TMapInfoFormatProvider Provider(nullptr); // loads again
        ASSERT_EQ(MITAB_LibOK(), Expected != NotFound);
        // Our own MIF provider works on.
        TMapLayer* Places =
            Map.Layers().Add(std::string(CHARTIX_SOURCE_DIR) + "/samples/places.mif", "");
        EXPECT_EQ(Places->ObjectCount(), 177);
        EXPECT_TRUE(Places->SaveToFile(Dir.Path("copy.mif")));
        TMapLayer* Layer = Map.Layers().Add("", "layer");
        AddSquare(Layer, 0, 0, 1);
        const std::string Message =
            MessageOf<Exception>([&] { Provider.Load(Layer, Dir.Path("x.tab")); });
        if (Expected == NotFound)
            EXPECT_EQ(Message, Expected);
        else
            EXPECT_NE(Message.find(Expected), std::string::npos) << Message;
        EXPECT_FALSE(Provider.Save(Layer, Dir.Path("x.tab")));
        EXPECT_FALSE(std::filesystem::exists(Dir.Path("x.tab")));
        // Through the layer, the error reaches the caller unchanged.
        EXPECT_EQ(MessageOf<Exception>([&] { Layer->LoadFromFile(Dir.Path("x.tab"), ""); }),
                  Message);
        EXPECT_EQ(Layer->ObjectCount(), 1);
    }
}

#ifdef CHARTIX_HAVE_MITAB

// A layer with a column of every type and an object of every kind written.
struct RoundTrip : MapInfoFixture {
    TMapLayer* Layer = nullptr;

    void SetUp() override {
        MapInfoFixture::SetUp();
        ASSERT_TRUE(MITAB_LibOK()) << MITAB_LoadErr;
        Layer = Map.Layers().Add("", "all");
        // As readers do: the text keeps the box it is given.
        Map.SetTextSizing(true);
        TDataFields& F = Layer->Fields();
        F.Add("name", dtString, 40);
        F.Add("count", dtInteger, 0);
        F.Add("small", dtSmallInt, 0);
        F.Add("amount", dtDecimal, 12)->SetPrecision(3);
        F.Add("ratio", dtFloat, 0);
        F.Add("day", dtDate, 0);
        F.Add("at", dtTime, 0);
        F.Add("stamp", dtDateTime, 0);
        F.Add("flag", dtBoolean, 0);

        auto* Line = AddShape<TPolyline>(
            Layer, {{{0, 0}, {1, 1}}, {{2, 2}, {3, 3}, {4, 2}}, {{5, 5}, {6, 6}}});
        SetStyles(Line, RGB(0x12, 0x34, 0x56), 3, psDash, clBlack, bsClear);
        Row(Line, "Main St, \"old\"", 42, -7, 1234.567, 0.125, {2021, 3, 4}, {5, 6, 7}, true);

        auto* Area = AddShape<TRegion>(Layer, {Box(0, 0, 10, 10), Box(2, 2, 4, 4)});
        SetStyles(Area, clBlue, 2, psSolid, clLime, bsCross);
        Area->SetBGColor(clRed);
        Area->SetUseBGColor(true);
        Row(Area, "hole", -1, 32000, -0.5, 1e6, {1999, 12, 31}, {23, 59, 58}, false);

        auto* Star = Place(Layer->NewObject<TSymbol>(), 10.5, 20.25);
        SetFont(Star->Font(), "MapInfo Symbol", 14, clRed);
        Star->SetShape(40);
        Row(Star, "star", 0, 0, 0, 0, {2000, 1, 1}, {0, 0, 0}, false);

        auto* Glyph = Place(Layer->NewObject<TSymbol>(), 11, 21);
        SetFont(Glyph->Font(), "Wingdings", 18, clGreen);
        Glyph->SetShape(66);
        Row(Glyph, "glyph", 1, 1, 1, 1, {2024, 2, 29}, {12, 0, 0}, true);

        auto* Label = Place(Layer->NewObject<TText>(), 12, 22);
        SetFont(Label->Font(), "Verdana", 0, clBlue);
        Label->SetText("Hello, map");
        Label->SetHeight(2);
        Label->SetWidth(10);
        Label->SetAngle(30);
        Row(Label, "label", 2, 2, 2, 2, {2010, 10, 10}, {10, 10, 10}, false);
        for (int I = 0; I < Layer->ObjectCount(); ++I)
            Layer->Objects(I)->UpdateBounds();
        Map.SetTextSizing(false);
    }

    struct TYmd {
        int Y, M, D;
    };
    struct THms {
        int H, N, S;
    };
    static void Row(TCustomMapObject* O, const std::string& Name, int Count, int Small,
                    double Amount, double Ratio, TYmd Day, THms At, bool Flag) {
        TDataFields& F = O->Fields();
        F.GetFields(0)->SetAsString(Name);
        F.GetFields(1)->SetAsInteger(Count);
        F.GetFields(2)->SetAsInteger(Small);
        F.GetFields(3)->SetAsDecimal(Amount);
        F.GetFields(4)->SetAsFloat(Ratio);
        F.GetFields(5)->SetAsDate(EncodeDate(Day.Y, Day.M, Day.D));
        F.GetFields(6)->SetAsTime(EncodeTime(At.H, At.N, At.S, 0));
        F.GetFields(7)->SetAsDateTime(EncodeDate(Day.Y, Day.M, Day.D) +
                                      EncodeTime(At.H, At.N, At.S, 0));
        F.GetFields(8)->SetValue(Flag);
    }
};

TEST_F(RoundTrip, ATabSavedByTheProviderReadsTheSameInOgrinfo) {
    const std::string Table = Dir.Path("all.tab");
    ASSERT_TRUE(Layer->SaveToFile(Table));
    EXPECT_TRUE(Tab.Problems().Empty()) << TReadProblems::Describe(Tab.Problems().Items()[0]);
    const std::vector<TOgrFeature> F = OgrInfo(Table);
    ASSERT_EQ(F.size(), 5u);

    struct TExpected {
        std::string Geometry;
        std::map<std::string, std::string> Values;
        std::vector<std::string> Style; // pieces of the style string
    };
    const TExpected Expected[] = {
        {"MULTILINESTRING ((0 0,1 1),(2 2,3 3,4 2),(5 5,6 6))",
         {{"name (String)", "Main St, \"old\""},
          {"count (Integer)", "42"},
          {"small (Integer)", "-7"},
          {"amount (Real)", "1234.567"},
          {"ratio (Real)", "0.125"},
          {"day (Date)", "2021/03/04"},
          {"at (Time)", "05:06:07"},
          {"stamp (DateTime)", "2021/03/04 05:06:07"},
          {"flag (String)", "T"}},
         {"PEN(w:3px", "c:#123456", "mapinfo-pen-12"}},
        {"POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,4 2,4 4,2 4,2 2))",
         {{"name (String)", "hole"},
          {"count (Integer)", "-1"},
          {"small (Integer)", "32000"},
          {"amount (Real)", "-0.500"},
          {"ratio (Real)", "1000000"},
          {"day (Date)", "1999/12/31"},
          {"at (Time)", "23:59:58"},
          {"stamp (DateTime)", "1999/12/31 23:59:58"},
          {"flag (String)", "F"}},
         {"BRUSH(fc:#00ff00,bc:#ff0000", "mapinfo-brush-7", "PEN(w:2px", "c:#0000ff",
          "mapinfo-pen-2"}},
        {"POINT (10.5 20.25)",
         {{"name (String)", "star"}, {"day (Date)", "2000/01/01"}},
         {"c:#ff0000", "s:14pt", "mapinfo-sym-40"}},
        {"POINT (11 21)",
         {{"name (String)", "glyph"}, {"day (Date)", "2024/02/29"}},
         {"c:#008000", "s:18pt", "font-sym-66", "f:\"Wingdings\""}},
        // A turned text stands where its baseline starts, as GDAL reads the
        // same box from a .mif: its height's share of the turn to the right.
        {"POINT (13 22)",
         {{"name (String)", "label"}, {"stamp (DateTime)", "2010/10/10 10:10:10"}},
         {"LABEL(", "t:\"Hello, map\"", "a:30", "c:#0000ff", "f:\"Verdana\""}},
    };
    for (size_t I = 0; I < F.size(); ++I) {
        SCOPED_TRACE("feature " + std::to_string(I + 1));
        ExpectWkt(F[I].Geometry, Expected[I].Geometry);
        for (const auto& [Column, Value] : Expected[I].Values)
            EXPECT_EQ(F[I].Values.count(Column) ? F[I].Values.at(Column) : "(none)", Value)
                << Column;
        for (const std::string& Piece : Expected[I].Style)
            EXPECT_NE(F[I].Style.find(Piece), std::string::npos) << F[I].Style << " | " << Piece;
    }
    EXPECT_EQ(F[0].Values.size(), 9u);
}

// And the provider reads back what it wrote: kinds, parts, values, styles.
TEST_F(RoundTrip, ATabSavedByTheProviderLoadsBackAlike) {
    for (const char* Name : {"all.tab", "all.mif"}) {
        SCOPED_TRACE(Name);
        // GDAL keeps a turned text in a .mif only as the box around it.
        if (std::string(Name) == "all.mif") static_cast<TText*>(Layer->Objects(4))->SetAngle(0);
        const std::string Table = Dir.Path(Name);
        ASSERT_TRUE(Tab.Save(Layer, Table));
        TMapLayer* Back = Map.Layers().Add("", "back");
        ASSERT_TRUE(Tab.Load(Back, Table));
        EXPECT_TRUE(Tab.Problems().Empty());
        ASSERT_EQ(Back->ObjectCount(), Layer->ObjectCount());
        ASSERT_EQ(Back->Fields().Count(), 9);
        // GDAL's driver writes SmallInt as Integer and Logical as Char(1).
        const TDataType Types[] = {dtString, dtInteger, dtInteger,  dtDecimal, dtFloat,
                                   dtDate,   dtTime,    dtDateTime, dtString};
        for (int I = 0; I < 9; ++I)
            EXPECT_EQ(Back->Fields().GetFields(I)->DataType(), Types[I]) << I;
        EXPECT_EQ(Back->Fields().GetFields(0)->Size(), 40);
        for (int I = 0; I < Layer->ObjectCount(); ++I) {
            SCOPED_TRACE("object " + std::to_string(I));
            TCustomMapObject* A = Layer->Objects(I);
            TCustomMapObject* B = Back->Objects(I);
            EXPECT_EQ(typeid(*A), typeid(*B));
            ASSERT_FALSE(PointsOf(B).empty());
            ExpectWkt(PointsOf(B), PointsOf(A));
            for (int C : {0, 1, 2, 5, 6, 7})
                EXPECT_EQ(B->Fields().GetFields(C)->AsString(),
                          A->Fields().GetFields(C)->AsString())
                    << C;
            for (int C : {3, 4}) // "-0.500" in a Decimal(12, 3)
                EXPECT_DOUBLE_EQ(B->Fields().GetFields(C)->AsFloat(),
                                 A->Fields().GetFields(C)->AsFloat())
                    << C;
            EXPECT_EQ(B->Fields().GetFields(8)->AsString(),
                      A->Fields().GetFields(8)->Value().ToBoolean() ? "T" : "F");
            if (auto* TA = dynamic_cast<TText*>(A)) {
                auto* TB = static_cast<TText*>(B);
                EXPECT_NEAR(TB->Height(), TA->Height(), 1e-6);
                EXPECT_NEAR(TB->Angle(), TA->Angle(), 1e-6);
                EXPECT_EQ(std::tuple(TB->Text(), TB->Font()->Name(), TB->Font()->Color()),
                          std::tuple(TA->Text(), TA->Font()->Name(), TA->Font()->Color()));
            } else if (auto* SA = dynamic_cast<TSymbol*>(A)) {
                auto* SB = static_cast<TSymbol*>(B);
                EXPECT_EQ(std::tuple(SB->Shape(), SB->Font()->Name(), SB->Font()->Size(),
                                     SB->Font()->Color()),
                          std::tuple(SA->Shape(), SA->Font()->Name(), SA->Font()->Size(),
                                     SA->Font()->Color()));
            } else {
                EXPECT_EQ(std::tuple(B->Pen()->Color(), B->Pen()->Width(), B->Pen()->Style()),
                          std::tuple(A->Pen()->Color(), A->Pen()->Width(), A->Pen()->Style()));
            }
            if (dynamic_cast<TRegion*>(A)) {
                EXPECT_EQ(std::tuple(B->Brush()->Color(), B->Brush()->Style(), B->BGColor(),
                                     B->UseBGColor()),
                          std::tuple(A->Brush()->Color(), A->Brush()->Style(), A->BGColor(), true));
            }
        }
    }
}

// The other way: a table written by ogr2ogr, loaded by the provider.
TEST_F(ProviderTest, ATabMadeByOgr2ogrLoads) {
    const std::string Table = Dir.Path("made.tab");
    MakeTable(Table,
              "WKT,name,count,amount,day,OGR_STYLE\n"
              "\"POINT (10.5 20.25)\",'quoted',42,1234.567,2021-03-04,"
              "\"SYMBOL(c:#ff0000,s:14pt,id:\"\"mapinfo-sym-40\"\")\"\n"
              "\"POINT (11 21)\",'',-3,-0.5,,"
              "\"SYMBOL(c:#00ff00,s:18pt,id:\"\"font-sym-66\"\",f:\"\"Wingdings\"\")\"\n"
              "\"POINT (12 22)\",label,0,0,,"
              "\"LABEL(t:\"\"Hello, map\"\",a:15,s:1.38g,c:#0000ff,f:\"\"Verdana\"\")\"\n"
              "\"MULTILINESTRING ((0 0,1 1),(2 2,3 3,4 2),(5 5,6 6))\",line,1,1,,"
              "\"PEN(w:3px,c:#123456,id:\"\"mapinfo-pen-9\"\")\"\n"
              "\"POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,4 2,4 4,2 4,2 2))\",hole,2,2,,"
              "\"BRUSH(fc:#00ff00,bc:#ff0000,id:\"\"mapinfo-brush-5\"\");"
              "PEN(w:2px,c:#0000ff,id:\"\"mapinfo-pen-2\"\")\"\n"
              "\"POLYGON ((20 20,30 20,30 30,20 20))\",clear,3,3,,"
              "\"BRUSH(fc:#abcdef,id:\"\"mapinfo-brush-1\"\");PEN(w:1px,c:#010203)\"\n"
              ",none,5,5,,\n",
              "String,String(20),Integer,Real(12.3),Date,String\n", "name,count,amount,day",
              "-a_srs EPSG:4326");
    TMapLayer* Layer = Map.Layers().Add(Table, "");
    ASSERT_NE(Layer, nullptr);
    ASSERT_EQ(Layer->Fields().Count(), 4);
    const std::tuple<const char*, TDataType, int> Columns[] = {{"name", dtString, 20},
                                                               {"count", dtInteger, 0},
                                                               {"amount", dtDecimal, 12},
                                                               {"day", dtDate, 0}};
    for (int I = 0; I < 4; ++I) {
        const TDataField* F = Layer->Fields().GetFields(I);
        EXPECT_EQ(std::tuple(F->Name(), F->DataType(), std::get<2>(Columns[I]) ? F->Size() : 0),
                  Columns[I]);
    }
    // The row without geometry is an object without geometry, last.
    ASSERT_EQ(Layer->ObjectCount(), 7);
    EXPECT_NE(dynamic_cast<TNoGeometry*>(Layer->Objects(6)), nullptr);
    EXPECT_EQ(Layer->Objects(6)->Row().Text(0), "none");

    auto* Star = dynamic_cast<TSymbol*>(Layer->Objects(0));
    ASSERT_TRUE(Star && !dynamic_cast<TText*>(Star));
    EXPECT_EQ(PointsOf(Star), "10.5 20.25");
    EXPECT_EQ(std::tuple(Star->Shape(), Star->Font()->Name(), Star->Font()->Size(),
                         Star->Font()->Color()),
              std::tuple(40, "MapInfo Symbol", 14, clRed));
    const TDataFields& Row = Star->Fields();
    EXPECT_EQ(std::tuple(Row.GetFields(0)->AsString(), Row.GetFields(1)->AsInteger(),
                         Row.GetFields(3)->AsString()),
              std::tuple("quoted", 42, "2021-03-04")); // apostrophes dropped
    EXPECT_DOUBLE_EQ(Row.GetFields(2)->AsFloat(), 1234.567);

    auto* Glyph = dynamic_cast<TSymbol*>(Layer->Objects(1));
    ASSERT_NE(Glyph, nullptr);
    EXPECT_EQ(std::tuple(Glyph->Shape(), Glyph->Font()->Name(), Glyph->Font()->Color()),
              std::tuple(66, "Wingdings", clLime));
    EXPECT_EQ(Glyph->Fields().GetFields(0)->AsString(), "");

    auto* Label = dynamic_cast<TText*>(Layer->Objects(2));
    ASSERT_NE(Label, nullptr);
    // GDAL's point is where the turned baseline starts; the box's corner is
    // the height's share of the turn to its left.
    ExpectWkt(PointsOf(Label), Format("%.9f 22", 12 - 2 * std::sin(15 * std::numbers::pi / 180)));
    EXPECT_NEAR(Label->Height(), 2, 1e-6);
    EXPECT_NEAR(Label->Angle(), 15, 1e-6);
    EXPECT_EQ(std::tuple(Label->Text(), Label->Font()->Name(), Label->Font()->Color()),
              std::tuple("Hello, map", "Verdana", clBlue));

    auto* Line = dynamic_cast<TPolyline*>(Layer->Objects(3));
    ASSERT_NE(Line, nullptr);
    EXPECT_EQ(std::tuple(Line->Parts().Count(), Line->Pen()->Color(), Line->Pen()->Width(),
                         Line->Pen()->Style()),
              std::tuple(3, RGB(0x12, 0x34, 0x56), 3, psDot));

    auto* Hole = dynamic_cast<TRegion*>(Layer->Objects(4));
    ASSERT_NE(Hole, nullptr);
    EXPECT_EQ(std::tuple(Hole->Parts().Count(), Hole->Brush()->Color(), Hole->Brush()->Style(),
                         Hole->BGColor(), Hole->UseBGColor(), Hole->Pen()->Color(),
                         Hole->Pen()->Width()),
              std::tuple(2, clLime, bsBDiagonal, clRed, true, clBlue, 2));

    auto* Clear = dynamic_cast<TRegion*>(Layer->Objects(5));
    ASSERT_NE(Clear, nullptr);
    EXPECT_EQ(std::tuple(Clear->Brush()->Style(), Clear->UseBGColor()), std::tuple(bsClear, false));
    // The layer keeps the table's coordinate system for saving.
    EXPECT_NE(Layer->CoordSys().find("Earth Projection 1"), std::string::npos) << Layer->CoordSys();
}

// Every kind of object statement of a .mif becomes through MITAB the object
// our own reader makes of it: an arc its polyline, a rectangle (rounded or
// not) a rectangle, a round ellipse a circle, an oval its region, a
// multipoint one object with the row, a row without geometry its row.
// Saved as a .tab, rectangles and circles go as regions, and GDAL's driver
// splits the multipoint into points, which is told.
TEST_F(ProviderTest, EveryKindOfAMifLoadsAsOurReaderLoadsIt) {
    const std::string File = Dir.Path("kinds.mif");
    WriteFile(File, "Version 300\nCharset \"Neutral\"\nDelimiter \",\"\n"
                    "CoordSys Earth Projection 1, 104\nColumns 1\n  name Char(10)\nData\n\n"
                    "Point 1 2\nMultipoint 2\n3 4\n5 6\nNone\nLine 0 0 1 1\n"
                    "Arc 0 0 10 10\n  0 90\nEllipse 0 0 10 6\nEllipse 2 2 6 6\n"
                    "Rect 1 1 3 4\nRoundRect 5 5 7 8 1\n");
    WriteFile(Dir.Path("kinds.mid"), "\"point\"\n\"many\"\n\"none\"\n\"line\"\n\"arc\"\n"
                                     "\"oval\"\n\"circle\"\n\"rect\"\n\"round\"\n");
    auto Describe = [](TMapLayer* L) {
        std::vector<std::string> Objects;
        for (int I = 0; I < L->ObjectCount(); ++I) {
            TCustomMapObject* O = L->Objects(I);
            const TBounds B = O->GetBounds();
            auto R = [](double V) { return std::round(V * 1e6) / 1e6 + 0.0; };
            Objects.push_back(Format("%s %s %g %g %g %g", typeid(*O).name(), O->Row().Text(0),
                                     R(B.MinX), R(B.MinY), R(B.MaxX), R(B.MaxY)));
        }
        return Objects;
    };
    TMapLayer* Ours = Map.Layers().Add(File, "");
    ASSERT_NE(Ours, nullptr);
    EXPECT_TRUE(Mif.Problems().Empty());
    TMapLayer* Theirs = Map.Layers().Add("", "mitab");
    ASSERT_TRUE(Tab.Load(Theirs, File));
    EXPECT_TRUE(Tab.Problems().Empty());
    ASSERT_EQ(Theirs->ObjectCount(), 9);
    EXPECT_EQ(Describe(Theirs), Describe(Ours));
    EXPECT_TRUE(dynamic_cast<TMultiPoint*>(Theirs->Objects(1)));
    EXPECT_TRUE(dynamic_cast<TNoGeometry*>(Theirs->Objects(2)));
    EXPECT_TRUE(dynamic_cast<TPolyline*>(Theirs->Objects(4)));
    EXPECT_TRUE(dynamic_cast<TRegion*>(Theirs->Objects(5)));
    auto* Circle = dynamic_cast<TCircle*>(Theirs->Objects(6));
    ASSERT_NE(Circle, nullptr);
    EXPECT_NEAR(Circle->X(), 4, 1e-9);
    EXPECT_NEAR(Circle->Y(), 4, 1e-9);
    EXPECT_NEAR(Circle->Radius(), 2, 1e-9);
    auto* Rect = dynamic_cast<TRectangle*>(Theirs->Objects(8));
    ASSERT_NE(Rect, nullptr);
    EXPECT_EQ(std::tuple(Rect->X0(), Rect->Y0(), Rect->X1(), Rect->Y1()),
              std::tuple(5.0, 5.0, 7.0, 8.0));

    const std::string Table = Dir.Path("kinds.tab");
    ASSERT_TRUE(Tab.Save(Theirs, Table));
    ASSERT_EQ(Tab.Problems().Count(), 1);
    EXPECT_EQ(Tab.Problems().Items()[0].Message,
              "object at index 1: GDAL's MapInfo driver has no multipoint to write: it wrote 2 "
              "features, one per point");
    const std::vector<TOgrFeature> F = OgrInfo(Table);
    ASSERT_EQ(F.size(), 10u);
    EXPECT_EQ(F[3].Geometry, "");
    ExpectWkt(F[8].Geometry, "POLYGON ((1 1,3 1,3 4,1 4,1 1))");
    EXPECT_EQ(F[7].Geometry.rfind("POLYGON ((6 4,", 0), 0u) << F[7].Geometry;
    EXPECT_EQ(F[7].Values.at("name (String)"), "circle");
}

TEST_F(ProviderTest, AnUpperCaseNameSavesANativeTable) {
    TMapLayer* Layer = Map.Layers().Add("", "upper");
    AddSquare(Layer, 0, 0, 1)->UpdateBounds();
    ASSERT_TRUE(Tab.Save(Layer, Dir.Path("UPPER.TAB")));
    const std::vector<TOgrFeature> F = OgrInfo(Dir.Path("UPPER.TAB"));
    ASSERT_EQ(F.size(), 1u);
    ExpectWkt(F[0].Geometry, "POLYGON ((0 0,1 0,1 1,0 1,0 0))");
    // A native table has its geometry in a .map file; an interchange one none.
    bool HasMap = false;
    for (const auto& E : std::filesystem::directory_iterator(Dir.Dir))
        HasMap |= SameText(E.path().extension().string(), ".map");
    EXPECT_TRUE(HasMap);
}

// The classes the provider asks the library for, by way of the bound entry
// point: the module here drops empty parts itself, another MITAB would not.
std::vector<int> CreatedClasses;
decltype(mitab_c_create_feature) RealCreateFeature = nullptr;
mitab_feature RecordCreateFeature(mitab_handle H, int Class) {
    CreatedClasses.push_back(Class);
    return RealCreateFeature(H, Class);
}

// A region or polyline without points keeps its row, saved without geometry:
// GDAL rejects a ring or line of no points when it reads the table.
TEST_F(ProviderTest, ShapesWithoutPointsSaveTheirRowsWithoutGeometry) {
    TMapLayer* Layer = Map.Layers().Add("", "empty");
    Layer->Fields().Add("name", dtString, 10);
    TCustomMapObject* Objects[] = {Layer->NewObject<TRegion>(), AddSquare(Layer, 0, 0, 1),
                                   Layer->NewObject<TPolyline>()};
    Objects[2]->Parts().Add(); // a part, but no points
    const char* const Names[] = {"region", "square", "line"};
    for (int I = 0; I < 3; ++I) {
        Objects[I]->UpdateBounds();
        Objects[I]->Fields().GetFields(0)->SetAsString(Names[I]);
    }
    const std::string Table = Dir.Path("empty.tab");
    RealCreateFeature = mitab_c_create_feature;
    CreatedClasses.clear();
    mitab_c_create_feature = RecordCreateFeature;
    const bool Saved = Tab.Save(Layer, Table);
    mitab_c_create_feature = RealCreateFeature;
    ASSERT_TRUE(Saved);
    EXPECT_TRUE(Tab.Problems().Empty()) << TReadProblems::Describe(Tab.Problems().Items()[0]);
    EXPECT_EQ(CreatedClasses, (std::vector<int>{0, 7, 0})) << "no geometry, region, no geometry";

    bool Ok;
    const std::string Info = RunCommand(std::string(OGRINFO) + " -ro -al -q '" + Table + "'", &Ok);
    EXPECT_TRUE(Ok) << Info;
    EXPECT_EQ(Info.find("ERROR"), std::string::npos) << Info;
    const std::vector<TOgrFeature> F = OgrInfo(Table);
    ASSERT_EQ(F.size(), 3u);
    const char* const Geometry[] = {"", "POLYGON ((0 0,1 0,1 1,0 1,0 0))", ""};
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(F[I].Values.at("name (String)"), Names[I]);
        ExpectWkt(F[I].Geometry, Geometry[I]);
    }
    // Loaded back, the rows without geometry are objects without geometry.
    TMapLayer* Back = Map.Layers().Add("", "back");
    ASSERT_TRUE(Tab.Load(Back, Table));
    EXPECT_TRUE(Tab.Problems().Empty()) << TReadProblems::Describe(Tab.Problems().Items()[0]);
    ASSERT_EQ(Back->ObjectCount(), 3);
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(Back->Objects(I)->Fields().GetFields(0)->AsString(), Names[I]);
        EXPECT_EQ(dynamic_cast<TNoGeometry*>(Back->Objects(I)) != nullptr, I != 1) << I;
    }
}

// The second row of a .mid file.
std::string SecondRow(const std::string& Mif) {
    std::istringstream In(ReadFile(ChangeFileExt(Mif, ".mid")));
    std::string Row;
    std::getline(In, Row) && std::getline(In, Row);
    if (!Row.empty() && Row.back() == '\r') Row.pop_back();
    return Row;
}

// A table with a null in every column type, as ogr2ogr makes it from
// GeoJSON (its header then given the SmallInt and Logical that GDAL cannot
// declare): loaded, its nulls show as empty cells, and saved by both
// providers they are written as GDAL writes them, so that ogrinfo reads our
// files as it reads GDAL's own. GDAL keeps no null numbers or texts (it
// reads 0 and ""), only null dates and times; our reader keeps them all.
TEST_F(ProviderTest, NullsOfEveryTypeLoadShowAndSaveAsNulls) {
    const std::string Json = Dir.Path("n.geojson");
    WriteFile(Json, R"({"type":"FeatureCollection","features":[
{"type":"Feature","geometry":{"type":"Point","coordinates":[1,2]},"properties":{"s":"a",
"i":1,"si":2,"f":1.5,"d":2.25,"dt":"2024-01-02","tm":"10:11:12","dtm":"2024-01-02T10:11:12",
"b":true}},
{"type":"Feature","geometry":{"type":"Point","coordinates":[3,4]},"properties":{"s":null,
"i":null,"si":null,"f":null,"d":null,"dt":null,"tm":null,"dtm":null,"b":null}}]})");
    const std::string Sql = " -sql 'SELECT s, i, si, f, CAST(d AS numeric(10,3)) AS d, dt, tm, "
                            "dtm, b FROM n' ";
    const std::string Made = Dir.Path("made.mif"), MadeTab = Dir.Path("made.tab");
    bool Ok;
    std::string Out = RunCommand(std::string(OGR2OGR) + " -f 'MapInfo File' -dsco FORMAT=MIF" +
                                     Sql + "'" + Made + "' '" + Json + "'",
                                 &Ok);
    ASSERT_TRUE(Ok) << Out;
    Out = RunCommand(std::string(OGR2OGR) + " -f 'MapInfo File'" + Sql + "'" + MadeTab + "' '" +
                         Json + "'",
                     &Ok);
    ASSERT_TRUE(Ok) << Out;
    std::string Header = ReadFile(Made);
    for (auto [From, To] : {std::pair("si Integer", "si SmallInt"), {"b Integer", "b Logical"}}) {
        ASSERT_NE(Header.find(From), std::string::npos) << Header;
        Header.replace(Header.find(From), std::string(From).size(), To);
    }
    WriteFile(Made, Header);
    const std::string GdalRow = SecondRow(Made);
    ASSERT_EQ(GdalRow, "\"\",,,,,,,,");

    TMapLayer* Layer = Map.Layers().Add(Made, "");
    ASSERT_NE(Layer, nullptr);
    EXPECT_TRUE(Mif.Problems().Empty()) << TReadProblems::Describe(Mif.Problems().Items()[0]);
    ASSERT_EQ(Layer->ObjectCount(), 2);
    const TDataType Types[] = {dtString, dtInteger, dtSmallInt, dtFloat,  dtDecimal,
                               dtDate,   dtTime,    dtDateTime, dtBoolean};
    for (int C = 0; C < 9; ++C) {
        SCOPED_TRACE(C);
        EXPECT_EQ(Layer->Fields().GetFields(C)->DataType(), Types[C]);
        const TObjectRow& Row = Layer->Objects(1)->Row();
        EXPECT_EQ(Row.Text(C), "");
        EXPECT_EQ(Row.Value(C).IsNull(), C > 0) << Row.Value(C).TypeName();
        EXPECT_NE(Layer->Objects(0)->Row().Text(C), "");
    }

    // Saved by our writer and through MITAB, read by ogrinfo as GDAL's own.
    const std::vector<TOgrFeature> Gdal = OgrInfo(Made);
    ASSERT_EQ(Gdal.size(), 2u);
    // GDAL's driver writes a Logical column as Char(1), whose null is "".
    const std::tuple<const char*, std::string, int> Saves[] = {{"ours.mif", GdalRow, 9},
                                                               {"mitab.mif", GdalRow + "\"\"", 8}};
    for (const auto& [Name, Row, Nulls] : Saves) {
        SCOPED_TRACE(Name);
        const std::string Saved = Dir.Path(Name);
        if (std::string(Name) == "ours.mif")
            ASSERT_TRUE(Layer->SaveToFile(Saved));
        else
            ASSERT_TRUE(Tab.Save(Layer, Saved));
        EXPECT_TRUE(Tab.Problems().Empty()) << TReadProblems::Describe(Tab.Problems().Items()[0]);
        EXPECT_EQ(SecondRow(Saved), Row);
        const std::vector<TOgrFeature> Back = OgrInfo(Saved);
        ASSERT_EQ(Back.size(), 2u);
        EXPECT_EQ(Back[1].Values, Gdal[1].Values);
        // and read back by our reader with its nulls
        TMapLayer* Again = Map.Layers().Add(Saved, "");
        ASSERT_NE(Again, nullptr);
        for (int C = 1; C < Nulls; ++C)
            EXPECT_TRUE(Again->Objects(1)->Row().Value(C).IsNull()) << C;
    }

    // A .tab keeps the null dates and times; MITAB hands them as nulls.
    const std::string Saved = Dir.Path("mitab.tab");
    ASSERT_TRUE(Tab.Save(Layer, Saved));
    EXPECT_TRUE(Tab.Problems().Empty()) << TReadProblems::Describe(Tab.Problems().Items()[0]);
    for (const std::string& Table : {MadeTab, Saved}) {
        SCOPED_TRACE(Table);
        const std::vector<TOgrFeature> F = OgrInfo(Table);
        ASSERT_EQ(F.size(), 2u);
        for (const char* Column : {"dt (Date)", "tm (Time)", "dtm (DateTime)"})
            EXPECT_EQ(F[1].Values.count(Column), 0u) << Column;
        EXPECT_EQ(F[1].Values.at("i (Integer)"), "0");
        TMapLayer* Back = Map.Layers().Add("", "back");
        ASSERT_TRUE(Tab.Load(Back, Table));
        ASSERT_EQ(Back->ObjectCount(), 2);
        for (int C = 5; C < 8; ++C) {
            EXPECT_TRUE(Back->Objects(1)->Row().Value(C).IsNull()) << C;
            EXPECT_EQ(Back->Objects(1)->Row().Text(C), "");
            EXPECT_NE(Back->Objects(0)->Row().Text(C), "");
        }
    }
}

// A value that cannot be written costs its own object only: the problem
// names the object's index and what failed, and the others are written.
TEST_F(ProviderTest, AnObjectWithAValueThatCannotBeWrittenIsToldAndTheRestSaved) {
    struct TCase {
        TDataType Type;
        TVariant Bad;
        const char* Told;
    } const Cases[] = {
        {dtInteger, TVariant("many"), "'many' is not an integer for column v"},
        {dtDate, TVariant(1e9), "'1000000000' is not a date for column v"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Told);
        TMapLayer* Layer = Map.Layers().Add("", "values");
        Layer->Fields().Add("name", dtString, 10);
        Layer->Fields().Add("v", Case.Type, 0);
        const char* const Names[] = {"first", "bad", "last"};
        for (int I = 0; I < 3; ++I) {
            TCustomMapObject* O = AddSquare(Layer, I, 0, 1);
            O->UpdateBounds();
            O->Row().SetValue(0, Names[I]);
            O->Row().SetValue(1, I == 1 ? Case.Bad : TVariant::Null());
        }
        const std::string Table = Dir.Path("values.tab");
        ASSERT_TRUE(Tab.Save(Layer, Table));
        ASSERT_EQ(Tab.Problems().Count(), 1);
        const std::string Told = TReadProblems::Describe(Tab.Problems().Items()[0]);
        EXPECT_NE(Told.find("object at index 1 could not be written"), std::string::npos) << Told;
        EXPECT_NE(Told.find(Case.Told), std::string::npos) << Told;
        const std::vector<TOgrFeature> F = OgrInfo(Table);
        ASSERT_EQ(F.size(), 2u);
        EXPECT_EQ(F[0].Values.at("name (String)"), "first");
        EXPECT_EQ(F[1].Values.at("name (String)"), "last");
        ExpectWkt(F[1].Geometry, "POLYGON ((2 0,3 0,3 1,2 1,2 0))");
        // Our writer has a cell for any value: the bad one is kept, quoted.
        ASSERT_TRUE(Layer->SaveToFile(Dir.Path("values.mif")));
        EXPECT_GT(SecondRow(Dir.Path("values.mif")).size(), std::string("\"bad\",").size());
    }
}

// A table large enough to take a while reports its progress to the map.
TEST_F(ProviderTest, LargeTablesReportProgress) {
    TMapLayer* Layer = Map.Layers().Add("", "many");
    for (int I = 0; I < 600; ++I)
        Place(Layer->NewObject<TSymbol>(), I * 0.1, 1);
    ASSERT_TRUE(Tab.Save(Layer, Dir.Path("many.tab")));
    int Started = 0, Shown = 0, Stopped = 0, Max = 0, Last = -1;
    Map.OnStartProgress = [&](TObject*, int, int M, const std::string&) { ++Started, Max = M; };
    Map.OnShowProgress = [&](TObject*, int P) { ++Shown, Last = P; };
    Map.OnStopProgress = [&](TObject*) { ++Stopped; };
    TMapLayer* Back = Map.Layers().Add("", "back");
    ASSERT_TRUE(Tab.Load(Back, Dir.Path("many.tab")));
    EXPECT_EQ(Back->ObjectCount(), 600);
    EXPECT_EQ(Started, 1);
    EXPECT_EQ(Max, 600);
    EXPECT_EQ(Shown, 3); // at 0, 256 and 512
    EXPECT_EQ(Last, 512);
    EXPECT_EQ(Stopped, 1);
}

// Damaged and unusual tables: each says what is wrong, naming the file, and
// loads what can be loaded.
struct BadTable : MapInfoFixture {
    std::string Table;
    void SetUp() override {
        MapInfoFixture::SetUp();
        Table = Dir.Path("places.tab");
        bool Ok;
        const std::string Out =
            RunCommand(std::string(OGR2OGR) + " -f 'MapInfo File' -a_srs EPSG:4326 '" + Table +
                           "' '" + CHARTIX_SOURCE_DIR + "/samples/places.mif'",
                       &Ok);
        ASSERT_TRUE(Ok) << Out;
    }
    std::string FirstProblem() const {
        return Tab.Problems().Empty() ? std::string("(none)")
                                      : TReadProblems::Describe(Tab.Problems().Items()[0]);
    }
};

TEST_F(BadTable, MissingDatFileIsNamedAndNothingLoads) {
    std::filesystem::remove(Dir.Path("places.dat"));
    TMapLayer* Layer = Map.Layers().Add("", "places");
    EXPECT_FALSE(Layer->LoadFromFile(Table, ""));
    EXPECT_EQ(Layer->ObjectCount(), 0);
    EXPECT_NE(FirstProblem().find("places.dat is missing"), std::string::npos) << FirstProblem();
    EXPECT_NE(FirstProblem().find(Table), std::string::npos) << FirstProblem();
}

TEST_F(BadTable, MissingMapFileGivesTheRowsWithoutGeometryAndSaysSo) {
    std::filesystem::remove(Dir.Path("places.map"));
    std::filesystem::remove(Dir.Path("places.id"));
    TMapLayer* Layer = Map.Layers().Add("", "places");
    EXPECT_TRUE(Layer->LoadFromFile(Table, ""));
    EXPECT_GT(Layer->Fields().Count(), 0);
    ASSERT_GT(Layer->ObjectCount(), 0);
    for (int I = 0; I < Layer->ObjectCount(); ++I)
        ASSERT_NE(dynamic_cast<TNoGeometry*>(Layer->Objects(I)), nullptr) << I;
    EXPECT_NE(FirstProblem().find("places.map is missing"), std::string::npos) << FirstProblem();
}

TEST_F(BadTable, TruncatedMapFileLoadsTheObjectsBeforeTheCut) {
    TMapLayer* Whole = Map.Layers().Add("", "whole");
    ASSERT_TRUE(Tab.Load(Whole, Table));
    ASSERT_TRUE(Tab.Problems().Empty()) << FirstProblem();
    std::filesystem::resize_file(Dir.Path("places.map"), 3000);
    TMapLayer* Cut = Map.Layers().Add("", "cut");
    EXPECT_TRUE(Tab.Load(Cut, Table));
    EXPECT_GT(Cut->ObjectCount(), 0);
    EXPECT_LT(Cut->ObjectCount(), Whole->ObjectCount());
    EXPECT_NE(FirstProblem().find(Table), std::string::npos) << FirstProblem();
    // What was read is what the whole table holds at those places.
    for (int I = 0; I < Cut->ObjectCount(); ++I)
        EXPECT_EQ(PointsOf(Cut->Objects(I)), PointsOf(Whole->Objects(I))) << I;
}

TEST_F(BadTable, AProjectedTableLoadsItsCoordinatesAsStoredWithItsSystem) {
    const std::string Projected = Dir.Path("mercator.tab");
    bool Ok;
    const std::string Out =
        RunCommand(std::string(OGR2OGR) + " -f 'MapInfo File' -t_srs EPSG:3857 '" + Projected +
                       "' '" + Table + "'",
                   &Ok);
    ASSERT_TRUE(Ok) << Out;
    TMapLayer* Layer = Map.Layers().Add("", "mercator");
    ASSERT_TRUE(Tab.Load(Layer, Projected));
    const std::vector<TOgrFeature> F = OgrInfo(Projected);
    ASSERT_EQ(static_cast<int>(F.size()), Layer->ObjectCount());
    ExpectWkt("POINT (" + std::string(PointsOf(Layer->Objects(0))) + ")", F[0].Geometry);
    EXPECT_NE(Layer->CoordSys().find("Projection 10"), std::string::npos) << Layer->CoordSys();
    // Saved again, the table keeps its projection.
    ASSERT_TRUE(Tab.Save(Layer, Dir.Path("again.tab")));
    const std::string Info =
        RunCommand(std::string(OGRINFO) + " -ro -so -al '" + Dir.Path("again.tab") + "'");
    EXPECT_NE(Info.find("Pseudo-Mercator"), std::string::npos) << Info;
    // Nothing is cut at the bounds the driver assumes for the projection
    // (Antarctica lies beyond them); the grid of metres is a centimetre.
    const std::vector<TOgrFeature> Again = OgrInfo(Dir.Path("again.tab"));
    ASSERT_EQ(Again.size(), F.size());
    for (size_t I = 0; I < F.size(); ++I)
        ExpectWkt(Again[I].Geometry, F[I].Geometry, 0.02);
}

TEST_F(BadTable, NoSuchFileOrNotATable) {
    TMapLayer* Layer = Map.Layers().Add("", "none");
    EXPECT_FALSE(Tab.Load(Layer, Dir.Path("absent.tab")));
    EXPECT_NE(FirstProblem().find("absent.tab"), std::string::npos) << FirstProblem();
    WriteFile(Dir.Path("junk.tab"), "this is no table\n");
    EXPECT_FALSE(Tab.Load(Layer, Dir.Path("junk.tab")));
    EXPECT_FALSE(Tab.Save(Layer, Dir.Path("no/such/folder/x.tab")));
    EXPECT_EQ(Layer->ObjectCount(), 0);
}

#endif

} // namespace
