// Regions and polylines (and the fills rectangles share with regions) drawn
// on a 200 x 100 view, one pixel per map unit.
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "platform/Bitmap.h"
#include "support/MapFixture.h"

#include <cmath>

using namespace Mapobjects;
using namespace Platform;
using Testing::Box;
using Testing::XY;

namespace {

struct PolysView : Testing::ViewFixture {
    TColor Paint(double X, double Y) { return At(int(100 + X), int(50 - Y)); }
};

} // namespace

TEST_F(PolysView, InnerRingCutsAHoleAndOverlapsStayUnfilled) {
    TRegion* R = Add<TRegion>({Box(-40, -40, 40, 40), Box(-10, -10, 10, 10)});
    Rebuild();
    for (auto [X, Y] : {XY{25, 0}, XY{0, 30}})
        EXPECT_EQ(Paint(X, Y), clRed) << X << "," << Y;
    for (auto [X, Y] : {XY{0, 0}, XY{5, -5}, XY{60, 0}}) // hole, hole, outside
        EXPECT_EQ(Paint(X, Y), clWhite) << X << "," << Y;
    EXPECT_EQ(At(140, 50), clBlack) << "outer outline";
    EXPECT_EQ(At(110, 50), clBlack) << "inner outline";
    EXPECT_EQ(Map.Displayed().IndexOf(R), 0);

    Layer->DeleteObjects();
    Add<TRegion>({Box(-40, -20, 10, 20), Box(-10, -20, 40, 20)});
    Rebuild();
    EXPECT_EQ(Paint(-25, 0), clRed);
    EXPECT_EQ(Paint(25, 0), clRed);
    EXPECT_EQ(Paint(0, 0), clWhite);
    EXPECT_EQ(Paint(-5, 10), clWhite);
}

TEST_F(PolysView, EasyDrawFillsEachPartSoHolesAreFilledOver) {
    Map.SetEasyDraw(true);
    Add<TRegion>({Box(-40, -40, 40, 40), Box(-10, -10, 10, 10)});
    Rebuild();
    EXPECT_EQ(Paint(0, 0), clRed);
    EXPECT_EQ(Paint(25, 0), clRed);
    EXPECT_EQ(At(140, 50), clBlack);
}

// Regions and rectangles draw their own ways; both show the background
// colour between the hatch lines and keep their own pen for the outline.
TEST_F(PolysView, BackgroundColourShowsBetweenHatchLines) {
    for (bool Rect : {false, true}) {
        SCOPED_TRACE(Rect ? "rectangle" : "region");
        Layer->DeleteObjects();
        TCustomMapObject* O = Add<TRegion>({Box(-40, -40, 40, 40)});
        if (Rect) {
            Layer->DeleteObjects();
            O = Testing::Corners(Add<TRectangle>(), -40, -40, 40, 40);
            O->UpdateBounds();
        }
        O->SetUseBGColor(true);
        O->SetBGColor(clYellow);
        O->Brush()->SetStyle(Rect ? bsVertical : bsHorizontal); // lines across the count
        O->Pen()->SetColor(clBlue);
        Rebuild();
        int Red = 0, Yellow = 0, Other = 0;
        for (int I = 20; I < 80; ++I) {
            const TColor C = Rect ? At(I + 50, 50) : At(100, I);
            (C == clRed ? Red : C == clYellow ? Yellow : Other)++;
        }
        EXPECT_GT(Red, 3);
        EXPECT_GT(Yellow, Red) << "hatch lines are thin, background between them";
        EXPECT_EQ(Other, 0);
        EXPECT_EQ(At(60, 50), clBlue) << "outline in the object's pen";
    }
}

// Without fast selection the pattern fills the selected object only, in a
// wider navy pen: the next rebuild's background stays plain, and a replaced
// pattern is used from then on (the old one may be gone).
TEST_F(PolysView, SelectedWithoutFastSelectionIsFilledWithThePattern) {
    Map.SetFastSelection(false);
    Add<TRegion>({Box(-40, -30, 40, 30)})->Select();
    Rebuild();
    Rebuild();
    int Blue = 0, Red = 0, Total = 0;
    for (int Y = 30; Y < 70; ++Y)
        for (int X = 70; X < 130; ++X, ++Total) {
            Blue += At(X, Y) == clBlue;
            Red += At(X, Y) == clRed;
        }
    EXPECT_EQ(Red, 0);
    EXPECT_GE(Blue * 4, Total * 3) << "three quarters of the pattern is blue";
    EXPECT_EQ(At(5, 5), clWhite) << "the background took the pattern";
    // Navy outline, two pixels wider than the object's pen of 1.
    for (int X : {139, 140, 141})
        EXPECT_EQ(At(X, 50), clNavy) << X;

    auto Lime = std::make_unique<TBitmap>();
    Lime->SetSize(2, 2);
    Lime->Canvas()->Brush()->SetColor(clLime);
    Lime->Canvas()->FillRect(TRect{0, 0, 2, 2});
    Map.SetSelectionPattern(std::move(Lime)).reset();
    Rebuild();
    EXPECT_EQ(At(100, 50), clLime);
    EXPECT_EQ(At(5, 5), clWhite);
}

TEST_F(PolysView, PolylineFarOutsideIsDrawnOnlyAcrossTheView) {
    // A tent from far left to far right; clipped as a closed ring, its
    // remainder runs along the margin outside the client area.
    Add<TPolyline>({{{-1000, 0}, {0, 10}, {1000, 0}}});
    Rebuild();
    int Drawn = 0;
    for (int X = 0; X < 200; ++X) {
        const double Expected = 50 - (10 - std::abs(X - 100) / 100.0); // row of the tent
        for (int Y = 0; Y < 100; ++Y) {
            if (At(X, Y) == clWhite) continue;
            ++Drawn;
            EXPECT_LE(std::abs(Y - Expected), 1.0) << X << "," << Y;
        }
    }
    EXPECT_GE(Drawn, 200) << "the line crosses the whole view";
    for (int X = 0; X < 200; ++X)
        ASSERT_EQ(At(X, 50), clWhite) << "no closing segment, column " << X;
}

TEST_F(PolysView, OnePointPolylineDrawsNothingButIsListed) {
    TPolyline* P = Add<TPolyline>({{{0, 0}}});
    P->Pen()->SetWidth(3);
    Rebuild();
    EXPECT_EQ(Testing::FindInk(Map.MapBitmap()->Canvas(), clWhite, true).Count, 0);
    EXPECT_EQ(Map.Displayed().IndexOf(P), 0);
}

TEST_F(PolysView, HighlightTwiceRestoresTheWindow) {
    TRegion* R = Add<TRegion>({Box(-40, -30, 40, 30), Box(-10, -10, 10, 10)});
    TPolyline* L = Add<TPolyline>({{{-90, 40}, {90, -40}}});
    R->SetUseBGColor(true);
    R->SetBGColor(clYellow);
    Testing::ExpectSelectionToggles(Map, R, {125, 50}, {170, 10});
    Testing::ExpectSelectionToggles(Map, L, {100, 50}, {170, 10});
    const QImage Before = Map.Surface().copy();
    L->DrawSelection();
    L->SetSelected(true); // toggles again, membership unchanged
    EXPECT_EQ(Map.Surface(), Before);
    EXPECT_FALSE(L->GetSelected());
}
