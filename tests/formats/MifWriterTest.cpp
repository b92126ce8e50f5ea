#include "formats/SimpleMIFFormatProvider.h"

#include "core/MapObjects.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Text.h"
#include "support/MapFixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace Mapobjects;
using namespace Platform;

namespace {

namespace fs = std::filesystem;
using XY = std::pair<double, double>;

const std::string Header = "Version 300\r\nCharset \"WindowsCyrillic\"\r\nDelimiter \",\"\r\n"
                           "CoordSys Earth Projection 1, 0\r\n";

// An object kind the format has no statement for.
class TBlob : public TCustomMapObject {};

struct MifWriter : Testing::MapFixture {
    TSimpleMIFFormatProvider Provider{nullptr};
    TMapLayer* Layer = nullptr;
    fs::path Dir = fs::temp_directory_path() / ("chartix-mifw-" + std::to_string(getpid()));

    void SetUp() override {
        Testing::MapFixture::SetUp();
        Layer = Map.Layers().Add("", "out");
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string Path(const std::string& Name) const { return (Dir / Name).string(); }
    static std::string Read(const std::string& File) {
        std::stringstream S;
        S << std::ifstream(File, std::ios::binary).rdbuf();
        return S.str();
    }
    static void Write(const std::string& File, std::string_view Text) {
        std::ofstream(File, std::ios::binary) << Text;
    }
    // Saves as a.mif and gives the .mif text after "Data".
    std::string SaveBody() {
        EXPECT_TRUE(Provider.Save(Layer, Path("a.mif")));
        const std::string Mif = Read(Path("a.mif"));
        return Mif.substr(Mif.find("Data\r\n") + 6);
    }
    template <class T> T* Add(std::initializer_list<std::initializer_list<XY>> Parts) {
        T* Obj = Layer->NewObject<T>();
        for (const auto& Part : Parts) {
            TMapPoints& Pts = Obj->Parts().Add()->Points();
            for (const XY& P : Part)
                Pts.Add(P.first, P.second);
        }
        Obj->Pen()->SetWidth(1);
        Obj->Pen()->SetStyle(psSolid);
        Obj->Pen()->SetColor(clBlack);
        Obj->Brush()->SetStyle(bsSolid);
        Obj->Brush()->SetColor(clWhite);
        Obj->SetUseBGColor(false);
        return Obj;
    }
    TRegion* Triangle() { return Add<TRegion>({{{0, 0}, {1, 0}, {0, 1}}}); }
    bool NoLeftovers() const {
        for (const auto& E : fs::directory_iterator(Dir)) {
            if (!E.is_regular_file()) continue;
            const std::string N = E.path().filename().string();
            if (N.find(".tmp") != std::string::npos || N.find(".bak") != std::string::npos)
                return false;
        }
        return true;
    }
};

} // namespace

TEST_F(MifWriter, WritesARegionLayerExactly) {
    Layer->Fields().Add("NAME", dtString, 20);
    Add<TRegion>({{{0, 0}, {10, 0}, {5, 8.5}}})->Fields().GetFields(0)->SetAsString("Alpha");
    ASSERT_TRUE(Provider.Save(Layer, Path("a.mif")));
    EXPECT_EQ(Read(Path("a.mif")),
              Header +
                  "Columns 1\r\nNAME Char(20)\r\nData\r\nRegion 1\r\n3\r\n0.000000 0.000000\r\n"
                  "10.000000 0.000000\r\n5.000000 8.500000\r\nPen (1,2,0)\r\n"
                  "Brush (2,16777215)\r\n");
    EXPECT_EQ(Read(Path("a.mid")), "'Alpha'\r\n");
    EXPECT_EQ(Layer->FileName(), Path("a.mif"));
    EXPECT_TRUE(NoLeftovers());

    Layer->DeleteObjects(); // an empty layer: the header, and an empty .mid
    Layer->Fields().Clear();
    ASSERT_TRUE(Provider.Save(Layer, Path("a.mif")));
    EXPECT_EQ(Read(Path("a.mif")), Header + "Columns 0\r\nData\r\n");
    EXPECT_EQ(Read(Path("a.mid")), "");
}

TEST_F(MifWriter, ColumnsAndValuesOfEveryType) {
    const TDataType Types[] = {dtString, dtFloat,    dtDecimal, dtInteger, dtSmallInt,
                               dtDate,   dtDateTime, dtTime,    dtBoolean};
    const char* Names[] = {"S", "F", "D", "I", "SI", "DA", "DT", "T", "B"};
    for (int I = 0; I < 9; ++I)
        Layer->Fields().Add(Names[I], Types[I], 8);
    TDataFields& V = Triangle()->Fields();
    V.GetFields(0)->SetAsString("O'Brien's, Ltd");
    V.GetFields(1)->SetAsFloat(0.125);
    V.GetFields(2)->SetAsDecimal(12.5);
    V.GetFields(3)->SetAsInteger(42);
    V.GetFields(4)->SetAsInteger(-3);
    V.GetFields(5)->SetAsDate(EncodeDate(2024, 2, 29));
    V.GetFields(6)->SetAsDateTime(EncodeDate(1999, 12, 31) + EncodeTime(23, 0, 0, 0));
    V.GetFields(8)->SetValue(true);
    Triangle()->Fields().GetFields(8)->SetValue(false);
    const std::string Mif = (SaveBody(), Read(Path("a.mif")));
    EXPECT_EQ(Mif.substr(0, Mif.find("Data\r\n")),
              Header + "Columns 9\r\nS Char(8)\r\nF Float\r\nD Decimal(9, 2)\r\nI Integer\r\n"
                       "SI SmallInt\r\nDA Date\r\nDT Date\r\nT Date\r\nB Logical\r\n");
    // Apostrophes doubled, the comma as it stands; dates as YYYYMMDD and
    // logicals as T and F, as MIF readers expect them.
    EXPECT_EQ(Read(Path("a.mid")), "'O''Brien''s, Ltd',0.125,12.5,42,-3,20240229,19991231,,T\r\n"
                                   "'',,,,,,,,F\r\n");
}

TEST_F(MifWriter, GeometryStatementsAndStyles) {
    Add<TPolyline>({{{0, 0}, {1, 1}}, {{5, 5}, {6, 6}, {7, 5}}})->Pen()->SetColor(clRed);
    Add<TPolyline>({{{0, 0}, {2, 2}}})->Pen()->SetStyle(psDash);
    TRectangle* R = Layer->NewObject<TRectangle>();
    R->SetX0(10);
    R->SetY0(5);
    R->SetX1(0);
    R->SetY1(0);
    R->Pen()->SetWidth(2);
    R->Pen()->SetStyle(psDot);
    R->Pen()->SetColor(RGB(0, 0, 255));
    R->Brush()->SetStyle(bsClear);
    R->Brush()->SetColor(RGB(0, 255, 0));
    R->SetUseBGColor(true); // a rectangle gives its back colour whatever its brush
    R->SetBGColor(RGB(1, 2, 3));
    TRegion* Hatched = Triangle();
    Hatched->Brush()->SetStyle(bsCross);
    Hatched->SetUseBGColor(true);
    Hatched->SetBGColor(RGB(255, 0, 0));
    TRegion* Hollow = Add<TRegion>({});
    Hollow->Brush()->SetStyle(bsClear);
    Hollow->SetUseBGColor(true);
    EXPECT_EQ(SaveBody(),
              "Pline Multiple 2\r\n2\r\n0.000000 0.000000\r\n1.000000 1.000000\r\n"
              "3\r\n5.000000 5.000000\r\n6.000000 6.000000\r\n7.000000 5.000000\r\n"
              "Pen (1,2,16711680)\r\n"
              "Pline 2\r\n0.000000 0.000000\r\n2.000000 2.000000\r\nPen (1,12,0)\r\n"
              "Region 1\r\n5\r\n0.000000 0.000000\r\n10.000000 0.000000\r\n10.000000 5.000000\r\n"
              "0.000000 5.000000\r\n0.000000 0.000000\r\nPen (2,9,255)\r\nBrush (1,65280,66051)\r\n"
              "Region 1\r\n3\r\n0.000000 0.000000\r\n1.000000 0.000000\r\n0.000000 1.000000\r\n"
              "Pen (1,2,0)\r\nBrush (7,16777215,16711680)\r\n"
              "Region 0\r\nPen (1,2,0)\r\nBrush (1,16777215)\r\n");
}

TEST_F(MifWriter, SymbolsCirclesTextsAndKindsWithoutGeometry) {
    Layer->Fields().Add("N", dtInteger, 0);
    TSymbol* S = Layer->NewObject<TSymbol>();
    S->SetX(1.5);
    S->SetY(-2.5);
    S->SetShape(35);
    S->Font()->SetName("MapInfo Symbol");
    S->Font()->SetSize(12);
    S->Font()->SetColor(RGB(0, 0, 255));
    S->Font()->SetStyle(fsBold | fsUnderline);
    TCircle* C = Layer->NewObject<TCircle>();
    C->SetX(3);
    C->SetY(4);
    C->SetRadius(2);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(RGB(255, 0, 0));
    C->SetUseBGColor(false);
    Layer->AddObject(new TBlob, false);
    TText* T = Layer->NewObject<TText>();
    T->SetX(10);
    T->SetY(20);
    T->Font()->SetName("Arial");
    T->Font()->SetSize(10);
    T->Font()->SetStyle(fsItalic);
    T->Font()->SetColor(RGB(255, 0, 0));
    T->SetText("Say \"hi\"");
    T->SetAngle(45);

    const std::string Body = SaveBody();
    const size_t TextAt = Body.find("Text\r\n");
    EXPECT_EQ(Body.substr(0, TextAt), "Point 1.500000 -2.500000\r\n"
                                      "Symbol (35,255,12,\"MapInfo Symbol\",5,0)\r\n"
                                      "Ellipse 1.000000 2.000000 5.000000 6.000000\r\n"
                                      "Pen (1,2,0)\r\nBrush (2,16711680)\r\n"
                                      "None\r\n");
    // The box runs from the anchor to the far corner of the text as drawn
    // now: right of and below it.
    std::istringstream In(Body.substr(TextAt + 6));
    std::string Quoted, FontLine, AngleLine;
    double X1, Y1, X2, Y2;
    std::getline(In, Quoted);
    In >> X1 >> Y1 >> X2 >> Y2 >> std::ws;
    std::getline(In, FontLine);
    std::getline(In, AngleLine);
    EXPECT_EQ(Quoted, "\"Say \"\"hi\"\"\"\r");
    EXPECT_DOUBLE_EQ(X1, 10);
    EXPECT_DOUBLE_EQ(Y1, 20);
    EXPECT_GT(X2, X1);
    EXPECT_LT(Y2, Y1);
    EXPECT_EQ(FontLine, "Font (\"Arial\",2,10,16711680)\r");
    EXPECT_EQ(AngleLine, "Angle 45.000000\r");
    EXPECT_EQ(Read(Path("a.mid")), "\r\n\r\n\r\n\r\n"); // a row for every object
}

TEST_F(MifWriter, ProgressAndBadTargets) {
    std::vector<std::string> Log;
    Map.OnStartProgress = [&](TObject*, int, int, const std::string& Title) {
        Log.push_back(Title);
    };
    Map.OnStopProgress = [&](TObject*) { Log.push_back("stop"); };
    Triangle();
    EXPECT_THROW(Provider.Save(Layer, Path("no/such/dir/a.mif")), EFCreateError);
    SaveBody();
    EXPECT_EQ(Log, (std::vector<std::string>{"Saving...", "stop"}));
    EXPECT_FALSE(Provider.Save(nullptr, Path("a.mif")));
}

// A failed save leaves the previous pair as it was: a folder where the new
// .mid is written, a folder in the .mif's place (the .mid, already replaced
// then, comes back), a folder in the .mid's place.
TEST_F(MifWriter, FailedSavesKeepTheOldPair) {
    Triangle();
    auto Expect = [&](const char* Name, auto Error, const std::string& Named) {
        try {
            Provider.Save(Layer, Path(Name));
            ADD_FAILURE() << "no error raised for " << Name;
        } catch (const decltype(Error)& E) {
            EXPECT_NE(std::string(E.what()).find(Named), std::string::npos) << E.what();
        }
        EXPECT_TRUE(NoLeftovers()) << Name;
    };
    Write(Path("a.mif"), "old mif");
    Write(Path("a.mid"), "old mid");
    fs::create_directory(Path("a.mid.tmp"));
    Expect("a.mif", EFCreateError(""), Path("a.mid"));
    EXPECT_EQ(Read(Path("a.mif")), "old mif");
    EXPECT_EQ(Read(Path("a.mid")), "old mid");

    fs::create_directories(Path("b.mif") + "/keep");
    Write(Path("b.mid"), "old mid");
    Expect("b.mif", EInOutError(""), Path("b.mif"));
    EXPECT_EQ(Read(Path("b.mid")), "old mid");

    fs::create_directories(Path("c.mid") + "/keep");
    Write(Path("c.mif"), "old mif");
    Expect("c.mif", EInOutError(""), Path("c.mid"));
    EXPECT_EQ(Read(Path("c.mif")), "old mif");
}
