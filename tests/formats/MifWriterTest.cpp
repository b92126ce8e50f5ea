// Writing MIF/MID pairs: exact texts, every column type, failures that keep old files.
#include "formats/MifFixture.h"

using namespace Mapobjects;
using namespace Platform;
using Testing::ReadFile;
using Testing::WriteFile;

namespace {

namespace fs = std::filesystem;

// A layer made in code names no coordinate system: the file names none.
const std::string Header = "Version 300\r\nCharset \"Neutral\"\r\nDelimiter \",\"\r\n";

// An object kind the format has no statement for.
class TBlob : public TCustomMapObject {};

struct MifWriter : Testing::MifFixture {
    // Saves as a.mif: the pair is as tests/data/formats/write/NAME.expected.*
    // (those of them that are there).
    void ExpectSaved(const std::string& Name) {
        EXPECT_TRUE(Provider.Save(Layer, Path("a.mif")));
        for (const std::string Ext : {".mif", ".mid"}) {
            const std::string Expected = std::string(CHARTIX_SOURCE_DIR) +
                                         "/tests/data/formats/write/" + Name + ".expected" + Ext;
            if (fs::exists(Expected)) {
                EXPECT_EQ(ReadFile(Path("a" + Ext)), ReadFile(Expected)) << Name << Ext;
            }
        }
    }
    // Saves as a.mif and gives the .mif text after "Data".
    std::string SaveBody() {
        EXPECT_TRUE(Provider.Save(Layer, Path("a.mif")));
        const std::string Mif = ReadFile(Path("a.mif"));
        return Mif.substr(Mif.find("Data\r\n") + 6);
    }
    // A shape with a black pen of one pixel, a solid white brush and no back colour.
    template <class T> T* Add(const std::vector<Testing::TRing>& Parts) {
        T* Obj = Testing::AddShape<T>(Layer, Parts);
        Testing::SetStyles(Obj, clBlack, 1, psSolid, clWhite, bsSolid);
        Obj->SetUseBGColor(false);
        return Obj;
    }
    TRegion* Triangle() { return Add<TRegion>({{{0, 0}, {1, 0}, {0, 1}}}); }
    bool NoLeftovers() const {
        for (const auto& E : fs::directory_iterator(Dir.Dir)) {
            const std::string N = E.path().filename().string();
            if (E.is_regular_file() && (N.find(".tmp") != N.npos || N.find(".bak") != N.npos))
                return false;
        }
        return true;
    }
};

} // namespace

// The provider's original output, byte for byte, as an option.
TEST_F(MifWriter, ClassicDialectWritesTheOriginalBytes) {
    Provider.SetDialect(mdClassic);
    Layer->Fields().Add("NAME", dtString, 20);
    Add<TRegion>({{{0, 0}, {10, 0}, {5, 8.5}}})->Fields().GetFields(0)->SetAsString("Alpha");
    ExpectSaved("classic-region");
    EXPECT_EQ(Layer->FileName(), Path("a.mif"));
    EXPECT_TRUE(NoLeftovers());

    // Apostrophes doubled, a comma as it stands; every date column a Date
    // with the value's own text; a polyline's first part only.
    Layer->DeleteObjects();
    for (auto [Name, Type] : {std::pair("D", dtDecimal), {"DT", dtDateTime}, {"T", dtTime}})
        Layer->Fields().Add(Name, Type, 12)->SetPrecision(4);
    TDataFields& V = Add<TPolyline>({{{0, 0}, {1, 1}}, {{5, 5}, {6, 6}}})->Fields();
    V.GetFields(0)->SetAsString("O'Brien's, Ltd");
    V.GetFields(1)->SetAsDecimal(1.25);
    V.GetFields(2)->SetAsDateTime(EncodeDate(1999, 12, 31) + EncodeTime(23, 0, 0, 0));
    V.GetFields(3)->SetAsTime(EncodeTime(1, 2, 3, 0));
    ExpectSaved("classic-dates-and-first-part-only");
}

TEST_F(MifWriter, AnEmptyLayerWritesItsHeaderAndAnEmptyMid) {
    ASSERT_TRUE(Provider.Save(Layer, Path("a.mif")));
    EXPECT_EQ(ReadFile(Path("a.mif")), Header + "Columns 0\r\nData\r\n");
    EXPECT_EQ(ReadFile(Path("a.mid")), "");
}

TEST_F(MifWriter, ColumnsAndValuesOfEveryType) {
    const TDataType Types[] = {dtString, dtFloat,    dtDecimal, dtInteger, dtSmallInt,
                               dtDate,   dtDateTime, dtTime,    dtBoolean};
    const char* Names[] = {"S", "F", "D", "I", "SI", "DA", "DT", "T", "B"};
    for (int I = 0; I < 9; ++I)
        Layer->Fields().Add(Names[I], Types[I], 8)->SetPrecision(3);
    TDataFields& V = Triangle()->Fields();
    V.GetFields(0)->SetAsString("O'Brien's \"Ltd\", Côte\nd'Ivoire");
    V.GetFields(1)->SetAsFloat(0.125);
    V.GetFields(2)->SetAsDecimal(12.5);
    V.GetFields(3)->SetAsInteger(42);
    V.GetFields(4)->SetAsInteger(-3);
    V.GetFields(5)->SetAsDate(EncodeDate(2024, 2, 29));
    V.GetFields(6)->SetAsDateTime(EncodeDate(1999, 12, 31) + EncodeTime(23, 0, 5, 250));
    V.GetFields(7)->SetAsTime(EncodeTime(1, 2, 3, 4));
    V.GetFields(8)->SetValue(true);
    // Values that are no numbers in numeric columns never break the row.
    TDataFields& W = Triangle()->Fields();
    W.GetFields(1)->SetAsString("1,5");
    W.GetFields(3)->SetAsString("n/a, none");
    W.GetFields(8)->SetValue(false);
    // Strings in double quotes, doubled inside, a line break as the file's
    // line end inside the quotes; dates, times and logicals in the forms
    // readers of the format expect.
    ExpectSaved("every-column-type");
    const std::string Mif = ReadFile(Path("a.mif"));
    EXPECT_EQ(Mif.substr(0, Mif.find("Data\r\n")),
              "Version 900" + Header.substr(11) +
                  "Columns 9\r\nS Char(8)\r\nF Float\r\nD Decimal(8, 3)\r\nI Integer\r\n"
                  "SI SmallInt\r\nDA Date\r\nDT DateTime\r\nT Time\r\nB Logical\r\n");
}

TEST_F(MifWriter, GeometryStatementsAndStyles) {
    Add<TPolyline>({{{0, 0}, {1, 1}}, {{5, 5}, {6, 6}, {7, 5}}})->Pen()->SetColor(clRed);
    Add<TPolyline>({{{0, 0}, {2, 2}}})->Pen()->SetStyle(psDash);
    TRectangle* R = Testing::Corners(Layer->NewObject<TRectangle>(), 10, 5, 0, 0);
    Testing::SetStyles(R, RGB(0, 0, 255), 2, psDot, RGB(0, 255, 0), bsClear);
    R->SetUseBGColor(true); // a rectangle gives its back colour whatever its brush
    R->SetBGColor(RGB(1, 2, 3));
    TRegion* Hatched = Add<TRegion>({{{0.1, 1.0 / 3}, {1e-7, 0}, {123456789.125, 1}}});
    Hatched->Brush()->SetStyle(bsCross);
    Hatched->SetUseBGColor(true);
    Hatched->SetBGColor(RGB(255, 0, 0));
    Hatched->Pen()->SetWidth(12); // wider than 10 pixels: in tenths of a point
    TRegion* Hollow = Add<TRegion>({});
    Hollow->Brush()->SetStyle(bsClear);
    Hollow->SetUseBGColor(true);
    Add<TPolyline>({});
    // Coordinates as the shortest text that reads back the same.
    ExpectSaved("geometry-statements-and-styles");
}

TEST_F(MifWriter, SymbolsCirclesTextsAndKindsWithoutGeometry) {
    Layer->Fields().Add("N", dtInteger, 0);
    TSymbol* S = Testing::Place(Layer->NewObject<TSymbol>(), 1.5, -2.5);
    S->SetShape(35);
    Testing::SetFont(S->Font(), "MapInfo Symbol", 12, RGB(0, 0, 255), fsBold | fsUnderline);
    TSymbol* W = Testing::Place(Layer->NewObject<TSymbol>(), 2, 3);
    W->SetShape(64);
    Testing::SetFont(W->Font(), "Wingdings", 9, RGB(0, 255, 0), fsBold | fsUnderline);
    TCircle* C = Testing::Place(Layer->NewObject<TCircle>(), 3, 4);
    C->SetRadius(2);
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(RGB(255, 0, 0));
    C->SetUseBGColor(false);
    Layer->AddObject(new TBlob, false);
    TText* T = Testing::Place(Layer->NewObject<TText>(), 10, 20);
    Testing::SetFont(T->Font(), "Arial", 10, RGB(255, 0, 0), fsItalic);
    T->SetText("Say \"hi\"");
    T->SetAngle(45);

    const std::string Body = SaveBody();
    const size_t TextAt = Body.find("Text\r\n");
    // The format's own symbols by number alone, those of a font with its name.
    EXPECT_EQ(Body.substr(0, TextAt), "Point 1.5 -2.5\r\nSymbol (35,255,12)\r\n"
                                      "Point 2 3\r\nSymbol (64,65280,9,\"Wingdings\",5,0)\r\n"
                                      "Ellipse 1 2 5 6\r\nPen (1,2,0)\r\nBrush (2,16711680)\r\n"
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
    EXPECT_EQ(AngleLine, "Angle 45\r");
    EXPECT_EQ(ReadFile(Path("a.mid")), "\r\n\r\n\r\n\r\n\r\n"); // a row for every object
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
    WriteFile(Path("a.mif"), "old mif");
    WriteFile(Path("a.mid"), "old mid");
    fs::create_directory(Path("a.mid.tmp"));
    Expect("a.mif", EFCreateError(""), Path("a.mid"));
    EXPECT_EQ(ReadFile(Path("a.mif")), "old mif");
    EXPECT_EQ(ReadFile(Path("a.mid")), "old mid");

    fs::create_directories(Path("b.mif") + "/keep");
    WriteFile(Path("b.mid"), "old mid");
    Expect("b.mif", EInOutError(""), Path("b.mif"));
    EXPECT_EQ(ReadFile(Path("b.mid")), "old mid");

    fs::create_directories(Path("c.mid") + "/keep");
    WriteFile(Path("c.mif"), "old mif");
    Expect("c.mif", EInOutError(""), Path("c.mid"));
    EXPECT_EQ(ReadFile(Path("c.mif")), "old mif");
}
