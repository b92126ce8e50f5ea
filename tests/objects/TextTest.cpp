// Texts fitted to their boxes: font sizes, turning, hit tests and drawing.
#include "objects/Text.h"
#include "platform/Bitmap.h"
#include "support/MapFixture.h"

#include <climits>
#include <cmath>

using namespace Mapobjects;
using Platform::TColor;
using Platform::TPoint;
using Platform::TRect;
using Testing::TInk;

namespace {

constexpr TColor Ink = Platform::clRed;

bool Inside(const QRect& Inner, const TRect& Outer) {
    return Outer.Left <= Inner.left() && Inner.right() <= Outer.Right && Outer.Top <= Inner.top() &&
           Inner.bottom() <= Outer.Bottom;
}

} // namespace

TEST(TextWithoutMap, CanvasAngleIsTheCeilingOfTenthsOfADegreeWithinATurn) {
    Platform::TCanvas C;
    // Whole turns drop out, so any angle fits; one that is no number is none.
    for (auto [Angle, Tenths] : {std::pair{12.34, 124},
                                 {-12.34, -123},
                                 {0.0, 0},
                                 {360.5, 5},
                                 {-725.0, -50},
                                 {4167772155.0, 3150},
                                 {1e300, int(std::fmod(1e301, 3600.0))},
                                 {NAN, 0},
                                 {-INFINITY, 0}}) {
        TText::CanvasSetAngle(&C, Angle);
        EXPECT_EQ(C.Font()->Escapement(), Tenths) << Angle;
        EXPECT_EQ(C.Font()->Orientation(), Tenths) << Angle;
    }
}

struct TextOnMap : Testing::MapFixture {
    TMapLayer* Layer = nullptr;

    void SetUp() override {
        MapFixture::SetUp(); // 360 x 180 pixels, one pixel per map unit, (0, 0) at (180, 90)
        Map.SetColor(Platform::clWhite);
        Layer = Map.Layers().Add("", "texts");
    }
    // A text with exactly this box: set under the sizing guard, as file readers do.
    TText* AddText(const std::string& S, double X, double Y, double W, double H) {
        auto* T = Layer->NewObject<TText>();
        Testing::SetFont(T->Font(), "DejaVu Sans", 0, Ink);
        Map.SetTextSizing(true);
        Testing::Place(T, X, Y);
        T->SetText(S);
        T->SetWidth(W);
        T->SetHeight(H);
        Map.SetTextSizing(false);
        return T;
    }
    TInk Paint() {
        Map.PaintMapToBitmap();
        return Testing::FindInk(Map.MapBitmap()->Canvas(), Ink);
    }
    static Platform::TSize Extent(const Platform::TFont* F, const std::string& S) {
        Platform::TCanvas C; // measures without an image
        C.SetFont(F);
        return C.TextExtent(S);
    }
    // The box fitted to a text at one pixel per map unit: a tenth wider than the text.
    static std::pair<double, double> FittedBox(const Platform::TFont* F, const std::string& S) {
        const Platform::TSize E = Extent(F, S);
        return {E.cx + std::lrint(0.1 * E.cx), E.cy + 1};
    }
};

TEST_F(TextOnMap, BoxOfFivePixelsGetsSizeThreeFirstEstimatesAreCappedAt200) {
    TText* T = AddText("Hello", 0, 0, 50, 5);
    const TInk I = Paint();
    EXPECT_EQ(T->Font()->Size(), 3);
    EXPECT_EQ(I.Count, 0);
    EXPECT_EQ(Map.Displayed().IndexOf(T), -1);
    EXPECT_FALSE(Map.TextSizing());
    EXPECT_EQ(std::pair(T->Width(), T->Height()), std::pair(50.0, 5.0)); // the box stays

    Platform::TFont F;
    Testing::SetFont(&F, "DejaVu Sans", 200);
    const Platform::TSize E = Extent(&F, "Ab");
    // A box one pixel taller than the text at 200 points: an uncapped estimate
    // would start above 200 and step down to a size other than 200.
    ASSERT_GT(std::lrint((E.cy + 1) / 1.48), 200);
    Layer->DeleteObjects();
    T = AddText("Ab", 0, 0, E.cx + 40, E.cy + 1);
    Paint();
    EXPECT_EQ(T->Font()->Size(), 200);
}

TEST_F(TextOnMap, OrdinaryBoxesGetTheLargestSizeThatFits) {
    // Boxes that start the fitting too large and too small, wide and narrow;
    // whatever the first estimate, the result is the one size that fits
    // while the next one up does not.
    const double Widths[] = {24, 45, 80, 150, 340};
    const double Heights[] = {7, 12, 20, 33, 60, 120, 170};
    for (const char* S : {"Hello", "MAP 42", "A rather long label", "il"})
        for (double W : Widths)
            for (double H : Heights) {
                Layer->DeleteObjects();
                TText* T = AddText(S, -170, -85, W, H);
                Paint();
                Platform::TFont F;
                F.Assign(T->Font());
                const int Size = F.Size();
                if (Size < T->MinShowTextSize()) continue; // too small to be shown: any size
                const Platform::TSize E = Extent(&F, S);
                EXPECT_TRUE(E.cx <= W && E.cy <= H) << S << " " << W << "x" << H << " " << Size;
                F.SetSize(Size + 1);
                const Platform::TSize Next = Extent(&F, S);
                EXPECT_TRUE(Next.cx > W || Next.cy > H) << S << " " << W << "x" << H << " " << Size;
            }
}

TEST_F(TextOnMap, HugeBoxesFitQuicklyUpToTheLargestFontAtEveryZoom) {
    // 2000 x 1000 map units: 200,000 pixels wide at zoom 100. Fitting used to
    // walk there one point at a time. The anchor stays at the centre of the
    // view, so the text is drawn at every zoom.
    TText* T = AddText("Big text", 0, 0, 2000, 1000);
    int Last = 0;
    for (double Zoom : {0.01, 0.1, 1.0, 3.0, 10.0, 30.0, 100.0}) {
        Map.SetZoom(Zoom);
        Paint();
        EXPECT_GE(T->Font()->Size(), Last) << Zoom;
        Last = T->Font()->Size();
    }
    EXPECT_EQ(Last, TText::MaxFittedFontSize);
    EXPECT_GE(Map.Displayed().IndexOf(T), 0);

    // Text without width (a control character) grows by its height alone.
    Layer->DeleteObjects();
    T = AddText("\x01", 0, 0, 2000, 1000);
    Paint();
    EXPECT_EQ(T->Font()->Size(), TText::MaxFittedFontSize);

    // A frozen text of any size measures itself at the largest font.
    T->SetFreezeFontSize(true);
    T->Font()->SetSize(INT_MAX);
    Paint();
    const Platform::TSize Capped = Extent(T->Font(), "\x01");
    EXPECT_NEAR(T->Height() * Map.Scale(), Capped.cy + 1, 1e-6);
}

TEST_F(TextOnMap, FrozenTextKeepsItsScreenSizeWhileItsBoxShrinks) {
    TText* T = AddText("Map", -20, -5, 40, 10);
    T->Font()->SetSize(12);
    T->SetFreezeFontSize(true);
    const TInk Before = Paint();
    const double W = T->Width(), H = T->Height();
    EXPECT_EQ(std::pair(W, H), FittedBox(T->Font(), "Map"));
    Map.SetZoom(2);
    const TInk After = Paint();
    EXPECT_EQ(T->Font()->Size(), 12);
    EXPECT_EQ(After.Box.size(), Before.Box.size());
    EXPECT_EQ(std::pair(T->Width(), T->Height()), std::pair(W / 2, H / 2));
}

TEST_F(TextOnMap, PolygonTurnsAboutTheTopLeftCornerAndHitsUseItsFrame) {
    TText* T = AddText("Ab", 10, 10, 40, 20);
    EXPECT_EQ(T->GetTextPolygon(),
              (TTextPoligon{TPoint{190, 60}, TPoint{230, 60}, TPoint{230, 80}, TPoint{190, 80}}));
    EXPECT_EQ(T->GetTextRect(true), (TRect{190, 60, 230, 80}));
    T->SetAngle(90);
    // Width straight above the pivot, Height to its right.
    EXPECT_EQ(T->GetTextPolygon(),
              (TTextPoligon{TPoint{190, 60}, TPoint{190, 20}, TPoint{210, 20}, TPoint{210, 60}}));
    EXPECT_EQ(T->GetTextRect(false), (TRect{190, 20, 210, 60}));

    // A turned text is hit in the axis-parallel frame of its box.
    T->SetAngle(45);
    // Corners: (10, 30), (38.3, 58.3), (52.4, 44.1), (24.1, 15.9).
    EXPECT_TRUE(T->ContainsPoint(12, 56)); // outside the turned box, inside its frame
    EXPECT_TRUE(T->ContainsPoint(30, 35));
    EXPECT_FALSE(T->ContainsPoint(60, 30));
    EXPECT_FALSE(T->ContainsPoint(30, 10));
}

TEST_F(TextOnMap, MinShowTextSizeHidesSmallTextsEmptyOnesKeepFontAndBox) {
    TText* T = AddText("Hello", 0, 0, 60, 12);
    Paint();
    const int Size = T->Font()->Size();
    ASSERT_GE(Size, 4);
    EXPECT_GE(Map.Displayed().IndexOf(T), 0);
    T->SetMinShowTextSize(3);
    EXPECT_EQ(T->MinShowTextSize(), 4);
    T->SetMinShowTextSize(Size + 1);
    const TInk I = Paint();
    EXPECT_EQ(I.Count, 0);
    EXPECT_EQ(Map.Displayed().IndexOf(T), -1);

    // An empty text leaves its font and box alone.
    Layer->DeleteObjects();
    T = AddText("", 0, 0, 50, 20);
    T->Font()->SetSize(12);
    Paint();
    T->RecalcTextSize();
    T->AutoSizeText();
    EXPECT_EQ(std::tuple(T->Font()->Size(), T->Width(), T->Height()), std::tuple(12, 50.0, 20.0));
}

TEST_F(TextOnMap, FontChangesRefitTheBoxOutsideTheSizingGuard) {
    TText* T = AddText("Hello", 0, 0, 100, 30);
    Map.SetModified(false);
    T->Font()->SetSize(20);
    const auto Box20 = FittedBox(T->Font(), "Hello");
    EXPECT_EQ(std::pair(T->Width(), T->Height()), Box20);
    EXPECT_TRUE(Map.Modified());
    EXPECT_FALSE(Map.TextSizing());

    Map.SetTextSizing(true);
    T->Font()->SetSize(30);
    Map.SetTextSizing(false);
    EXPECT_EQ(T->Height(), Box20.second);
}

TEST_F(TextOnMap, BackgroundColourFillsTheBoxAndXorSelectionToggles) {
    TText* T = AddText("Hi", -50, -20, 100, 40);
    T->SetUseBGColor(true);
    T->SetBGColor(Platform::clYellow);
    Paint();
    const TInk Bg = Testing::FindInk(Map.MapBitmap()->Canvas(), Platform::clYellow);
    EXPECT_GT(Bg.Count, 100);
    EXPECT_TRUE(Inside(Bg.Box, T->GetTextRect()));
    Testing::ExpectSelectionToggles(Map, T, {180, 90}, {180, 10}); // inside the box, above it
}
