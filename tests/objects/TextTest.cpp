#include "support/MapFixture.h"

#include "objects/Text.h"
#include "platform/Bitmap.h"

#include <cmath>
#include <memory>
#include <string>

using namespace Mapobjects;
using Platform::TColor;
using Platform::TPoint;
using Platform::TRect;
using Testing::MapFixture;

namespace {

constexpr TColor Ink = Platform::clRed;
constexpr TColor Paper = Platform::clWhite;

struct TInk {
    int Count = 0;
    TRect Box{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
};

TInk FindInk(Platform::TCanvas* C, int W, int H, TColor Colour = Ink) {
    TInk R;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            if (C->Pixel(X, Y) == Colour) {
                ++R.Count;
                R.Box.Left = std::min(R.Box.Left, X);
                R.Box.Top = std::min(R.Box.Top, Y);
                R.Box.Right = std::max(R.Box.Right, X);
                R.Box.Bottom = std::max(R.Box.Bottom, Y);
            }
    return R;
}

bool Inside(const TRect& Inner, const TRect& Outer) {
    return Outer.Left <= Inner.Left && Inner.Right <= Outer.Right && Outer.Top <= Inner.Top &&
           Inner.Bottom <= Outer.Bottom;
}

} // namespace

TEST(TextWithoutMap, DoesNothingAndHitsNothing) {
    TText T;
    T.SetText("Hello");
    T.SetHeight(5);
    T.SetWidth(10);
    T.Draw();
    EXPECT_EQ(T.Font()->Size(), 8); // the platform default, untouched
    EXPECT_TRUE(T.GetTextPolygon().empty());
    EXPECT_FALSE(T.ContainsPoint(0, 0));
}

TEST(TextWithoutMap, CanvasAngleIsTheCeilingOfTenthsOfADegree) {
    Platform::TBitmap B;
    B.SetSize(4, 4);
    TText::CanvasSetAngle(B.Canvas(), 12.34);
    EXPECT_EQ(B.Canvas()->Font()->Escapement(), 124);
    EXPECT_EQ(B.Canvas()->Font()->Orientation(), 124);
    TText::CanvasSetAngle(B.Canvas(), -12.34);
    EXPECT_EQ(B.Canvas()->Font()->Escapement(), -123);
    TText::CanvasSetAngle(B.Canvas(), 0);
    EXPECT_EQ(B.Canvas()->Font()->Escapement(), 0);
}

struct TextOnMap : MapFixture {
    TMapLayer* Layer = nullptr;

    void SetUp() override {
        MapFixture::SetUp(); // 360 x 180 pixels, one pixel per map unit, (0, 0) at (180, 90)
        Map.SetColor(Paper);
        Layer = Map.Layers().Add("", "texts");
    }
    // A text with exactly this box: set under the sizing guard, as file readers do.
    TText* AddText(const std::string& S, double X, double Y, double W, double H) {
        auto* T = Layer->NewObject<TText>();
        T->Font()->SetName("DejaVu Sans");
        T->Font()->SetColor(Ink);
        Map.SetTextSizing(true);
        T->SetX(X);
        T->SetY(Y);
        T->SetText(S);
        T->SetWidth(W);
        T->SetHeight(H);
        Map.SetTextSizing(false);
        return T;
    }
    TInk Paint() {
        Map.PaintMapToBitmap();
        return FindInk(Map.MapBitmap()->Canvas(), 360, 180);
    }
    Platform::TSize Extent(const Platform::TFont* F, const std::string& S) {
        Platform::TBitmap B;
        B.SetSize(4, 4);
        B.Canvas()->SetFont(F);
        return B.Canvas()->TextExtent(S);
    }
};

TEST_F(TextOnMap, BoxOfFivePixelsGetsSizeThreeAndIsNotDrawn) {
    TText* T = AddText("Hello", 0, 0, 50, 5);
    const TInk I = Paint();
    EXPECT_EQ(T->Font()->Size(), 3);
    EXPECT_EQ(I.Count, 0);
    EXPECT_EQ(Map.Displayed().IndexOf(T), -1);
    EXPECT_FALSE(Map.TextSizing());
    EXPECT_EQ(T->Width(), 50); // sized inside the paint: the box stays
    EXPECT_EQ(T->Height(), 5);
}

TEST_F(TextOnMap, FirstEstimateIsCappedAtTwoHundredPoints) {
    Platform::TFont F;
    F.SetName("DejaVu Sans");
    F.SetSize(200);
    const Platform::TSize E = Extent(&F, "Ab");
    // A box one pixel taller than the text at 200 points: an uncapped estimate
    // would start above 200 and step down to a size other than 200.
    ASSERT_GT(std::lrint((E.cy + 1) / 1.48), 200);
    TText* T = AddText("Ab", 0, 0, E.cx + 40, E.cy + 1);
    Paint();
    EXPECT_EQ(T->Font()->Size(), 200);
}

TEST_F(TextOnMap, ZoomingInEnlargesAnUnfrozenText) {
    TText* T = AddText("Map", -20, -5, 40, 10);
    const TInk Small = Paint();
    const int SmallSize = T->Font()->Size();
    Map.SetZoom(3);
    const TInk Large = Paint();
    EXPECT_GT(T->Font()->Size(), SmallSize);
    EXPECT_GT(Large.Box.Height(), Small.Box.Height());
    EXPECT_EQ(T->Width(), 40);
    EXPECT_EQ(T->Height(), 10);
}

TEST_F(TextOnMap, FrozenTextKeepsItsScreenSizeWhileItsBoxShrinks) {
    TText* T = AddText("Map", -20, -5, 40, 10);
    T->Font()->SetSize(12);
    T->SetFreezeFontSize(true);
    const TInk Before = Paint();
    const double W = T->Width(), H = T->Height();
    const Platform::TSize E = Extent(T->Font(), "Map");
    EXPECT_EQ(W, E.cx + std::lrint(0.1 * E.cx)); // one pixel per map unit
    EXPECT_EQ(H, E.cy + 1);
    Map.SetZoom(2);
    const TInk After = Paint();
    EXPECT_EQ(T->Font()->Size(), 12);
    EXPECT_EQ(After.Box.Height(), Before.Box.Height());
    EXPECT_EQ(After.Box.Width(), Before.Box.Width());
    EXPECT_DOUBLE_EQ(T->Width(), W / 2);
    EXPECT_DOUBLE_EQ(T->Height(), H / 2);
}

TEST_F(TextOnMap, PolygonTurnsAboutTheTopLeftCorner) {
    TText* T = AddText("Ab", 10, 10, 40, 20);
    EXPECT_EQ(T->GetTextPolygon(),
              (TTextPoligon{TPoint{190, 60}, TPoint{230, 60}, TPoint{230, 80}, TPoint{190, 80}}));
    EXPECT_EQ(T->GetTextRect(true), (TRect{190, 60, 230, 80}));
    T->SetAngle(90);
    // Width straight above the pivot, Height to its right.
    EXPECT_EQ(T->GetTextPolygon(),
              (TTextPoligon{TPoint{190, 60}, TPoint{190, 20}, TPoint{210, 20}, TPoint{210, 60}}));
    EXPECT_EQ(T->GetTextRect(false), (TRect{190, 20, 210, 60}));
}

TEST_F(TextOnMap, RotatedHitTestUsesTheAxisParallelBox) {
    TText* T = AddText("Ab", 10, 10, 40, 20);
    T->SetAngle(45);
    // Corners: (10, 30), (38.3, 58.3), (52.4, 44.1), (24.1, 15.9).
    EXPECT_TRUE(T->ContainsPoint(12, 56)); // outside the turned box, inside its frame
    EXPECT_TRUE(T->ContainsPoint(30, 35));
    EXPECT_FALSE(T->ContainsPoint(60, 30));
    EXPECT_FALSE(T->ContainsPoint(30, 10));
}

TEST_F(TextOnMap, MinShowTextSizeHidesSmallTexts) {
    TText* T = AddText("Hello", 0, 0, 60, 12);
    Paint();
    const int Size = T->Font()->Size();
    ASSERT_GE(Size, 4);
    EXPECT_GE(Map.Displayed().IndexOf(T), 0);
    Map.SetModified(false);
    T->SetMinShowTextSize(3);
    EXPECT_EQ(T->MinShowTextSize(), 4);
    EXPECT_FALSE(Map.Modified());
    T->SetMinShowTextSize(Size + 1);
    EXPECT_TRUE(Map.Modified());
    const TInk I = Paint();
    EXPECT_EQ(I.Count, 0);
    EXPECT_EQ(Map.Displayed().IndexOf(T), -1);
}

TEST_F(TextOnMap, EmptyTextLeavesFontAndBoxAlone) {
    TText* T = AddText("", 0, 0, 50, 20);
    T->Font()->SetSize(12);
    Paint();
    T->RecalcTextSize();
    T->AutoSizeText();
    EXPECT_EQ(T->Font()->Size(), 12);
    EXPECT_EQ(T->Width(), 50);
    EXPECT_EQ(T->Height(), 20);
}

TEST_F(TextOnMap, DrawnInkStaysInsideTheTextBox) {
    struct Case {
        const char* Text;
        double X, Y, W, H, Angle;
    } Cases[] = {{"Hello", -150, 20, 120, 30, 0},
                 {"MAP 42", 0, -80, 60, 45, 0},
                 {"Hx", 40, -40, 50, 12, 0},
                 {"Hex", 100, -20, 60, 18, 90}};
    for (const Case& C : Cases) {
        Layer->DeleteObjects();
        TText* T = AddText(C.Text, C.X, C.Y, C.W, C.H);
        T->SetAngle(C.Angle);
        const TInk I = Paint();
        ASSERT_GT(I.Count, 20) << C.Text;
        EXPECT_TRUE(Inside(I.Box, T->GetTextRect())) << C.Text;
        EXPECT_EQ(Map.MapBitmap()->Canvas()->Font()->Escapement(), 0);
        if (C.Angle == 90) {
            EXPECT_GT(I.Box.Height(), I.Box.Width() * 2) << "turned upright";
        }
    }
}

TEST_F(TextOnMap, FontChangesRefitTheBoxOutsideTheSizingGuard) {
    TText* T = AddText("Hello", 0, 0, 100, 30);
    Map.SetModified(false);
    T->Font()->SetSize(20);
    const Platform::TSize E = Extent(T->Font(), "Hello");
    EXPECT_EQ(T->Width(), E.cx + std::lrint(0.1 * E.cx));
    EXPECT_EQ(T->Height(), E.cy + 1);
    EXPECT_TRUE(Map.Modified());
    EXPECT_FALSE(Map.TextSizing());

    Map.SetTextSizing(true);
    T->Font()->SetSize(30);
    Map.SetTextSizing(false);
    EXPECT_EQ(T->Height(), E.cy + 1);

    // A replaced font is listened to; the old one no longer is.
    auto F = std::make_unique<Platform::TFont>();
    F->Assign(T->Font());
    std::unique_ptr<Platform::TFont> Old = T->SetFont(std::move(F));
    T->Font()->SetSize(40);
    const double Height40 = T->Height();
    EXPECT_EQ(Height40, Extent(T->Font(), "Hello").cy + 1);
    Old->SetSize(10);
    EXPECT_EQ(T->Height(), Height40);
}

TEST_F(TextOnMap, BackgroundColourFillsTheBox) {
    TText* T = AddText("Hi", -50, -20, 100, 40);
    T->SetUseBGColor(true);
    T->SetBGColor(Platform::clYellow);
    Paint();
    const TInk Bg = FindInk(Map.MapBitmap()->Canvas(), 360, 180, Platform::clYellow);
    EXPECT_GT(Bg.Count, 100);
    EXPECT_TRUE(Inside(Bg.Box, T->GetTextRect()));
}

TEST_F(TextOnMap, XorSelectionTwiceRestoresTheWindow) {
    TText* T = AddText("Hello", -50, -20, 100, 40);
    Platform::Application()->ProcessMessages();
    const QImage Before = Map.Surface().copy();
    T->DrawSelection();
    Map.Canvas()->Flush();
    const QImage Marked = Map.Surface().copy();
    EXPECT_NE(Marked.pixel(180, 90), Before.pixel(180, 90)); // inside the box
    EXPECT_EQ(Marked.pixel(180, 10), Before.pixel(180, 10)); // above it
    T->DrawSelection();
    Map.Canvas()->Flush();
    EXPECT_EQ(Map.Surface(), Before);
}
