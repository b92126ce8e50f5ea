// The canvas keeps its pen and brush as ready drawing tools between
// primitives; every change of either must reach the next primitive.
#include "platform/Bitmap.h"
#include "platform/Region.h"

#include <functional>
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

// Map painting skips assigning a pen or font equal to the canvas's: every
// attribute must count in the comparison, or an object would be drawn with
// the previous object's tool.
TEST(CanvasTools, EqualToolsDifferInNoAttribute) {
    TPen Base;
    const std::function<void(TPen&)> PenChanges[] = {
        [](TPen& P) { P.SetColor(clRed); }, [](TPen& P) { P.SetWidth(3); },
        [](TPen& P) { P.SetStyle(psDot); }, [](TPen& P) { P.SetMode(pmXor); }};
    for (size_t I = 0; I < std::size(PenChanges); ++I) {
        TPen P;
        P.Assign(Base);
        EXPECT_TRUE(P.Equals(Base));
        PenChanges[I](P);
        EXPECT_FALSE(P.Equals(Base)) << "pen change " << I;
    }
    TFont Font;
    const std::function<void(TFont&)> FontChanges[] = {
        [](TFont& F) { F.SetName("DejaVu Serif"); }, [](TFont& F) { F.SetSize(30); },
        [](TFont& F) { F.SetColor(clRed); },         [](TFont& F) { F.SetStyle(fsBold); },
        [](TFont& F) { F.SetCharset(204); },         [](TFont& F) { F.SetEscapement(900); },
        [](TFont& F) { F.SetOrientation(900); }};
    for (size_t I = 0; I < std::size(FontChanges); ++I) {
        TFont F;
        F.Assign(Font);
        EXPECT_TRUE(F.Equals(Font));
        FontChanges[I](F);
        EXPECT_FALSE(F.Equals(Font)) << "font change " << I;
    }
}
