// Files written by us read back the same, by us and by GDAL; files GDAL writes we read.
#include "formats/MifFixture.h"
#include "formats/MifText.h"
#include "support/GdalTools.h"

#include <cstdlib>
#include <regex>
#include <sstream>

using namespace Mapobjects;
using namespace Platform;
using Testing::Describe;

namespace {

const char* const Names[] = {"O'Brien",     "a,b", "say \"x\", 'y'",
                             "Pen (1,2,0)", "",    "Côte d'Ivoire"};

struct MifRoundTrip : Testing::MifFixture {
    TMapLayer* Back = nullptr;

    void SetUp() override {
        MifFixture::SetUp();
        Back = Map.Layers().Add("", "back");
    }
    // One object of every kind the format holds, with styles and a value of
    // every type; object I has the name Names[I].
    template <class T> T* Add(const std::vector<Testing::TRing>& Parts = {}) {
        T* Obj = Testing::AddShape<T>(Layer, Parts);
        const int I = Layer->ObjectCount() - 1;
        TDataFields& F = Obj->Fields();
        F.GetFields(0)->SetAsString(Names[I]);
        F.GetFields(1)->SetAsFloat(I * 1.125 - 1);
        F.GetFields(2)->SetAsDecimal(I * 2.5);
        F.GetFields(3)->SetAsInteger(I - 2);
        F.GetFields(4)->SetAsDate(EncodeDate(2024, 1, I + 1));
        F.GetFields(5)->SetValue(I % 2 == 1);
        return Obj;
    }
    void BuildLayer() {
        const TDataType Types[] = {dtString, dtFloat, dtDecimal, dtInteger, dtDate, dtBoolean};
        const char* Columns[] = {"NAME", "F", "D", "I", "DA", "B"};
        for (int I = 0; I < 6; ++I)
            Layer->Fields().Add(Columns[I], Types[I], 0);
        auto* R =
            Add<TRegion>({Testing::Box(0, 0, 10, 10), {{2, 2}, {2, 4}, {4, 4}, {4, 2}, {2, 2}}});
        R->Pen()->SetColor(RGB(255, 0, 0));
        R->Pen()->SetWidth(2);
        R->Brush()->SetColor(RGB(0, 255, 0));
        Add<TPolyline>({{{0, 0}, {1.125, -1}, {2, 0.5}}})->Pen()->SetColor(RGB(0, 0, 255));
        Add<TPolyline>({{{0, 0}, {1, 1}}, {{5, 5}, {6, 6}, {7, 5}}})->Pen()->SetColor(RGB(1, 2, 3));
        auto* S = Testing::Place(Add<TSymbol>(), -3.5, 7.25);
        S->SetShape(40);
        Testing::SetFont(S->Font(), "MapInfo Symbol", 14, RGB(10, 20, 30));
        auto* T = Testing::Place(Add<TText>(), 20, 30);
        Testing::SetFont(T->Font(), "Arial", 0, RGB(200, 0, 0));
        T->SetText("Hello");
        T->SetAngle(30);
        auto* C = Testing::Place(Add<TCircle>(), 5, -5);
        C->SetRadius(3);
        C->Brush()->SetColor(RGB(0, 0, 128));
    }

    static bool Tool(const char* Name) {
        return std::system(("command -v " + std::string(Name) + " >/dev/null 2>&1").c_str()) == 0;
    }
    static std::string Run(const std::string& Command) { return Testing::RunCommand(Command); }
    static int Count(const std::string& Text, const std::string& What) {
        int N = 0;
        for (size_t P = Text.find(What); P != std::string::npos; P = Text.find(What, P + 1))
            ++N;
        return N;
    }
};

} // namespace

// Both dialects read back. The original output does not write a second part
// of a polyline (object 2), the angle of a text (object 4) or the time of day.
TEST_F(MifRoundTrip, SaveThenLoadRestoresGeometryStylesAndValues) {
    BuildLayer();
    for (TMifDialect Dialect : {mdClassic, Provider.Dialect()}) {
        SCOPED_TRACE(Dialect);
        Provider.SetDialect(Dialect);
        Back->DeleteObjects();
        ASSERT_TRUE(Provider.Save(Layer, Path("trip.mif")));
        ASSERT_TRUE(Provider.Load(Back, Path("trip.mif")));
        EXPECT_EQ(Messages(), "");
        ASSERT_EQ(Back->ObjectCount(), 6);
        ASSERT_EQ(Back->Fields().Count(), 6);
        const bool Classic = Dialect == mdClassic;
        for (int I = 0; I < 6 && !Classic; ++I)
            EXPECT_EQ(std::pair(Back->Fields().GetFields(I)->Name(),
                                Back->Fields().GetFields(I)->DataType()),
                      std::pair(Layer->Fields().GetFields(I)->Name(),
                                Layer->Fields().GetFields(I)->DataType()));
        for (int I = 0; I < 6; ++I) {
            // Names with quotes, commas and clause words; every value and the whole object.
            EXPECT_EQ(Testing::RowOf(Back->Objects(I)), Testing::RowOf(Layer->Objects(I)));
            if (!Classic || (I != 2 && I != 4)) {
                EXPECT_EQ(Describe(Back->Objects(I)), Describe(Layer->Objects(I)));
            }
        }
        if (Classic) {
            EXPECT_EQ(Testing::PointsOf(Back->Objects(2)), "0 0,1 1");
        }
        EXPECT_EQ(Obj<TText>(4, Back)->Text(), "Hello");
        EXPECT_GT(Obj<TText>(4, Back)->Width(), 0);
        EXPECT_GT(Obj<TText>(4, Back)->Height(), 0);
    }
}

// --- GDAL, the other reader and writer of these files ---------------------------------

TEST_F(MifRoundTrip, GdalReadsWhatWeWrite) {
    if (!Tool("ogrinfo")) GTEST_SKIP() << "ogrinfo is not installed";
    BuildLayer();
    ASSERT_TRUE(Provider.Save(Layer, Path("gdal.mif")));
    const std::string Info = Run("ogrinfo -ro -al -q '" + Path("gdal.mif") + "'");
    EXPECT_EQ(Count(Info, "OGRFeature("), 6) << Info;
    EXPECT_EQ(Count(Info, "ERROR"), 0) << Info;
    EXPECT_EQ(Count(Info, "Warning"), 0) << Info;

    // Geometry kinds in object order; a text is a point with a label style,
    // a circle the polygon of its ellipse.
    std::vector<std::string> Kinds;
    std::regex Geometry(R"(\n  (POLYGON|MULTIPOLYGON|LINESTRING|MULTILINESTRING|POINT) )");
    for (std::sregex_iterator It(Info.begin(), Info.end(), Geometry), End; It != End; ++It)
        Kinds.push_back((*It)[1]);
    EXPECT_EQ(Kinds, (std::vector<std::string>{"POLYGON", "LINESTRING", "MULTILINESTRING", "POINT",
                                               "POINT", "POLYGON"}));
    // Names with apostrophes, commas, quotes and accents come back as they
    // were, and every column stays in its place.
    for (const char* Part :
         {"POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,2 4,4 4,4 2,2 2))", "POINT (-3.5 7.25)",
          "MULTILINESTRING ((0 0,1 1),(5 5,6 6,7 5))", "LABEL(t:\"Hello\",a:30",
          "NAME (String) = O'Brien\n", "NAME (String) = a,b\n",
          "NAME (String) = say \"x\", 'y'\n  F (Real) = 1.25\n  D (Real) = 5.00\n"
          "  I (Integer) = 0\n  DA (Date) = 2024/01/03\n  B (String) = F\n",
          "NAME (String) = Côte d'Ivoire\n  F (Real) = 4.625\n",
          "SYMBOL(a:0,c:#0a141e,s:14pt,"
          "id:\"mapinfo-sym-40"})
        EXPECT_NE(Info.find(Part), std::string::npos) << Part << " in " << Info;
}

// A layer that GDAL writes, with every column type it has, strings that
// need quoting, several parts and a projection, read by us and saved again:
// GDAL sees the same layer in both files (styles aside, which are ours), so
// every value, kind and part was read as GDAL meant it.
TEST_F(MifRoundTrip, GdalSeesTheSameLayerAfterOurSave) {
    if (!Tool("ogr2ogr") || !Tool("ogrinfo")) GTEST_SKIP() << "GDAL's tools are not installed";
    Testing::WriteFile(Path("in.csv"),
                       "WKT,name,n,f,d,day,stamp,clock\n"
                       "\"POINT (500000 6000000)\",\"Côte d'Ivoire, \"\"CI\"\"\",5,1.5,12.345,"
                       "2024/01/02,2024/01/02 03:04:05.678,13:14:15\n"
                       "\"MULTILINESTRING ((500000 6000000,500100.25 6000200.125),(1 2,3 4,5 6))\","
                       "\"a,b\",-7,0.001,0,,,\n"
                       "\"POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,2 4,4 4,4 2,2 2))\","
                       "\"\",0,-1e-3,-99.5,1999/12/31,1999/12/31 23:59:59,00:00:01\n");
    Testing::WriteFile(Path("in.csvt"), "WKT,String,Integer,Real,Real(12.3),Date,DateTime,Time\n");
    const std::string Log =
        Run("ogr2ogr -f 'MapInfo File' -dsco FORMAT=MIF -a_srs EPSG:32637 -nln layer '" +
            Path("src.mif") + "' '" + Path("in.csv") +
            "' -oo GEOM_POSSIBLE_NAMES=WKT -oo KEEP_GEOM_COLUMNS=NO");
    ASSERT_TRUE(std::filesystem::exists(Path("src.mif"))) << Log;

    ASSERT_TRUE(Provider.Load(Back, Path("src.mif")));
    EXPECT_EQ(Messages(), "");
    // Without styles of their own: the format's default symbol, a hollow area.
    EXPECT_EQ(Obj<TSymbol>(0, Back)->Shape(), 35);
    EXPECT_EQ(Obj<TRegion>(2, Back)->Brush()->Style(), bsClear);
    ASSERT_TRUE(Provider.Save(Back, Path("ours.mif")));

    // ogrinfo's whole report but for the file and layer names and the styles.
    auto Report = [&](const std::string& Name) {
        std::istringstream In(Run("ogrinfo -ro -al '" + Path(Name + ".mif") + "'"));
        std::string Line, Kept;
        while (std::getline(In, Line)) {
            if (Line.rfind("INFO:", 0) == 0 || Line.find("using driver") != std::string::npos ||
                Line.rfind("  Style = ", 0) == 0)
                continue;
            for (size_t At; (At = Line.find(Name)) != std::string::npos;)
                Line.replace(At, Name.size(), "LAYER");
            Kept += Line + "\n";
        }
        return Kept;
    };
    const std::string Source = Report("src"), Ours = Report("ours");
    EXPECT_EQ(Ours, Source);
    // Nothing was edited: the very same bytes.
    EXPECT_EQ(Testing::ReadFile(Path("ours.mif")), Testing::ReadFile(Path("src.mif")));
    EXPECT_EQ(Testing::ReadFile(Path("ours.mid")), Testing::ReadFile(Path("src.mid")));
    for (const char* Part : {"name (String) = Côte d'Ivoire, \"CI\"", "PROJCRS[",
                             "stamp (DateTime) = 2024/01/02 03:04:05.678",
                             "clock (Time) = 13:14:15", "d: Real (12.3)", "MULTILINESTRING"})
        EXPECT_NE(Ours.find(Part), std::string::npos) << Part << " in " << Ours;
}

// --- saving what was read ----------------------------------------------------------

namespace {

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
    const std::string Samples = std::string(CHARTIX_SOURCE_DIR) + "/samples/";
    const std::string Kinds = Testing::ReadFile(Data + "gdal-kinds.mif");
    const std::string KindsMid = Testing::ReadFile(Data + "gdal-kinds.mid");
    struct TCase {
        const char* Name;
        std::string Mif, Mid;
        int Moved; // the object moved
    } Cases[] = {
        // Written by ogr2ogr: every statement GDAL writes, no CoordSys.
        {"gdal", Kinds, KindsMid, 2},
        {"gdal-crlf", Crlf(Kinds), Crlf(KindsMid), 1},
        {"countries", Testing::ReadFile(Samples + "countries.mif"),
         Testing::ReadFile(Samples + "countries.mid"), 40},
        {"places", Testing::ReadFile(Samples + "places.mif"),
         Testing::ReadFile(Samples + "places.mid"), 5},
        // Objects without clauses, a tab delimiter, no charset, odd spelling,
        // a text in MapInfo's layout: its lines apart, its size from its box.
        {"bare",
         "VERSION 300\r\nDelimiter \"\t\"\r\nColumns 2\r\nNAME Char(10)\r\nPOP Integer\r\n"
         "DATA\r\nPoint 1.5 2.5\r\nREGION  1\r\n    3\r\n0 0\r\n1 0\r\n0 1\r\nPline 2\r\n0 0\r\n"
         "5 5\r\nText\r\n  \"Hi\"\r\n  1.5 2 3.25 4\r\n  Font (\"Arial\",1,0,255)\r\n",
         "\"a\"\t1\r\n\"b, c\"\t-2\r\n\"\"\t\r\n\"t\"\t3\r\n", 1},
        // Coordinates with fixed decimals, as the classic dialect writes them.
        {"fixed",
         "Version 300\r\nCharset \"WindowsCyrillic\"\r\nDelimiter \",\"\r\n"
         "CoordSys Earth Projection 1, 0\r\nColumns 1\r\nN Integer\r\nData\r\n"
         "Point 1.50 2.00\r\nSymbol (35,255,12)\r\nPline 3\r\n0.00 0.00\r\n0.13 3.50\r\n"
         "10.00 -4.25\r\nPen (1,2,0)\r\n",
         "1\r\n2\r\n", 1},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const std::string In = Path(std::string(C.Name) + ".mif");
        Testing::WriteFile(In, C.Mif);
        Testing::WriteFile(ChangeFileExt(In, ".mid"), C.Mid);
        TMapLayer* L = Map.Layers().Add("", C.Name);
        ASSERT_TRUE(Provider.Load(L, In));
        EXPECT_EQ(Messages(), "");
        ASSERT_TRUE(Provider.Save(L, Path("same.mif")));
        EXPECT_EQ(Testing::ReadFile(Path("same.mif")), C.Mif);
        EXPECT_EQ(Testing::ReadFile(Path("same.mid")), C.Mid);

        TCustomMapObject* O = L->Objects(C.Moved);
        int Points = 0;
        for (int P = 0; P < O->Parts().Count(); ++P)
            for (TMapPoint& Pt : O->Parts().Items(P)->Points()) {
                Pt.X += 1;
                ++Points;
            }
        O->UpdateBounds();
        ASSERT_TRUE(Provider.Save(L, Path("moved.mif")));
        EXPECT_EQ(Testing::ReadFile(Path("moved.mid")), C.Mid);
        const std::vector<std::string> Before = LinesOf(C.Mif),
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
