#include "objects/Polys.h"

#include "core/MapObjects.h"
#include "platform/Controls.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>

using namespace Mapobjects;
using namespace Platform;

namespace {

using XY = std::pair<double, double>;

// A 200 x 100 white view of -100..100 x -50..50: one pixel per map unit, map
// (X, Y) at pixel (100 + X, 50 - Y).
struct PolysView : ::testing::Test {
    TWinControl Form{nullptr};
    TChartix Map{nullptr};
    TMapLayer* Layer = nullptr;

    void SetUp() override {
        Map.SetParent(&Form);
        Map.SetBounds(0, 0, 200, 100);
        Map.SetMinX(-100);
        Map.SetMaxX(100);
        Map.SetMinY(-50);
        Map.SetMaxY(50);
        Map.SetColor(clWhite);
        Layer = Map.Layers().Add("", "polys");
    }

    template <class T> T* Add(std::initializer_list<std::initializer_list<XY>> Parts) {
        T* Obj = Layer->NewObject<T>();
        for (const auto& Part : Parts) {
            TMapPoints& Pts = Obj->Parts().Add()->Points();
            for (const XY& P : Part)
                Pts.Add(P.first, P.second);
        }
        Obj->Pen()->SetColor(clBlack);
        Obj->Pen()->SetWidth(1);
        Obj->Pen()->SetStyle(psSolid);
        Obj->Brush()->SetColor(clRed);
        Obj->Brush()->SetStyle(bsSolid);
        return Obj;
    }

    TColor Paint(double X, double Y) {
        return Map.MapBitmap()->Canvas()->Pixel(static_cast<int>(100 + X),
                                                static_cast<int>(50 - Y));
    }
    TColor At(int X, int Y) { return Map.MapBitmap()->Canvas()->Pixel(X, Y); }
    void Rebuild() {
        Map.PaintMapToBitmap();
        Map.MapBitmap()->Canvas()->Flush();
    }
};

// A closed axis-parallel ring, stored with its first point repeated.
#define RING(L, B, R, T)                                                                           \
    {                                                                                              \
        XY{L, B}, XY{R, B}, XY{R, T}, XY{L, T}, XY {                                               \
            L, B                                                                                   \
        }                                                                                          \
    }

} // namespace

TEST_F(PolysView, InnerRingCutsAHole) {
    TRegion* R = Add<TRegion>({RING(-40, -40, 40, 40), RING(-10, -10, 10, 10)});
    Rebuild();
    EXPECT_EQ(Paint(25, 0), clRed);
    EXPECT_EQ(Paint(0, 30), clRed);
    EXPECT_EQ(Paint(0, 0), clWhite) << "hole";
    EXPECT_EQ(Paint(5, -5), clWhite) << "hole";
    EXPECT_EQ(Paint(60, 0), clWhite) << "outside";
    EXPECT_EQ(At(140, 50), clBlack) << "outer outline";
    EXPECT_EQ(At(110, 50), clBlack) << "inner outline";
    EXPECT_EQ(Map.Displayed().IndexOf(R), 0);
}

TEST_F(PolysView, OverlapOfTwoPartsStaysUnfilled) {
    Add<TRegion>({RING(-40, -20, 10, 20), RING(-10, -20, 40, 20)});
    Rebuild();
    EXPECT_EQ(Paint(-25, 0), clRed);
    EXPECT_EQ(Paint(25, 0), clRed);
    EXPECT_EQ(Paint(0, 0), clWhite);
    EXPECT_EQ(Paint(-5, 10), clWhite);
}

TEST_F(PolysView, EasyDrawFillsEachPartSoHolesAreFilledOver) {
    Map.SetEasyDraw(true);
    TRegion* R = Add<TRegion>({RING(-40, -40, 40, 40), RING(-10, -10, 10, 10)});
    Rebuild();
    EXPECT_EQ(Paint(0, 0), clRed);
    EXPECT_EQ(Paint(25, 0), clRed);
    EXPECT_EQ(At(140, 50), clBlack);
    // No background colour in this mode: white shows between hatch lines.
    R->SetUseBGColor(true);
    R->SetBGColor(clYellow);
    R->Brush()->SetStyle(bsHorizontal);
    Rebuild();
    int White = 0;
    for (int Y = 20; Y < 80; ++Y) {
        EXPECT_NE(At(125, Y), clYellow) << Y;
        White += At(125, Y) == clWhite;
    }
    EXPECT_GT(White, 30);
}

TEST_F(PolysView, BackgroundColourShowsBetweenHatchLines) {
    TRegion* R = Add<TRegion>({RING(-40, -40, 40, 40)});
    R->SetUseBGColor(true);
    R->SetBGColor(clYellow);
    R->Brush()->SetStyle(bsHorizontal);
    R->Pen()->SetColor(clBlue);
    Rebuild();
    int Red = 0, Yellow = 0, Other = 0;
    for (int Y = 20; Y < 80; ++Y) {
        const TColor C = At(100, Y);
        if (C == clRed)
            ++Red;
        else if (C == clYellow)
            ++Yellow;
        else
            ++Other;
    }
    EXPECT_GT(Red, 3);
    EXPECT_GT(Yellow, Red) << "hatch lines are thin, background between them";
    EXPECT_EQ(Other, 0);
    EXPECT_EQ(At(140, 50), clBlue) << "outline in the object's pen";
}

TEST_F(PolysView, SelectedWithoutFastSelectionIsFilledWithThePattern) {
    Map.SetFastSelection(false);
    TRegion* R = Add<TRegion>({RING(-40, -30, 40, 30)});
    R->Select();
    Rebuild();
    int Blue = 0, Red = 0, Total = 0;
    for (int Y = 30; Y < 70; ++Y)
        for (int X = 70; X < 130; ++X, ++Total) {
            const TColor C = At(X, Y);
            Blue += C == clBlue;
            Red += C == clRed;
        }
    EXPECT_EQ(Red, 0);
    EXPECT_GE(Blue * 4, Total * 3) << "three quarters of the pattern is blue";
    // Navy outline, two pixels wider than the object's pen of 1.
    EXPECT_EQ(At(140, 50), clNavy);
    EXPECT_EQ(At(141, 50), clNavy);
    EXPECT_EQ(At(139, 50), clNavy);
}

TEST_F(PolysView, PolylineFarOutsideIsDrawnOnlyAcrossTheView) {
    // A tent from far left to far right; clipped as a closed ring, its
    // remainder runs along the margin outside the client area.
    Add<TPolyline>({{XY{-1000, 0}, XY{0, 10}, XY{1000, 0}}});
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

TEST_F(PolysView, OnePointPolylineDrawsNothing) {
    TPolyline* P = Add<TPolyline>({{XY{0, 0}}});
    P->Pen()->SetWidth(3);
    Rebuild();
    for (int Y = 0; Y < 100; ++Y)
        for (int X = 0; X < 200; ++X)
            ASSERT_EQ(At(X, Y), clWhite) << X << "," << Y;
    EXPECT_EQ(Map.Displayed().IndexOf(P), 0);
}

namespace {

bool SameSurface(TChartix& Map, const QImage& Before) {
    Map.Canvas()->Flush();
    return Map.Surface() == Before;
}

} // namespace

TEST_F(PolysView, HighlightTwiceRestoresTheWindow) {
    TRegion* R = Add<TRegion>({RING(-40, -30, 40, 30), RING(-10, -10, 10, 10)});
    TPolyline* L = Add<TPolyline>({{XY{-90, 40}, XY{90, -40}}});
    R->SetUseBGColor(true);
    R->SetBGColor(clYellow);
    Map.Invalidate();
    Application()->ProcessMessages();
    Map.Canvas()->Flush();
    const QImage Before = Map.Surface().copy();
    ASSERT_EQ(FromQColor(Before.pixelColor(125, 50)), clRed);

    R->DrawSelection();
    Map.Canvas()->Flush();
    EXPECT_NE(FromQColor(Map.Surface().pixelColor(125, 50)), clRed);
    EXPECT_FALSE(SameSurface(Map, Before));
    R->DrawSelection();
    EXPECT_TRUE(SameSurface(Map, Before));

    L->DrawSelection();
    EXPECT_FALSE(SameSurface(Map, Before));
    L->SetSelected(true); // toggles again, membership unchanged
    EXPECT_TRUE(SameSurface(Map, Before));
    EXPECT_FALSE(L->GetSelected());

    Map.SetShowSelection(false);
    Application()->ProcessMessages();
    Map.Canvas()->Flush();
    const QImage Plain = Map.Surface().copy();
    R->DrawSelection();
    L->DrawSelection();
    EXPECT_TRUE(SameSurface(Map, Plain)) << "nothing drawn without ShowSelection";
}
