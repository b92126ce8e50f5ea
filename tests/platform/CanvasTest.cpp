// Canvas drawing checked pixel by pixel on bitmaps: pen modes, Windows edge
// rules, brushes, text at 96 DPI, bitmaps and regions.
#include "platform/Bitmap.h"
#include "platform/Region.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <gtest/gtest.h>

using namespace Platform;

namespace {

std::unique_ptr<TBitmap> MakeBitmap(int W, int H, TColor Fill = clWhite) {
    auto B = std::make_unique<TBitmap>();
    B->SetSize(W, H);
    B->Canvas()->Brush()->SetColor(Fill);
    B->Canvas()->FillRect(Rect(0, 0, W, H));
    return B;
}

// A background where every pixel differs, so a pen mode cannot look right by accident.
std::unique_ptr<TBitmap> Gradient(int W, int H) {
    auto B = MakeBitmap(W, H);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            B->Canvas()->SetPixel(X, Y, RGB(X * 9, Y * 7, (X * Y) & 0xFF));
    return B;
}

int CountPixels(TCanvas* C, int W, int H, TColor Color) {
    int N = 0;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            N += C->Pixel(X, Y) == Color;
    return N;
}

QRect InkBox(TCanvas* C, int W, int H, TColor Background) {
    QRect Box;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            if (C->Pixel(X, Y) != Background) Box |= QRect(X, Y, 1, 1);
    return Box;
}

void DrawFigures(TCanvas* C) {
    C->MoveTo(1, 30);
    C->LineTo(38, 3);
    C->Rectangle(4, 4, 20, 15);
    const TPoint Star[5] = {{20, 2}, {26, 36}, {4, 14}, {36, 14}, {12, 36}};
    C->Polygon(Star, 5);
    C->Ellipse(22, 20, 38, 38);
}

} // namespace

TEST(CanvasPenMode, SelfInverseModesRestoreThePictureAndKeepPixelsOpaque) {
    for (TPenMode Mode : {pmXor, pmNotXor, pmNot}) {
        for (TBrushStyle Style : {bsSolid, bsDiagCross, bsClear}) {
            auto B = Gradient(40, 40);
            const QImage Before = B->Image().copy();
            TCanvas* C = B->Canvas();
            C->Pen()->SetColor(RGB(200, 30, 90));
            C->Pen()->SetMode(Mode);
            C->Brush()->SetColor(RGB(10, 220, 60));
            C->Brush()->SetStyle(Style);
            DrawFigures(C);
            const QImage Once = B->Image().copy();
            EXPECT_NE(Once, Before) << "mode " << Mode;
            for (int Y = 0; Y < 40; ++Y) {
                const QRgb* Line = reinterpret_cast<const QRgb*>(Once.constScanLine(Y));
                for (int X = 0; X < 40; ++X)
                    ASSERT_EQ(qAlpha(Line[X]), 255) << X << "," << Y;
            }
            DrawFigures(C);
            EXPECT_EQ(B->Image(), Before) << "mode " << Mode << " brush " << Style;
        }
    }
}

TEST(CanvasPenMode, EveryModeCombinesPenAndDestinationAsItsTruthTable) {
    // Pen 0xCC and destination 0xAA in each channel give the mode's truth table.
    const std::pair<TPenMode, int> Table[] = {
        {pmBlack, 0x00},       {pmWhite, 0xFF},      {pmNop, 0xAA},         {pmNot, 0x55},
        {pmCopy, 0xCC},        {pmNotCopy, 0x33},    {pmMergePenNot, 0xDD}, {pmMaskPenNot, 0x44},
        {pmMergeNotPen, 0xBB}, {pmMaskNotPen, 0x22}, {pmMerge, 0xEE},       {pmNotMerge, 0x11},
        {pmMask, 0x88},        {pmNotMask, 0x77},    {pmXor, 0x66},         {pmNotXor, 0x99}};
    const TColor Pen = RGB(0xCC, 0xCC, 0xCC), Dest = RGB(0xAA, 0xAA, 0xAA);
    for (auto [Mode, Expected] : Table) {
        auto B = MakeBitmap(30, 10, Dest);
        TCanvas* C = B->Canvas();
        C->Pen()->SetColor(Pen);
        C->Pen()->SetMode(Mode);
        C->Brush()->SetColor(Pen);
        C->MoveTo(0, 0);
        C->LineTo(10, 0); // one-pixel pen
        C->Pen()->SetStyle(psClear);
        C->Rectangle(0, 2, 10, 10); // solid fill
        C->Brush()->SetStyle(bsHorizontal);
        C->PaintRgn(TRgn::CreateRectRgn(12, 0, 20, 8)); // hatch fill
        C->Pen()->SetStyle(psSolid);
        C->Pen()->SetWidth(3);
        C->MoveTo(24, 1);
        C->LineTo(24, 8); // wide pen
        const TColor Want = RGB(Expected, Expected, Expected);
        EXPECT_EQ(C->Pixel(5, 0), Want) << "line, mode " << Mode;
        EXPECT_EQ(C->Pixel(5, 5), Want) << "fill, mode " << Mode;
        EXPECT_EQ(C->Pixel(24, 4), Want) << "wide pen, mode " << Mode;
        int Hatched = 0, Untouched = 0;
        for (int Y = 0; Y < 8; ++Y) {
            Hatched += C->Pixel(15, Y) == Want;
            Untouched += C->Pixel(15, Y) == Dest;
        }
        if (Mode == pmNop || Expected == 0xAA) continue;
        EXPECT_EQ(Hatched, 1) << "hatch, mode " << Mode;
        EXPECT_EQ(Untouched, 7) << "hatch gaps, mode " << Mode;
    }
}

TEST(CanvasPenMode, OutlineAndFillCombineWithTheDestinationOnceEach) {
    // XOR on black shows what touched each pixel: the pen alone on the
    // outline, the brush alone inside, never both.
    const TColor Pen = RGB(0x0F, 0, 0), Fill = RGB(0, 0xF0, 0);
    auto Check = [&](const char* What, auto Draw, TPoint Edge, TPoint Inside) {
        auto B = MakeBitmap(12, 12, clBlack);
        TCanvas* C = B->Canvas();
        C->Pen()->SetMode(pmXor);
        C->Pen()->SetColor(Pen);
        C->Brush()->SetColor(Fill);
        Draw(C);
        EXPECT_EQ(C->Pixel(Edge.X, Edge.Y), Pen) << What;
        EXPECT_EQ(C->Pixel(Inside.X, Inside.Y), Fill) << What;
        for (int Y = 0; Y < 12; ++Y)
            for (int X = 0; X < 12; ++X) {
                const TColor P = C->Pixel(X, Y);
                ASSERT_TRUE(P == clBlack || P == Pen || P == Fill) << What << " " << X << "," << Y;
            }
    };
    Check(
        "rectangle", [](TCanvas* C) { C->Rectangle(2, 2, 10, 10); }, Point(2, 5), Point(5, 5));
    const TPoint Square[4] = {{2, 2}, {9, 2}, {9, 9}, {2, 9}};
    Check(
        "polygon", [&](TCanvas* C) { C->Polygon(Square, 4); }, Point(2, 2), Point(5, 5));
    Check(
        "ellipse", [](TCanvas* C) { C->Ellipse(1, 1, 11, 11); }, Point(6, 1), Point(6, 6));
}

TEST(CanvasEdges, RectangleLeavesOutRightAndBottomEdge) {
    auto B = MakeBitmap(10, 10);
    TCanvas* C = B->Canvas();
    C->Pen()->SetColor(clRed);
    C->Brush()->SetColor(clBlue);
    C->Rectangle(2, 2, 6, 6);
    for (int I = 2; I <= 5; ++I) {
        EXPECT_EQ(C->Pixel(I, 2), clRed);
        EXPECT_EQ(C->Pixel(I, 5), clRed);
        EXPECT_EQ(C->Pixel(2, I), clRed);
        EXPECT_EQ(C->Pixel(5, I), clRed);
        EXPECT_EQ(C->Pixel(6, I), clWhite);
        EXPECT_EQ(C->Pixel(I, 6), clWhite);
        EXPECT_EQ(C->Pixel(1, I), clWhite);
    }
    EXPECT_EQ(C->Pixel(3, 3), clBlue);
    EXPECT_EQ(C->Pixel(4, 4), clBlue);
    // Corners given the other way round draw the same.
    auto Other = MakeBitmap(10, 10);
    Other->Canvas()->Pen()->SetColor(clRed);
    Other->Canvas()->Brush()->SetColor(clBlue);
    Other->Canvas()->Rectangle(6, 6, 2, 2);
    EXPECT_EQ(Other->Image(), B->Image());
}

TEST(CanvasEdges, FillRectEllipseAndPolygonStayInsideTheirBox) {
    auto B = MakeBitmap(20, 20);
    TCanvas* C = B->Canvas();
    C->Brush()->SetColor(clBlack);
    C->FillRect(Rect(2, 2, 6, 6));
    EXPECT_EQ(CountPixels(C, 20, 20, clBlack), 16);
    EXPECT_EQ(InkBox(C, 20, 20, clWhite), QRect(2, 2, 4, 4));

    B = MakeBitmap(20, 20);
    C = B->Canvas();
    C->Pen()->SetColor(clRed);
    C->Brush()->SetColor(clBlue);
    C->Ellipse(3, 4, 15, 12);
    EXPECT_EQ(InkBox(C, 20, 20, clWhite), QRect(3, 4, 12, 8));
    EXPECT_EQ(C->Pixel(9, 8), clBlue);
    EXPECT_EQ(C->Pixel(3, 4), clWhite); // corner of the box

    // A five-pointed star filled odd-even leaves its centre empty.
    B = MakeBitmap(40, 40);
    C = B->Canvas();
    C->Pen()->SetStyle(psClear);
    C->Brush()->SetColor(clBlack);
    const TPoint Star[5] = {{20, 0}, {32, 38}, {0, 14}, {40, 14}, {8, 38}};
    C->Polygon(Star, 5);
    EXPECT_EQ(C->Pixel(20, 22), clWhite);
    EXPECT_EQ(C->Pixel(20, 8), clBlack);
    const TPoint Square[4] = {{2, 2}, {6, 2}, {6, 6}, {2, 6}};
    B = MakeBitmap(10, 10);
    B->Canvas()->Pen()->SetStyle(psClear);
    B->Canvas()->Brush()->SetColor(clBlack);
    B->Canvas()->Polygon(Square, 4);
    EXPECT_EQ(InkBox(B->Canvas(), 10, 10, clWhite), QRect(2, 2, 4, 4));
}

TEST(CanvasLines, LineToLeavesOutItsEndPixelInEveryDirection) {
    const TPoint Ends[8] = {{9, 5}, {1, 5}, {5, 9}, {5, 1}, {9, 9}, {1, 1}, {9, 2}, {2, 9}};
    for (TPoint End : Ends) {
        auto B = MakeBitmap(11, 11);
        TCanvas* C = B->Canvas();
        C->MoveTo(5, 5);
        C->LineTo(End.X, End.Y);
        EXPECT_EQ(C->PenPos(), End);
        EXPECT_EQ(C->Pixel(5, 5), clBlack) << End.X << "," << End.Y;
        EXPECT_EQ(C->Pixel(End.X, End.Y), clWhite) << End.X << "," << End.Y;
        EXPECT_EQ(CountPixels(C, 11, 11, clBlack),
                  std::max(std::abs(End.X - 5), std::abs(End.Y - 5)));
    }
}

TEST(CanvasLines, XorPolylineSetsEachVertexOnce) {
    auto B = MakeBitmap(20, 20, clBlack);
    TCanvas* C = B->Canvas();
    C->Pen()->SetColor(clWhite);
    C->Pen()->SetMode(pmXor);
    const TPoint Path[5] = {{2, 2}, {15, 2}, {15, 15}, {5, 12}, {2, 4}};
    C->Polyline(Path, 5);
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(C->Pixel(Path[I].X, Path[I].Y), clWhite) << I;
    EXPECT_EQ(C->Pixel(2, 4), clBlack); // the last point is left out
    // Successive LineTo calls behave the same.
    auto L = MakeBitmap(20, 20, clBlack);
    L->Canvas()->Pen()->SetColor(clWhite);
    L->Canvas()->Pen()->SetMode(pmXor);
    L->Canvas()->MoveTo(2, 2);
    for (int I = 1; I < 5; ++I)
        L->Canvas()->LineTo(Path[I].X, Path[I].Y);
    EXPECT_EQ(L->Image(), B->Image());
}

TEST(CanvasLines, DashGapsAreTransparentUnlessTheBrushIsSolid) {
    auto B = MakeBitmap(30, 4);
    TCanvas* C = B->Canvas();
    C->Pen()->SetStyle(psDot);
    C->Brush()->SetStyle(bsClear);
    C->MoveTo(0, 1);
    C->LineTo(30, 1);
    const int Dots = CountPixels(C, 30, 4, clBlack);
    EXPECT_GT(Dots, 5);
    EXPECT_LT(Dots, 20);
    EXPECT_EQ(CountPixels(C, 30, 4, clWhite), 120 - Dots);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clYellow);
    C->MoveTo(0, 2);
    C->LineTo(30, 2);
    int Gaps = 0;
    for (int X = 0; X < 30; ++X)
        Gaps += C->Pixel(X, 2) == clYellow;
    EXPECT_EQ(Gaps, 30 - Dots);
}

TEST(CanvasLines, FocusRectDrawnTwiceDisappears) {
    auto B = Gradient(20, 20);
    const QImage Before = B->Image().copy();
    B->Canvas()->DrawFocusRect(Rect(3, 4, 15, 12));
    EXPECT_NE(B->Image(), Before);
    EXPECT_EQ(B->Canvas()->Pixel(8, 8), FromQColor(QColor(Before.pixel(8, 8))));
    B->Canvas()->DrawFocusRect(Rect(3, 4, 15, 12));
    EXPECT_EQ(B->Image(), Before);
}

TEST(CanvasBrush, HatchLeavesBackgroundBetweenStrokes) {
    auto B = MakeBitmap(16, 16);
    TCanvas* C = B->Canvas();
    C->Brush()->SetColor(clRed);
    C->Brush()->SetStyle(bsHorizontal);
    C->FillRect(Rect(0, 0, 16, 16));
    int RedRows = 0;
    for (int Y = 0; Y < 16; ++Y) {
        const TColor First = C->Pixel(0, Y);
        for (int X = 1; X < 16; ++X)
            ASSERT_EQ(C->Pixel(X, Y), First);
        RedRows += First == clRed;
    }
    EXPECT_EQ(RedRows, 2); // one line in each 8 rows, white between
    EXPECT_EQ(CountPixels(C, 16, 16, clWhite), 14 * 16);

    // Forward diagonals run from top left to bottom right, aligned to the
    // image origin rather than to the filled rectangle, in copy and XOR mode.
    for (TPenMode Mode : {pmCopy, pmXor}) {
        B = MakeBitmap(16, 16, clBlack);
        C = B->Canvas();
        C->Pen()->SetMode(Mode);
        C->Pen()->SetStyle(psClear);
        C->Brush()->SetColor(clWhite);
        C->Brush()->SetStyle(bsFDiagonal);
        C->Rectangle(3, 5, 16, 16);
        for (int I = 5; I < 16; ++I)
            EXPECT_EQ(C->Pixel(I, I), clWhite) << I;
        EXPECT_EQ(C->Pixel(13, 5), clWhite);
        EXPECT_EQ(C->Pixel(3, 5), clBlack);
        EXPECT_EQ(C->Pixel(6, 5), clBlack);
        EXPECT_EQ(CountPixels(C, 16, 16, clWhite), 11 + 3 + 5); // three diagonals
    }
}

TEST(CanvasBrush, BitmapBrushTilesFromTheImageOrigin) {
    TBitmap Tile;
    Tile.SetSize(2, 2);
    Tile.Canvas()->SetPixel(0, 0, clRed);
    Tile.Canvas()->SetPixel(1, 0, clGreen);
    Tile.Canvas()->SetPixel(0, 1, clBlue);
    Tile.Canvas()->SetPixel(1, 1, clYellow);
    auto B = MakeBitmap(9, 9);
    B->Canvas()->Brush()->SetBitmap(&Tile);
    B->Canvas()->FillRect(Rect(1, 1, 9, 9));
    EXPECT_EQ(B->Canvas()->Pixel(0, 0), clWhite);
    for (int Y = 1; Y < 9; ++Y)
        for (int X = 1; X < 9; ++X)
            ASSERT_EQ(B->Canvas()->Pixel(X, Y), Tile.Canvas()->Pixel(X % 2, Y % 2))
                << X << "," << Y;
}

TEST(CanvasText, MetricsAreFixedAt96Dpi) {
    TFont Font;
    Font.SetName("DejaVu Sans");
    Font.SetSize(12);
    EXPECT_EQ(Font.ToQFont().pixelSize(), 16);
    EXPECT_EQ(Font.Height(), -16);
    auto A = MakeBitmap(200, 60), B = MakeBitmap(50, 50);
    A->Canvas()->SetFont(&Font);
    B->Canvas()->SetFont(&Font);
    const TSize Extent = A->Canvas()->TextExtent("Map layers");
    EXPECT_GT(Extent.cx, 40);
    EXPECT_GE(Extent.cy, 16);
    EXPECT_LE(Extent.cy, 22);
    EXPECT_EQ(A->Canvas()->TextWidth("Map layers"), Extent.cx);
    EXPECT_EQ(A->Canvas()->TextHeight("Map layers"), Extent.cy);
    EXPECT_EQ(B->Canvas()->TextExtent("Map layers"), Extent);
    TCanvas Bare; // no image at all
    Bare.SetFont(&Font);
    EXPECT_EQ(Bare.TextExtent("Map layers"), Extent);
    EXPECT_LT(A->Canvas()->TextWidth("Map"), Extent.cx);
}

TEST(CanvasText, TextOutPutsTheCellTopLeftAtThePoint) {
    auto B = MakeBitmap(200, 60);
    TCanvas* C = B->Canvas();
    C->Font()->SetName("DejaVu Sans");
    C->Font()->SetSize(12);
    C->Font()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
    const TSize Extent = C->TextExtent("Hgjy|");
    C->TextOut(30, 20, "Hgjy|");
    EXPECT_EQ(C->PenPos(), Point(30 + Extent.cx, 20));
    const QRect Ink = InkBox(C, 200, 60, clWhite);
    ASSERT_FALSE(Ink.isEmpty());
    EXPECT_TRUE(QRect(30, 20, Extent.cx, Extent.cy).contains(Ink)) << Ink.x() << "," << Ink.y();
    EXPECT_LT(Ink.top(), 20 + Extent.cy / 3);    // ascenders near the top of the cell
    EXPECT_GT(Ink.bottom(), 20 + Extent.cy / 2); // descenders below the middle

    // A solid brush fills the whole cell first.
    auto O = MakeBitmap(200, 60);
    O->Canvas()->Font()->Assign(C->Font());
    O->Canvas()->Brush()->SetColor(clYellow);
    O->Canvas()->TextOut(30, 20, "Hgjy|");
    EXPECT_EQ(InkBox(O->Canvas(), 200, 60, clWhite), QRect(30, 20, Extent.cx, Extent.cy));
    EXPECT_GT(CountPixels(O->Canvas(), 200, 60, clBlack), 20);
}

TEST(CanvasText, EscapementTurnsTextCounterClockwiseAboutThePoint) {
    auto B = MakeBitmap(60, 120);
    TCanvas* C = B->Canvas();
    C->Font()->SetName("DejaVu Sans");
    C->Font()->SetSize(12);
    C->Font()->SetEscapement(900);
    C->Brush()->SetStyle(bsClear);
    const TSize Extent = C->TextExtent("Vertical");
    C->TextOut(20, 100, "Vertical");
    const QRect Ink = InkBox(C, 60, 120, clWhite);
    ASSERT_FALSE(Ink.isEmpty());
    // Turned by 90 degrees the cell runs upward from (20, 100), to its right.
    EXPECT_GE(Ink.left(), 19);
    EXPECT_LE(Ink.right(), 20 + Extent.cy);
    EXPECT_LE(Ink.bottom(), 100);
    EXPECT_GE(Ink.top(), 100 - Extent.cx - 1);
    EXPECT_GT(Ink.height(), Ink.width());
}

TEST(CanvasText, TextRectClipsAndSingleByteTextDecodes) {
    auto B = MakeBitmap(100, 40);
    TCanvas* C = B->Canvas();
    C->Brush()->SetColor(clAqua);
    C->TextRect(Rect(10, 5, 30, 25), 12, 6, "WWWWWWWWWW");
    EXPECT_EQ(InkBox(C, 100, 40, clWhite), QRect(10, 5, 20, 20));
    EXPECT_EQ(ToQString("caf\xc3\xa9"), QString::fromUtf8("caf\xc3\xa9"));
    EXPECT_EQ(ToQString("caf\xe9"), QString::fromUtf8("caf\xc3\xa9")); // Latin-1
    EXPECT_EQ(FromQString(ToQString("caf\xe9")), "caf\xc3\xa9");
}

TEST(CanvasBitmaps, DrawSkipsTheTransparentColour) {
    TBitmap Sprite;
    Sprite.SetSize(4, 4);
    Sprite.Canvas()->Brush()->SetColor(clFuchsia);
    Sprite.Canvas()->FillRect(Rect(0, 0, 4, 4));
    Sprite.Canvas()->Brush()->SetColor(clNavy);
    Sprite.Canvas()->FillRect(Rect(1, 1, 3, 3));
    auto B = MakeBitmap(10, 10, clGray);
    B->Canvas()->Draw(2, 3, &Sprite);
    EXPECT_EQ(CountPixels(B->Canvas(), 10, 10, clFuchsia), 16 - 4);
    B = MakeBitmap(10, 10, clGray);
    Sprite.SetTransparent(true); // automatic: the bottom-left colour, fuchsia
    B->Canvas()->Draw(2, 3, &Sprite);
    EXPECT_EQ(CountPixels(B->Canvas(), 10, 10, clFuchsia), 0);
    EXPECT_EQ(InkBox(B->Canvas(), 10, 10, clGray), QRect(3, 4, 2, 2));
    Sprite.SetTransparentColor(clNavy);
    B->Canvas()->Draw(-1, -1, &Sprite); // partly outside
    EXPECT_EQ(B->Canvas()->Pixel(0, 0), clGray);
    EXPECT_EQ(B->Canvas()->Pixel(1, 1), clGray);
    EXPECT_EQ(B->Canvas()->Pixel(2, 0), clFuchsia);
    EXPECT_EQ(B->Canvas()->Pixel(2, 2), clFuchsia);
}

TEST(CanvasBitmaps, StretchDrawScalesNearestNeighbour) {
    TBitmap Quad;
    Quad.SetSize(2, 2);
    Quad.Canvas()->SetPixel(0, 0, clRed);
    Quad.Canvas()->SetPixel(1, 0, clLime);
    Quad.Canvas()->SetPixel(0, 1, clBlue);
    Quad.Canvas()->SetPixel(1, 1, clBlack);
    auto B = MakeBitmap(12, 12);
    B->Canvas()->StretchDraw(Rect(2, 2, 10, 10), &Quad);
    EXPECT_EQ(CountPixels(B->Canvas(), 12, 12, clRed), 16);
    EXPECT_EQ(CountPixels(B->Canvas(), 12, 12, clBlack), 16);
    EXPECT_EQ(B->Canvas()->Pixel(5, 5), clRed);
    EXPECT_EQ(B->Canvas()->Pixel(6, 5), clLime);
    EXPECT_EQ(B->Canvas()->Pixel(5, 6), clBlue);
    EXPECT_EQ(B->Canvas()->Pixel(10, 10), clWhite);

    // CopyRect scales too, between canvases and within one.
    auto D = MakeBitmap(8, 8);
    D->Canvas()->CopyRect(Rect(0, 0, 4, 4), B->Canvas(), Rect(2, 2, 10, 10));
    EXPECT_EQ(D->Canvas()->Pixel(1, 1), clRed);
    EXPECT_EQ(D->Canvas()->Pixel(3, 3), clBlack);
    D->Canvas()->CopyRect(Rect(4, 4, 8, 8), D->Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(D->Canvas()->Pixel(7, 4), clLime);
    EXPECT_EQ(D->Canvas()->Pixel(1, 1), clRed);

    // A huge target mostly outside the image: only its visible part is drawn.
    B->Canvas()->StretchDraw(Rect(-1000000, -1000000, 1000006, 1000006), &Quad);
    EXPECT_EQ(B->Canvas()->Pixel(0, 0), clRed);
    EXPECT_EQ(B->Canvas()->Pixel(11, 11), clBlack);
    EXPECT_EQ(B->Canvas()->Pixel(11, 0), clLime);
}

TEST(CanvasBitmaps, AlphaChannelBlends) {
    QImage Half(1, 1, QImage::Format_ARGB32_Premultiplied);
    Half.setPixel(0, 0, qPremultiply(qRgba(0, 0, 255, 128)));
    TBitmap Glass;
    Glass.SetSize(1, 1);
    Glass.Image() = Half;
    auto B = MakeBitmap(3, 3, clWhite);
    B->Canvas()->StretchDraw(Rect(0, 0, 2, 2), &Glass);
    const TColor Mixed = B->Canvas()->Pixel(1, 1);
    EXPECT_NEAR(GetBValue(Mixed), 255, 1);
    EXPECT_NEAR(GetRValue(Mixed), 127, 2);
    EXPECT_EQ(B->Canvas()->Pixel(2, 2), clWhite);
}

TEST(CanvasPixels, OutsideTheImageIsNone) {
    auto B = MakeBitmap(4, 4);
    B->Canvas()->SetPixel(3, 3, RGB(1, 2, 3));
    B->Canvas()->SetPixel(4, 4, clBlack); // ignored
    EXPECT_EQ(B->Canvas()->Pixel(3, 3), RGB(1, 2, 3));
    EXPECT_EQ(B->Canvas()->Pixel(4, 0), clNone);
    EXPECT_EQ(B->Canvas()->Pixel(0, -1), clNone);
    EXPECT_EQ(TCanvas().Pixel(0, 0), clNone);
}

TEST(Regions, WindingPolygonsCombinedByXorLeaveAHole) {
    const TPoint Outer[4] = {{2, 2}, {38, 2}, {38, 38}, {2, 38}};
    const TPoint Inner[4] = {{12, 12}, {28, 12}, {28, 28}, {12, 28}};
    TRgn R = TRgn::CreatePolygonRgn(Outer, 4, WINDING);
    EXPECT_EQ(R.Kind(), SIMPLEREGION);
    EXPECT_EQ(R.Combine(TRgn::CreatePolygonRgn(Inner, 4, WINDING), RGN_XOR), COMPLEXREGION);
    EXPECT_FALSE(R.Contains(20, 20));
    EXPECT_TRUE(R.Contains(5, 20));
    auto B = MakeBitmap(40, 40);
    B->Canvas()->Brush()->SetColor(clGreen);
    B->Canvas()->PaintRgn(R);
    EXPECT_EQ(B->Canvas()->Pixel(20, 20), clWhite);
    EXPECT_EQ(B->Canvas()->Pixel(5, 20), clGreen);
    EXPECT_EQ(B->Canvas()->Pixel(20, 35), clGreen);
    EXPECT_EQ(B->Canvas()->Pixel(1, 1), clWhite);
    EXPECT_EQ(CountPixels(B->Canvas(), 40, 40, clGreen), 36 * 36 - 16 * 16);
}

TEST(Regions, CombinationsReportTheirKind) {
    TRgn A = TRgn::CreateRectRgn(0, 0, 10, 10);
    EXPECT_EQ(A.Combine(TRgn::CreateRectRgn(20, 0, 30, 10), RGN_AND), NULLREGION);
    EXPECT_EQ(A.Combine(TRgn::CreateRectRgn(0, 0, 10, 10), RGN_OR), SIMPLEREGION);
    EXPECT_EQ(A.Combine(TRgn::CreateRectRgn(5, 5, 15, 15), RGN_OR), COMPLEXREGION);
    EXPECT_EQ(A.Combine(TRgn::CreateRectRgn(0, 0, 15, 15), RGN_DIFF), NULLREGION);
    EXPECT_EQ(A.Combine(TRgn::CreateRectRgn(3, 3, 4, 4), RGN_COPY), SIMPLEREGION);
    EXPECT_FALSE(A.Contains(4, 3)); // right edge left out
    const TPoint Two[2] = {{0, 0}, {10, 10}};
    EXPECT_TRUE(TRgn::CreatePolygonRgn(Two, 2, ALTERNATE).IsEmpty());
    TRgn Moved = std::move(A);
    EXPECT_TRUE(Moved.Contains(3, 3));
    EXPECT_TRUE(A.IsEmpty()); // a moved-from region is empty, not broken
}

TEST(DrawingTools, SettersNotifyChangesAndAssignCopiesEverything) {
    EXPECT_EQ(ToQColor(clHighlight), QColor(0, 120, 215)); // red in the low byte
    EXPECT_EQ(ColorToRGB(clDefault), clBlack);
    TPen Pen;
    int Changes = 0;
    Pen.OnChange = [&](TObject*) { ++Changes; };
    Pen.SetColor(clBlack); // unchanged
    Pen.SetWidth(3);
    Pen.SetMode(pmXor);
    EXPECT_EQ(Changes, 2);
    TPen Other;
    Other.SetStyle(psDot);
    Pen.Assign(&Other);
    EXPECT_EQ(Changes, 3);
    EXPECT_EQ(Pen.Width(), 1);
    EXPECT_EQ(Pen.Style(), psDot);
    EXPECT_EQ(Pen.Mode(), pmCopy);
    TBrush Brush;
    EXPECT_THROW(Pen.Assign(&Brush), EConvertError);

    TFont Font, Styled;
    Styled.SetName("DejaVu Sans");
    Styled.SetHeight(-13);
    Styled.SetEscapement(450);
    Font.OnChange = [&](TObject*) { ++Changes; };
    Changes = 0;
    Font.Assign(&Styled);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Font.Size(), 10);
    EXPECT_EQ(Font.Height(), -13);
    EXPECT_EQ(Font.Escapement(), 450);
    EXPECT_TRUE(Font.IsInstalled());
    Font.SetName("dejavu SANS");
    EXPECT_TRUE(Font.IsInstalled());
    Font.SetName("No Such Family 42");
    EXPECT_FALSE(Font.IsInstalled());
}
