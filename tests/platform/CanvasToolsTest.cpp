// The canvas keeps its pen and brush as ready drawing tools between
// primitives; every change of either must reach the next primitive.
#include "platform/Bitmap.h"
#include "platform/Region.h"

#include <gtest/gtest.h>

using namespace Platform;

TEST(CanvasTools, EveryPenAndBrushChangeReachesTheNextPrimitive) {
    TBitmap B;
    B.SetSize(20, 20);
    TCanvas* C = B.Canvas();
    C->Pen()->SetColor(clRed);
    C->MoveTo(0, 1);
    C->LineTo(10, 1);
    C->Pen()->SetColor(clBlue);
    C->MoveTo(0, 2);
    C->LineTo(10, 2);
    TPen Green;
    Green.SetColor(clLime);
    C->SetPen(&Green);
    C->MoveTo(0, 3);
    C->LineTo(10, 3);
    EXPECT_EQ(C->Pixel(5, 1), clRed);
    EXPECT_EQ(C->Pixel(5, 2), clBlue);
    EXPECT_EQ(C->Pixel(5, 3), clLime);

    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(clWhite);
    C->MoveTo(0, 3);
    C->LineTo(10, 3);
    EXPECT_EQ(C->Pixel(5, 3), clLime ^ clWhite);

    const TPoint Square[] = {{12, 12}, {18, 12}, {18, 18}, {12, 18}};
    TRgn R = TRgn::CreatePolygonRgn(Square, 4, WINDING);
    C->Pen()->SetMode(pmCopy);
    C->Brush()->SetColor(clYellow);
    C->PaintRgn(R);
    EXPECT_EQ(C->Pixel(15, 15), clYellow);
    C->Brush()->SetColor(clFuchsia);
    C->PaintRgn(R);
    EXPECT_EQ(C->Pixel(15, 15), clFuchsia);
    C->Brush()->SetStyle(bsClear);
    C->Brush()->SetColor(clBlack);
    C->PaintRgn(R);
    EXPECT_EQ(C->Pixel(15, 15), clFuchsia);
}
