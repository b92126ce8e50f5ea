// Texts fitted to their boxes: font sizes, turning and drawing.
#include "objects/Text.h"
#include "platform/Bitmap.h"
#include "support/MapFixture.h"

#include <climits>
#include <cmath>

using namespace Mapobjects;
using Platform::TColor;
using Testing::TInk;

namespace {

constexpr TColor Ink = Platform::clRed;

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
