#include "formats/SimpleMIFFormatProvider.h"

#include "core/MapObjects.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Text.h"
#include "platform/Dialogs.h"
#include "support/MapFixture.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <unistd.h>

using namespace Mapobjects;
using namespace Platform;

namespace {

namespace fs = std::filesystem;
using XY = std::pair<double, double>;

const char* const Names[] = {"O'Brien", "a,b", "say \"x\", 'y'", "Pen (1,2,0)", "", "plain"};

struct MifRoundTrip : Testing::MapFixture {
    TSimpleMIFFormatProvider Provider{nullptr};
    TMapLayer* Out = nullptr;
    TMapLayer* Back = nullptr;
    fs::path Dir = fs::temp_directory_path() / ("chartix-miftrip-" + std::to_string(getpid()));

    void SetUp() override {
        Testing::MapFixture::SetUp();
        Out = Map.Layers().Add("", "out");
        Back = Map.Layers().Add("", "back");
        fs::create_directories(Dir);
        RecordedMessages().clear();
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::string Path(const std::string& Name) const { return (Dir / Name).string(); }

    // One object of every kind the format holds, with styles and a value of
    // every type; object I has the name Names[I].
    template <class T> T* Add(std::initializer_list<std::initializer_list<XY>> Parts = {}) {
        T* Obj = Out->NewObject<T>();
        for (const auto& Part : Parts) {
            TMapPoints& Pts = Obj->Parts().Add()->Points();
            for (const XY& P : Part)
                Pts.Add(P.first, P.second);
        }
        const int I = Out->ObjectCount() - 1;
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
            Out->Fields().Add(Columns[I], Types[I], 0);
        auto* R = Add<TRegion>({{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}},
                                {{2, 2}, {2, 4}, {4, 4}, {4, 2}, {2, 2}}});
        R->Pen()->SetColor(RGB(255, 0, 0));
        R->Pen()->SetWidth(2);
        R->Brush()->SetColor(RGB(0, 255, 0));
        Add<TPolyline>({{{0, 0}, {1.125, -1}, {2, 0.5}}})->Pen()->SetColor(RGB(0, 0, 255));
        Add<TPolyline>({{{0, 0}, {1, 1}}, {{5, 5}, {6, 6}, {7, 5}}})->Pen()->SetColor(RGB(1, 2, 3));
        auto* S = Add<TSymbol>();
        S->SetX(-3.5);
        S->SetY(7.25);
        S->SetShape(40);
        S->Font()->SetName("MapInfo Symbol");
        S->Font()->SetSize(14);
        S->Font()->SetColor(RGB(10, 20, 30));
        auto* T = Add<TText>();
        T->SetX(20);
        T->SetY(30);
        T->Font()->SetName("Arial");
        T->Font()->SetColor(RGB(200, 0, 0));
        T->SetText("Hello");
        T->SetAngle(30);
        auto* C = Add<TCircle>();
        C->SetX(5);
        C->SetY(-5);
        C->SetRadius(3);
        C->Brush()->SetColor(RGB(0, 0, 128));
    }

    static bool Tool(const char* Name) {
        return std::system(("command -v " + std::string(Name) + " >/dev/null 2>&1").c_str()) == 0;
    }
    static std::string Run(const std::string& Command) {
        std::string Output;
        if (std::FILE* P = popen((Command + " 2>&1").c_str(), "r")) {
            char Buf[4096];
            for (size_t N; (N = std::fread(Buf, 1, sizeof Buf, P)) > 0;)
                Output.append(Buf, N);
            pclose(P);
        }
        return Output;
    }
    static int Count(const std::string& Text, const std::string& What) {
        int N = 0;
        for (size_t P = Text.find(What); P != std::string::npos; P = Text.find(What, P + 1))
            ++N;
        return N;
    }
    template <class T> T* BackObj(int I) {
        T* Result = dynamic_cast<T*>(Back->Objects(I));
        EXPECT_NE(Result, nullptr) << "object " << I;
        return Result;
    }
};

} // namespace

TEST_F(MifRoundTrip, SaveThenLoadRestoresGeometryStylesAndValues) {
    BuildLayer();
    ASSERT_TRUE(Provider.Save(Out, Path("trip.mif")));
    ASSERT_TRUE(Provider.Load(Back, Path("trip.mif")));
    EXPECT_TRUE(RecordedMessages().empty());
    ASSERT_EQ(Back->ObjectCount(), 6);
    ASSERT_EQ(Back->Fields().Count(), 6);
    for (int I = 0; I < 6; ++I) {
        EXPECT_EQ(Back->Fields().GetFields(I)->Name(), Out->Fields().GetFields(I)->Name());
        EXPECT_EQ(Back->Fields().GetFields(I)->DataType(), Out->Fields().GetFields(I)->DataType());
        const TDataFields& A = Out->Objects(I)->Fields();
        const TDataFields& B = Back->Objects(I)->Fields();
        EXPECT_EQ(B.GetFields(0)->AsString(), Names[I]); // quotes, commas, clause words
        EXPECT_DOUBLE_EQ(B.GetFields(1)->AsFloat(), A.GetFields(1)->AsFloat());
        EXPECT_DOUBLE_EQ(B.GetFields(2)->AsFloat(), A.GetFields(2)->AsDecimal());
        EXPECT_EQ(B.GetFields(3)->AsInteger(), A.GetFields(3)->AsInteger());
        EXPECT_DOUBLE_EQ(B.GetFields(4)->AsDate(), A.GetFields(4)->AsDate());
        EXPECT_EQ(B.GetFields(5)->Value(), A.GetFields(5)->Value());
    }

    auto* R = BackObj<TRegion>(0);
    ASSERT_EQ(R->Parts().Count(), 2);
    EXPECT_DOUBLE_EQ(R->Parts().Items(1)->Points().GetPoint(2).X, 4);
    EXPECT_EQ(R->Pen()->Color(), RGB(255, 0, 0));
    EXPECT_EQ(R->Pen()->Width(), 2);
    EXPECT_EQ(R->Brush()->Color(), RGB(0, 255, 0));
    auto* L = BackObj<TPolyline>(1);
    EXPECT_DOUBLE_EQ(L->Parts().Items(0)->Points().GetPoint(1).X, 1.125);
    EXPECT_EQ(L->Pen()->Color(), RGB(0, 0, 255));
    auto* M = BackObj<TPolyline>(2);
    ASSERT_EQ(M->Parts().Count(), 2);
    EXPECT_EQ(M->Parts().Items(1)->Points().Count(), 3);
    EXPECT_EQ(M->Pen()->Color(), RGB(1, 2, 3));
    auto* S = BackObj<TSymbol>(3);
    EXPECT_DOUBLE_EQ(S->X(), -3.5);
    EXPECT_DOUBLE_EQ(S->Y(), 7.25);
    EXPECT_EQ(S->Shape(), 40);
    EXPECT_EQ(S->Font()->Size(), 14);
    EXPECT_EQ(S->Font()->Color(), RGB(10, 20, 30));
    auto* T = BackObj<TText>(4);
    EXPECT_EQ(T->Text(), "Hello");
    EXPECT_DOUBLE_EQ(T->X(), 20);
    EXPECT_DOUBLE_EQ(T->Y(), 30);
    EXPECT_GT(T->Width(), 0);
    EXPECT_GT(T->Height(), 0);
    EXPECT_DOUBLE_EQ(T->Angle(), 30);
    EXPECT_EQ(T->Font()->Name(), "Arial");
    EXPECT_EQ(T->Font()->Color(), RGB(200, 0, 0));
    auto* C = BackObj<TCircle>(5);
    EXPECT_DOUBLE_EQ(C->X(), 5);
    EXPECT_DOUBLE_EQ(C->Y(), -5);
    EXPECT_DOUBLE_EQ(C->Radius(), 3);
    EXPECT_EQ(C->Brush()->Color(), RGB(0, 0, 128));
}

// --- GDAL, the other reader and writer of these files ---------------------------------

TEST_F(MifRoundTrip, GdalReadsWhatWeWrite) {
    if (!Tool("ogrinfo")) GTEST_SKIP() << "ogrinfo is not installed";
    BuildLayer();
    // GDAL splits at commas inside apostrophes: plain names here.
    for (int I = 0; I < 6; ++I)
        Out->Objects(I)->Fields().GetFields(0)->SetAsString("n" + std::to_string(I));
    ASSERT_TRUE(Provider.Save(Out, Path("gdal.mif")));
    const std::string Info = Run("ogrinfo -ro -al -q '" + Path("gdal.mif") + "'");
    EXPECT_EQ(Count(Info, "OGRFeature("), 6) << Info;

    // Geometry kinds in object order; a text is a point with a label style,
    // a circle the polygon of its ellipse.
    std::vector<std::string> Kinds;
    std::regex Geometry(R"(\n  (POLYGON|MULTIPOLYGON|LINESTRING|MULTILINESTRING|POINT) )");
    for (std::sregex_iterator It(Info.begin(), Info.end(), Geometry), End; It != End; ++It)
        Kinds.push_back((*It)[1]);
    EXPECT_EQ(Kinds, (std::vector<std::string>{"POLYGON", "LINESTRING", "MULTILINESTRING", "POINT",
                                               "POINT", "POLYGON"}));
    EXPECT_NE(Info.find("POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,2 4,4 4,4 2,2 2))"),
              std::string::npos);
    EXPECT_NE(Info.find("POINT (-3.5 7.25)"), std::string::npos);
    EXPECT_NE(Info.find("LABEL(t:\"Hello\",a:30"), std::string::npos);

    // Values of object 5; GDAL keeps the apostrophes of our strings.
    EXPECT_NE(Info.find("NAME (String) = 'n5'"), std::string::npos) << Info;
    EXPECT_NE(Info.find("F (Real) = 4.625"), std::string::npos);
    EXPECT_NE(Info.find("D (Real) = 12.5"), std::string::npos);
    EXPECT_NE(Info.find("I (Integer) = 3"), std::string::npos);
    EXPECT_NE(Info.find("DA (Date) = 2024/01/06"), std::string::npos);
    EXPECT_EQ(Count(Info, "B (String) = T"), 3);
    EXPECT_EQ(Count(Info, "B (String) = F"), 3);
}

TEST_F(MifRoundTrip, ReadsWhatGdalWrites) {
    if (!Tool("ogr2ogr")) GTEST_SKIP() << "ogr2ogr is not installed";
    std::ofstream(Path("in.geojson")) << R"({"type":"FeatureCollection","features":[
{"type":"Feature","properties":{"name":"Alpha, \"A\"","cnt":5,"val":2.5,"day":"2024-01-15"},
 "geometry":{"type":"Point","coordinates":[10.5,-20.25]}},
{"type":"Feature","properties":{"name":"Beta's","cnt":-7,"val":0.001,"day":null},
 "geometry":{"type":"LineString","coordinates":[[0,0],[1,1],[2,0]]}},
{"type":"Feature","properties":{"name":"Gamma","cnt":0,"val":100,"day":"1999-12-31"},
 "geometry":{"type":"Polygon","coordinates":[[[0,0],[10,0],[10,10],[0,10],[0,0]],
                                             [[2,2],[2,4],[4,4],[4,2],[2,2]]]}},
{"type":"Feature","properties":{"name":"Delta","cnt":3,"val":0.5,"day":"2000-02-29"},
 "geometry":{"type":"MultiLineString","coordinates":[[[0,0],[1,1]],[[5,5],[6,6],[7,5]]]}}
]})";
    const std::string Log = Run("ogr2ogr -f 'MapInfo File' -dsco FORMAT=MIF '" + Path("g.mif") +
                                "' '" + Path("in.geojson") + "'");
    ASSERT_TRUE(fs::exists(Path("g.mif"))) << Log;

    ASSERT_TRUE(Provider.Load(Back, Path("g.mif")));
    EXPECT_TRUE(RecordedMessages().empty());
    ASSERT_EQ(Back->Fields().Count(), 4);
    EXPECT_EQ(Back->Fields().GetFields(0)->Name(), "name");
    EXPECT_EQ(Back->Fields().GetFields(1)->DataType(), dtInteger);
    EXPECT_EQ(Back->Fields().GetFields(2)->DataType(), dtFloat);
    EXPECT_EQ(Back->Fields().GetFields(3)->DataType(), dtDate);
    ASSERT_EQ(Back->ObjectCount(), 4);
    auto* P = BackObj<TSymbol>(0);
    EXPECT_DOUBLE_EQ(P->X(), 10.5);
    EXPECT_DOUBLE_EQ(P->Y(), -20.25);
    EXPECT_EQ(P->Shape(), 35);
    EXPECT_EQ(BackObj<TPolyline>(1)->Parts().Items(0)->Points().Count(), 3);
    auto* G = BackObj<TRegion>(2);
    EXPECT_EQ(G->Parts().Count(), 2); // the hole is a second ring
    EXPECT_EQ(G->Brush()->Style(), bsClear);
    EXPECT_EQ(BackObj<TPolyline>(3)->Parts().Count(), 2);

    auto Field = [&](int Obj, int F) { return Back->Objects(Obj)->Fields().GetFields(F); };
    EXPECT_EQ(Field(0, 0)->AsString(), "Alpha, \"A\"");
    EXPECT_EQ(Field(1, 0)->AsString(), "Beta's");
    EXPECT_EQ(Field(1, 1)->AsInteger(), -7);
    EXPECT_DOUBLE_EQ(Field(1, 2)->AsFloat(), 0.001);
    EXPECT_DOUBLE_EQ(Field(0, 3)->AsDate(), EncodeDate(2024, 1, 15));
    EXPECT_TRUE(Field(1, 3)->Value().IsEmpty());
    EXPECT_DOUBLE_EQ(Field(3, 3)->AsDate(), EncodeDate(2000, 2, 29));
}
