// Symbols: their anchor and predicates, and the glyphs they draw.
#include "objects/Symbol.h"
#include "objects/SymbolGlyphs.h"
#include "platform/Bitmap.h"
#include "support/MapFixture.h"

#include <climits>

using namespace Mapobjects;
using Platform::TColor;
using Platform::TRect;
using Testing::MapFixture;

namespace {

constexpr TColor Ink = Platform::clRed;
constexpr TColor Paper = Platform::clWhite;

// Which pixels of a square window around (CX, CY) hold the colour C.
using TPicture = std::vector<bool>;
TPicture Capture(Platform::TCanvas* Canvas, int CX, int CY, int R, TColor C) {
    TPicture P;
    for (int Y = CY - R; Y <= CY + R; ++Y)
        for (int X = CX - R; X <= CX + R; ++X)
            P.push_back(Canvas->Pixel(X, Y) == C);
    return P;
}

const auto InkCount = [](const TPicture& P) { return int(std::count(P.begin(), P.end(), true)); };

} // namespace

TEST(SymbolGeometry, AnchorIsMadeOnFirstUseExtentLagsAndRectanglePredicatesFollowTheAnchor) {
    TSymbol S;
    EXPECT_EQ(S.Shape(), 31);
    S.SetShape(20);
    EXPECT_EQ(S.Shape(), 31);
    EXPECT_EQ(Testing::PointsOf(&S), "0 0");
    EXPECT_EQ(std::tuple(S.X(), S.Y()), std::tuple(0, 0));
    S.Parts().Items(0)->Points().Clear();
    S.SetY(5);
    EXPECT_EQ(Testing::PointsOf(&S), "0 5");
    auto Old = S.SetParts(std::make_unique<TParts>());
    S.SetX(3);
    EXPECT_EQ(Testing::PointsOf(&S), "3 0");

    Testing::Place(&S, 10, 20); // moving an existing anchor keeps the extent of (3, 0)
    EXPECT_EQ(std::tuple(S.GetBounds().MaxX, S.GetBounds().MaxY), std::tuple(3, 0));
    S.UpdateBounds();
    EXPECT_EQ(std::tuple(S.GetBounds().MinX, S.GetBounds().MinY), std::tuple(10, 20));

    // Rectangle predicates follow the anchor only, not the kept extent.
    Testing::Place(&S, 2, 3);
    const double Rects[][4] = {{0, 0, 5, 5},    {2, 3, 2, 3},          {2.1, 0, 5, 5},
                               {0, 3.01, 5, 5}, {-5, -5, 1, 1},        {5, 5, 0, 0},
                               {0, 0, 2, 3},    {-1e9, -1e9, 1e9, 1e9}};
    const bool Expected[] = {true, true, false, false, false, false, true, true};
    for (size_t I = 0; I < std::size(Rects); ++I) {
        const auto& R = Rects[I];
        EXPECT_EQ(S.IntersectsRect(R[0], R[1], R[2], R[3]), Expected[I]) << I;
        EXPECT_EQ(S.WithinRect(R[0], R[1], R[2], R[3]), Expected[I]) << I;
        EXPECT_FALSE(S.ContainsRect(R[0], R[1], R[2], R[3])) << I;
    }
    TSymbol Other;
    EXPECT_FALSE(S.Contains(&Other));
    EXPECT_FALSE(S.Contains(&S));

    TMapLayer Layer;
    TRegion& R = *Testing::AddShape<TRegion>(&Layer, {{{0, 0}, {4, 4}}});
    EXPECT_TRUE(S.Intersects(&R)); // the region's box holds the anchor
    S.SetX(5);
    EXPECT_FALSE(S.Intersects(&R));
    // Without a map the symbol's own hit test accepts everything.
    EXPECT_TRUE(S.ContainsPoint(1000, -1000));
}

struct SymbolOnMap : MapFixture {
    TMapLayer* Layer = nullptr;
    TSymbol* S = nullptr;

    void SetUp() override {
        MapFixture::SetUp(); // 360 x 180 pixels, one pixel per map unit
        Map.SetColor(Paper);
        Layer = Map.Layers().Add("", "symbols");
        S = Layer->NewObject<TSymbol>();
        Testing::SetFont(S->Font(), "MapInfo Symbol", 12, Ink);
    }
    Platform::TCanvas* MapCanvas() { return Map.MapBitmap()->Canvas(); }
    TPicture Picture(int Code) {
        S->SetShape(Code);
        Map.PaintMapToBitmap();
        return Capture(MapCanvas(), 180, 90, 12, Ink);
    }
    bool SymbolFontMissing() { return NeedsSymbolGlyphShapes(*S->Font()); }
};

TEST_F(SymbolOnMap, HitBoxIsHalfTheFontSizePlusTwoPixelsAtAnyZoom) {
    // "1" for each point hit, "0" for each missed.
    auto Hits = [&](std::initializer_list<Testing::XY> Points) {
        std::string R;
        for (auto [X, Y] : Points)
            R += S->ContainsPoint(X, Y) ? '1' : '0';
        return R;
    };
    EXPECT_EQ(Hits({{8, 0}, {9, 0}, {-8, 8}, {0, -9}}), "1010");
    Map.SetZoom(2); // two pixels per map unit
    EXPECT_EQ(Hits({{4, 0}, {4.5, 0}}), "10");
    S->Font()->SetSize(20); // D = 12
    EXPECT_EQ(Hits({{6, 0}, {6.5, 0}}), "10");
    S->SetX(50); // the anchor counts, not the kept extent
    EXPECT_EQ(Hits({{55, 0}, {5, 0}}), "10");
}

TEST_F(SymbolOnMap, EveryCodeOfTheTableHasItsOwnPicture) {
    ASSERT_TRUE(SymbolFontMissing());
    std::vector<TPicture> All;
    for (int Code = FirstSymbolGlyph; Code <= LastSymbolGlyph; ++Code) {
        All.push_back(Picture(Code));
        EXPECT_GT(InkCount(All.back()), 10) << Code;
    }
    for (size_t I = 0; I < All.size(); ++I)
        for (size_t J = I + 1; J < All.size(); ++J)
            EXPECT_NE(All[I], All[J]) << "codes " << I + 32 << " and " << J + 32;
    const size_t Centre = 12 * 25 + 12;
    EXPECT_TRUE(All[32 - 32][Centre]);  // filled square
    EXPECT_FALSE(All[38 - 32][Centre]); // hollow square
    // Codes beyond the table draw a small dot; only the low byte names the glyph.
    const TPicture Dot = Picture(200);
    EXPECT_TRUE(Dot[Centre]);
    EXPECT_LT(InkCount(Dot), InkCount(All[34 - 32]) / 3);
    EXPECT_EQ(Picture(256 + 35), All[35 - 32]);
}

TEST_F(SymbolOnMap, SelectionPatternFillsTheGlyphBoxWhenFastSelectionIsOff) {
    S->SetShape(38); // hollow: the pattern shows inside
    S->Select();
    Map.SetFastSelection(false);
    Map.PaintMapToBitmap();
    Platform::TCanvas* C = MapCanvas();
    C->SetFont(S->Font());
    const int W = C->TextWidth("&"), H = C->TextHeight("&");
    const TColor Pattern = Platform::clBlue; // the pattern's set pixels
    int Inside = 0;
    for (int Y = 90 - H / 2; Y < 90 + H / 2; ++Y)
        for (int X = 180 - W / 2; X < 180 + W / 2; ++X)
            Inside += C->Pixel(X, Y) == Pattern;
    EXPECT_GT(Inside, 0);
    for (int Y = 60; Y < 120; ++Y) {
        EXPECT_NE(C->Pixel(180 - W / 2 - 1, Y), Pattern) << Y;
        EXPECT_NE(C->Pixel(180 + W / 2, Y), Pattern) << Y;
    }
}

TEST_F(SymbolOnMap, AnySizePaintsWithinTheLargestFontAndStillHits) {
    // Sizes beyond any screen, as code or a file may give them: drawn at the
    // largest font, so a filled square covers the whole map.
    ASSERT_TRUE(SymbolFontMissing());
    S->SetShape(32);
    for (int Size : {50527837, INT_MAX, -INT_MAX}) {
        S->Font()->SetSize(Size);
        Map.PaintMapToBitmap();
        EXPECT_EQ(Testing::FindInk(MapCanvas(), Ink, true).Count, 0) << Size;
    }
    Testing::SetFont(S->Font(), "DejaVu Sans", INT_MAX);
    S->SetShape('H');
    Map.PaintMapToBitmap();
    EXPECT_EQ(Map.Displayed().IndexOf(S), 0);
    S->DrawSelection();

    // The hit box is half the size as pixels, however far off the screen.
    S->Font()->SetSize(INT_MAX);
    Testing::Place(S, 1e12, -1e12);
    EXPECT_TRUE(S->ContainsPoint(1e12, -1e12));
    EXPECT_TRUE(S->ContainsPoint(0, 0));
    S->Font()->SetSize(-INT_MAX);
    EXPECT_FALSE(S->ContainsPoint(1e12, -1e12));
}

// A symbol that is there shows, whatever it names: a font that is not
// installed draws the built-in picture of its code (a dot for codes without
// one), turned with the font; a picture file beside the layer is drawn, and
// a missing one as a crossed box.
TEST_F(SymbolOnMap, MissingFontsAndPicturesStillPutInkOnTheMapTurnedAsAsked) {
    Layer->SetFileName(std::string(CHARTIX_SOURCE_DIR) + "/tests/data/roundtrip/custom-symbol.mif");
    auto Ink12 = [&](const std::string& Font, int Code, int Escapement = 0) {
        Testing::SetFont(S->Font(), Font, 12, Ink);
        S->Font()->SetEscapement(Escapement);
        return Picture(Code);
    };
    EXPECT_GT(InkCount(Ink12("No Such Symbol Font", 65)), 20) << "a picture of the same code";
    EXPECT_GT(InkCount(Ink12("No Such Symbol Font", 200)), 4) << "a dot";

    // Arrow 54 points up: its shaft is below the centre; turned a quarter
    // counter-clockwise the shaft lies to the right.
    auto At = [](const TPicture& P, int DX, int DY) {
        return bool(P[static_cast<size_t>((DY + 12) * 25 + DX + 12)]);
    };
    const TPicture Up = Ink12("No Such Symbol Font", 54);
    EXPECT_TRUE(At(Up, 0, 6));
    EXPECT_FALSE(At(Up, 6, 0));
    const TPicture Left = Ink12("No Such Symbol Font", 54, 900);
    EXPECT_TRUE(At(Left, 6, 0));
    EXPECT_FALSE(At(Left, 0, 6));

    // The pin (black head on white) painted in the symbol's colour (style 2),
    // its white left out; a file that is not there still shows.
    Testing::SetFont(S->Font(), "", 12, Ink);
    S->SetPicture("PIN1-32.BMP", 2);
    ASSERT_TRUE(S->IsPicture());
    const TPicture Pin = Picture(35);
    EXPECT_TRUE(At(Pin, 0, -3)) << "the head";
    EXPECT_FALSE(At(Pin, -7, 7)) << "the white corner";
    EXPECT_EQ(Capture(MapCanvas(), 180, 90, 12, Paper)[0], true);
    S->SetPicture("NO-SUCH-PICTURE.BMP", 2);
    EXPECT_GT(InkCount(Picture(35)), 20);
}
