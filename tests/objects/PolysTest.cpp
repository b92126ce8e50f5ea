// Regions and polylines drawn on a 200 x 100 view, one pixel per map unit.
#include "objects/Polys.h"
#include "platform/Bitmap.h"
#include "support/MapFixture.h"

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
