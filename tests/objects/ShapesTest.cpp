#include "objects/Shapes.h"

#include "core/MapObjects.h"
#include "objects/Polys.h"
#include "platform/Controls.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace Mapobjects;
using namespace Platform;

namespace {

void Place(TCircle& C, double X, double Y, double R) {
    C.SetX(X);
    C.SetY(Y);
    C.SetRadius(R);
}

} // namespace

TEST(Circle, PredicatesOfTheDisc) {
    TCircle A, B, C;
    Place(A, 0, 0, 5);
    EXPECT_TRUE(A.ContainsPoint(3, 4)) << "closed disc";
    EXPECT_FALSE(A.ContainsPoint(3, 4.001));
    EXPECT_TRUE(A.ContainsRect(-3, -4, 3, 4));
    EXPECT_FALSE(A.ContainsRect(-3, -4, 3.1, 4));
    Place(A, 0, 0, 1);
    Place(B, 2, 0, 1);
    Place(C, 0, 1.9, 1);
    EXPECT_FALSE(A.Intersects(&B)) << "touching circles";
    EXPECT_TRUE(A.Intersects(&C));
    EXPECT_TRUE(A.WithinRect(-2, -2, 2, 2));
    EXPECT_FALSE(A.WithinRect(-1, -2, 2, 2)) << "box touches the left side";
    EXPECT_FALSE(A.WithinRect(-2, -2, 2, 1)) << "box touches the top";
    EXPECT_TRUE(A.IntersectsRect(0.5, 0.5, 5, 5));
    EXPECT_FALSE(A.IntersectsRect(-5, -5, 5, 5)) << "encloses the circle, no corner inside";
    EXPECT_FALSE(A.IntersectsRect(-0.2, -5, 0.2, 5)) << "crosses it, no corner inside";
}

TEST(Circle, OnePointOfAnotherKindIsEnough) {
    TCircle C;
    Place(C, 0, 0, 1);
    TPolyline L;
    EXPECT_FALSE(C.Contains(&L)) << "no points";
    TMapPoints& P = L.Parts().Add()->Points();
    P.Add(10, 10);
    EXPECT_FALSE(C.Intersects(&L));
    P.Add(0.5, 0);
    P.Add(-10, 3);
    EXPECT_TRUE(C.Contains(&L));
    EXPECT_TRUE(C.Intersects(&L));
    EXPECT_TRUE(L.Within(&C));
}

TEST(Circle, SettersCreateTheCentreButLeaveTheExtent) {
    TCircle C;
    C.Parts().Items(0)->Points().Clear();
    C.SetY(7);
    ASSERT_EQ(C.Parts().Items(0)->Points().Count(), 1);
    EXPECT_EQ(C.X(), 0);
    EXPECT_EQ(C.Y(), 7);

    TCircle M;
    M.SetX(10);
    M.SetY(20);
    EXPECT_EQ(M.GetBounds().MaxX, 0) << "kept extent still at the creation point";
    M.UpdateBounds();
    EXPECT_EQ(M.GetBounds().MinX, 10);
    EXPECT_EQ(M.GetBounds().MaxY, 20);

    TCircle Empty;
    Empty.Parts().Clear();
    EXPECT_EQ(Empty.Y(), 0);
    EXPECT_EQ(Empty.Parts().Count(), 1) << "reading creates the missing centre";
}

TEST(Rectangle, CornersAreReadOrdered) {
    TRectangle R;
    EXPECT_EQ(R.X0(), 0);
    EXPECT_EQ(R.Y1(), 0);
    R.SetX1(10);
    R.SetY1(5);
    EXPECT_EQ(R.X0(), 0);
    EXPECT_EQ(R.Y0(), 0);
    EXPECT_EQ(R.X1(), 10);
    EXPECT_EQ(R.Y1(), 5);
    R.SetX1(3);
    R.SetX0(5); // goes to the first corner as such
    EXPECT_EQ(R.X0(), 3);
    EXPECT_EQ(R.X1(), 5);

    TRectangle Short;
    Short.Parts().Items(0)->Points().Delete(1);
    EXPECT_EQ(Short.Y1(), 0);
    EXPECT_EQ(Short.Parts().Items(0)->Points().Count(), 2) << "filled up to two corners";
}

TEST(Rectangle, PredicatesUseTheKeptExtent) {
    TRectangle R;
    R.SetX0(-10);
    R.SetY0(-5);
    R.SetX1(10);
    R.SetY1(5);
    EXPECT_FALSE(R.ContainsPoint(3, 2)) << "setters leave the creation extent";
    EXPECT_TRUE(R.ContainsPoint(0, 0));
    R.UpdateBounds();
    EXPECT_TRUE(R.ContainsPoint(3, 2));
    EXPECT_TRUE(R.ContainsPoint(10, 5));

    EXPECT_TRUE(R.IntersectsRect(5, 2, 50, 50));
    EXPECT_FALSE(R.IntersectsRect(-20, -20, 20, 20)) << "encloses it without a corner inside";
    EXPECT_FALSE(R.IntersectsRect(-2, -20, 2, 20)) << "crosses it";
    EXPECT_TRUE(R.WithinRect(-10, -5, 10, 5));
    EXPECT_FALSE(R.WithinRect(-9, -5, 10, 5));

    // Contains compares the other's bounding box, not its points.
    TPolyline L;
    TMapPoints& P = L.Parts().Add()->Points();
    P.Add(-9, -4);
    P.Add(9, 4);
    EXPECT_TRUE(R.Contains(&L));
    P.Add(20, 0);
    EXPECT_FALSE(R.Contains(&L));
    EXPECT_TRUE(R.Intersects(&L));
}

// --- drawing -------------------------------------------------------------------------------

namespace {

// A 200 x 100 white view of -100..100 x -50..50, map (X, Y) at pixel (100 + X, 50 - Y).
struct ShapesView : ::testing::Test {
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
        Layer = Map.Layers().Add("", "shapes");
    }
    template <class T> T* Add() {
        T* Obj = Layer->NewObject<T>();
        Obj->Pen()->SetColor(clBlack);
        Obj->Pen()->SetWidth(1);
        Obj->Brush()->SetColor(clRed);
        Obj->Brush()->SetStyle(bsSolid);
        return Obj;
    }
    TColor At(int X, int Y) { return Map.MapBitmap()->Canvas()->Pixel(X, Y); }
    void Rebuild() {
        Map.PaintMapToBitmap();
        Map.MapBitmap()->Canvas()->Flush();
    }
};

} // namespace

TEST_F(ShapesView, CircleRadiusFollowsTheZoom) {
    TCircle* C = Add<TCircle>();
    C->SetX(10);
    C->SetY(0);
    C->SetRadius(20);
    C->UpdateBounds();
    Rebuild();
    EXPECT_EQ(At(110, 50), clRed);
    EXPECT_EQ(At(125, 50), clRed);
    EXPECT_EQ(At(135, 50), clWhite);
    EXPECT_EQ(At(110, 25), clWhite);
    EXPECT_EQ(At(90, 50), clBlack) << "left edge of the ellipse";
    Map.SetCenterX(10);
    Map.SetZoom(2);
    Rebuild(); // 40 pixels of radius about the centre of the view
    EXPECT_EQ(At(135, 50), clRed);
    EXPECT_EQ(At(100, 15), clRed);
    EXPECT_EQ(At(145, 50), clWhite);
}

TEST_F(ShapesView, RectangleAlwaysUsesItsOwnPenAndBrush) {
    Map.SetFastSelection(false);
    TRectangle* R = Add<TRectangle>();
    R->SetX0(-40);
    R->SetY0(20);
    R->SetX1(40);
    R->SetY1(-20);
    R->UpdateBounds();
    R->Select();
    Rebuild();
    EXPECT_EQ(At(100, 50), clRed) << "no selection pattern";
    EXPECT_EQ(At(60, 50), clBlack) << "own pen, not the navy selection pen";
    EXPECT_EQ(At(61, 50), clRed);
    EXPECT_EQ(At(50, 50), clWhite);
}

TEST_F(ShapesView, RectangleBackgroundShowsBetweenHatchLines) {
    TRectangle* R = Add<TRectangle>();
    R->SetX0(-40);
    R->SetY0(-30);
    R->SetX1(40);
    R->SetY1(30);
    R->UpdateBounds();
    R->SetUseBGColor(true);
    R->SetBGColor(clYellow);
    R->Brush()->SetStyle(bsVertical);
    Rebuild();
    int Red = 0, Yellow = 0, Other = 0;
    for (int X = 70; X < 130; ++X) {
        const TColor C = At(X, 50);
        if (C == clRed)
            ++Red;
        else if (C == clYellow)
            ++Yellow;
        else
            ++Other;
    }
    EXPECT_GT(Red, 3);
    EXPECT_GT(Yellow, Red);
    EXPECT_EQ(Other, 0);
}

TEST_F(ShapesView, CircleHighlightTwiceRestoresTheWindow) {
    TCircle* C = Add<TCircle>();
    C->SetRadius(20);
    C->UpdateBounds();
    Map.Invalidate();
    Application()->ProcessMessages();
    Map.Canvas()->Flush();
    const QImage Before = Map.Surface().copy();
    ASSERT_EQ(FromQColor(Before.pixelColor(100, 50)), clRed);
    C->DrawSelection();
    Map.Canvas()->Flush();
    EXPECT_NE(FromQColor(Map.Surface().pixelColor(100, 50)), clRed);
    C->DrawSelection();
    Map.Canvas()->Flush();
    EXPECT_TRUE(Map.Surface() == Before);
}
