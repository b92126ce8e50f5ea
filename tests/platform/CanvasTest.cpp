// Canvas drawing checked pixel by pixel on bitmaps: pen modes, brushes, text
// at 96 DPI, bitmaps, regions and the drawing tools.
#include "Pictures.h"
#include "platform/Mask.h"
#include "platform/Region.h"
#include "support/TestUtils.h"

#include <QFont>
#include <climits>
#include <functional>
#include <gtest/gtest.h>

using namespace Platform;
using Pictures::Blank;
using Testing::ExpectPixels;
using Testing::FindInk;

namespace {

// A 2 x 2 picture with these colours at (0, 0), (1, 0), (0, 1) and (1, 1).
void MakeQuad(TBitmap& B, TColor A, TColor Right, TColor Below, TColor Diagonal) {
    B.SetSize(2, 2);
    B.Canvas()->SetPixel(0, 0, A);
    B.Canvas()->SetPixel(1, 0, Right);
    B.Canvas()->SetPixel(0, 1, Below);
    B.Canvas()->SetPixel(1, 1, Diagonal);
}

QRect InkBox(TCanvas* C, TColor Background) {
    return FindInk(C, Background, true).Box;
}

} // namespace

TEST(CanvasPenMode, EveryModeCombinesPenAndDestinationAsItsTruthTable) {
    // Pen 0xCC and destination 0xAA in each channel give the mode's truth table.
    const std::pair<TPenMode, int> Table[] = {
        {pmBlack, 0x00},       {pmWhite, 0xFF},      {pmNop, 0xAA},         {pmNot, 0x55},
        {pmCopy, 0xCC},        {pmNotCopy, 0x33},    {pmMergePenNot, 0xDD}, {pmMaskPenNot, 0x44},
        {pmMergeNotPen, 0xBB}, {pmMaskNotPen, 0x22}, {pmMerge, 0xEE},       {pmNotMerge, 0x11},
        {pmMask, 0x88},        {pmNotMask, 0x77},    {pmXor, 0x66},         {pmNotXor, 0x99}};
    const TColor Pen = RGB(0xCC, 0xCC, 0xCC), Dest = RGB(0xAA, 0xAA, 0xAA);
    for (auto [Mode, Expected] : Table) {
        auto B = Blank(30, 10, Dest);
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

// Successive LineTo calls draw the same as one Polyline, whose last point is
// left out and whose vertices XOR once each.
TEST(CanvasPenMode, XorPolylinesSetEachVertexOnceAsSuccessiveLineTos) {
    const TPoint Path[5] = {{2, 2}, {15, 2}, {15, 15}, {5, 12}, {2, 4}};
    auto B = Blank(20, 20, clBlack), L = Blank(20, 20, clBlack);
    for (TBitmap* Each : {B.get(), L.get()}) {
        Each->Canvas()->Pen()->SetColor(clWhite);
        Each->Canvas()->Pen()->SetMode(pmXor);
    }
    B->Canvas()->Polyline(Path, 5);
    L->Canvas()->MoveTo(2, 2);
    for (int I = 1; I < 5; ++I)
        L->Canvas()->LineTo(Path[I].X, Path[I].Y);
    ExpectPixels(B->Canvas(), {{15, 2, clWhite}, {5, 12, clWhite}, {2, 4, clBlack}});
    EXPECT_EQ(L->Image(), B->Image());
}

// Hatches and pattern bitmaps are laid from the image origin, not from the
// filled rectangle. A brush paints with the pixels its pattern had when it
// was set: the bitmap may change or go. A colour or a style replaces the
// pattern, so a plain fill after a patterned one is plain.
TEST(CanvasBrush, PatternsTileFromTheImageOriginAndAreTheBrushsOwn) {
    auto Hatched = Blank(16, 16, clBlack);
    TCanvas* H = Hatched->Canvas();
    H->Pen()->SetStyle(psClear);
    H->Brush()->SetColor(clWhite);
    H->Brush()->SetStyle(bsFDiagonal);
    H->Rectangle(3, 5, 16, 16);
    ExpectPixels(H, {{5, 5, clWhite}, {15, 15, clWhite}, {13, 5, clWhite}, {3, 5, clBlack}});
    EXPECT_EQ(FindInk(H, clWhite).Count, 11 + 3 + 5); // three diagonals

    auto Tile = std::make_unique<TBitmap>();
    MakeQuad(*Tile, clRed, clGreen, clBlue, clYellow);
    auto B = Blank(5, 5);
    TBrush* Brush = B->Canvas()->Brush();
    Brush->SetStyle(bsClear);
    Brush->SetBitmap(Tile.get());
    EXPECT_EQ(Brush->Style(), bsSolid);
    Tile->Canvas()->SetPixel(0, 0, clBlack); // after the brush took it
    Tile.reset();
    TBrush Copy;
    Copy.Assign(Brush); // shares the pattern, not the bitmap
    B->Canvas()->FillRect(Rect(1, 1, 5, 5));
    ExpectPixels(B->Canvas(), {{0, 0, clWhite}, {2, 2, clRed}, {3, 2, clGreen}, {2, 3, clBlue}});

    for (auto Plain :
         {+[](TBrush& Br) { Br.SetColor(clWhite); }, +[](TBrush& Br) { Br.SetStyle(bsSolid); }}) {
        auto Target = Blank(4, 4, clNavy);
        Target->Canvas()->SetBrush(&Copy); // white, as the brush it copied
        Plain(*Target->Canvas()->Brush());
        Target->Canvas()->FillRect(Rect(0, 0, 4, 4));
        EXPECT_EQ(FindInk(Target->Canvas(), clWhite, true).Count, 0) << "patterned after all";
    }
}

TEST(CanvasText, MetricsAreFixedAt96DpiUpToTheFontCap) {
    // MulDiv rounding below the cap; the cap itself for any larger size, so
    // that sizes past 22 million points (N x 96 beyond 32 bits) stay sane.
    const std::pair<int, int> Cases[] = {{0, 0},
                                         {1, 1},
                                         {3, 4},
                                         {12, 16},
                                         {-12, -16},
                                         {12288, 16384},
                                         {12289, MaxFontPixels},
                                         {22369622, MaxFontPixels},
                                         {INT_MAX, MaxFontPixels},
                                         {INT_MIN, -MaxFontPixels}};
    for (auto [Points, Pixels] : Cases)
        EXPECT_EQ(PointsToPixels(Points), Pixels) << Points;
    TFont Font;
    Font.SetName("DejaVu Sans");
    Font.SetSize(12);
    EXPECT_EQ(std::pair(Font.ToQFont().pixelSize(), Font.Height()), std::pair(16, -16));
    auto A = Blank(200, 60);
    A->Canvas()->SetFont(&Font);
    const TSize Extent = A->Canvas()->TextExtent("Map layers");
    EXPECT_EQ(A->Canvas()->TextWidth("Map layers"), Extent.cx);
    TCanvas Bare; // no image at all
    Bare.SetFont(&Font);
    EXPECT_EQ(Bare.TextExtent("Map layers"), Extent);
}

// TextOut puts the top-left of the text cell at the point; the font's
// escapement turns the cell counter-clockwise about it.
TEST(CanvasText, TextOutPutsTheCellAtThePointTurnedByTheEscapement) {
    for (int Escapement : {0, 900}) {
        auto B = Blank(120, 120);
        TCanvas* C = B->Canvas();
        C->Font()->SetName("DejaVu Sans");
        C->Font()->SetSize(12);
        C->Font()->SetEscapement(Escapement);
        C->Brush()->SetStyle(bsClear);
        const TSize Extent = C->TextExtent("Hgjy|");
        C->TextOut(20, 100, "Hgjy|");
        const QRect Ink = InkBox(C, clWhite);
        ASSERT_FALSE(Ink.isEmpty());
        if (Escapement == 0) {
            EXPECT_EQ(C->PenPos(), Point(20 + Extent.cx, 100));
            EXPECT_TRUE(QRect(20, 100, Extent.cx, Extent.cy).contains(Ink));
            EXPECT_LT(Ink.top(), 100 + Extent.cy / 3);    // ascenders near the top of the cell
            EXPECT_GT(Ink.bottom(), 100 + Extent.cy / 2); // descenders below the middle
        } else { // the cell runs upward from (20, 100), to its right
            EXPECT_TRUE(QRect(19, 100 - Extent.cx - 1, Extent.cy + 2, Extent.cx + 2).contains(Ink));
            EXPECT_GT(Ink.height(), Ink.width());
        }
    }
}

TEST(CanvasBitmaps, DrawSkipsTheTransparentColour) {
    TBitmap Sprite;
    Sprite.SetSize(4, 4);
    Sprite.Canvas()->Brush()->SetColor(clFuchsia);
    Sprite.Canvas()->FillRect(Rect(0, 0, 4, 4));
    Sprite.Canvas()->Brush()->SetColor(clNavy);
    Sprite.Canvas()->FillRect(Rect(1, 1, 3, 3));
    auto B = Blank(10, 10, clGray);
    B->Canvas()->Draw(2, 3, &Sprite);
    EXPECT_EQ(FindInk(B->Canvas(), clFuchsia).Count, 16 - 4);
    B = Blank(10, 10, clGray);
    Sprite.SetTransparent(true); // automatic: the bottom-left colour, fuchsia
    B->Canvas()->Draw(2, 3, &Sprite);
    EXPECT_EQ(InkBox(B->Canvas(), clGray), QRect(3, 4, 2, 2));
    Sprite.SetTransparentColor(clNavy);
    B->Canvas()->Draw(-1, -1, &Sprite); // partly outside
    ExpectPixels(B->Canvas(),
                 {{0, 0, clGray}, {1, 1, clGray}, {2, 0, clFuchsia}, {2, 2, clFuchsia}});
}

// A mask's runs land where they belong, cut at every edge; a copy of the
// image taken while drawing keeps the pixels it had.
TEST(CanvasBitmaps, MasksAreCutAtTheEdgesAndNeverWriteIntoACopy) {
    QImage Shape(3, 2, QImage::Format_RGB32);
    Shape.fill(Qt::white);
    for (const QPoint P : {QPoint(0, 0), QPoint(1, 0), QPoint(2, 1)})
        Shape.setPixel(P, qRgb(0, 0, 0));
    const TMask M = TMask::FromImage(Shape, 0xFFFFFF, TPoint{1, 0});
    auto B = Blank(5, 3);
    TCanvas* C = B->Canvas();
    C->DrawMask(2, 0, M, clRed);       // wholly inside
    C->DrawMask(0, 2, M, clBlue);      // cut on the left and below
    const QImage Before = *C->Image(); // taken while the painter is on the image
    C->DrawMask(3, 1, M, clLime);      // touching the right and bottom edges
    EXPECT_EQ(Pictures::Picture(C), (std::vector<std::string>{".rr..", "..gg.", "b...g"}));
    const auto Was = [&](int X, int Y) { return Before.pixel(X, Y) & 0xFFFFFF; };
    EXPECT_EQ(Was(3, 1), 0xFF0000u);
    EXPECT_EQ(Was(2, 1), 0xFFFFFFu);
    EXPECT_EQ(Was(4, 2), 0xFFFFFFu);
}

// The nearest-neighbour rule itself is CanvasStretchDraw's; here the edges.
TEST(CanvasBitmaps, StretchDrawClipsHugeTargets) {
    TBitmap Quad;
    MakeQuad(Quad, clRed, clLime, clBlue, clBlack);
    auto B = Blank(12, 12);
    B->Canvas()->StretchDraw(Rect(-1000000, -1000000, 1000006, 1000006), &Quad);
    ExpectPixels(B->Canvas(), {{0, 0, clRed}, {11, 11, clBlack}, {11, 0, clLime}});
    // CopyRect within one canvas, halving: centres at 1, 3, 5 and 7, the
    // ties taking the pixel before, so the red corner (0..2) gives two.
    B->Canvas()->CopyRect(Rect(8, 8, 12, 12), B->Canvas(), Rect(0, 0, 8, 8));
    ExpectPixels(B->Canvas(), {{9, 9, clRed}, {10, 9, clLime}, {9, 10, clBlue}, {10, 10, clBlack}});
}

TEST(Regions, CombinationsReportTheirKindAndPaintAsTheyContain) {
    const TPoint Outer[4] = {{2, 2}, {38, 2}, {38, 38}, {2, 38}};
    const TPoint Inner[4] = {{12, 12}, {28, 12}, {28, 28}, {12, 28}};
    TRgn R = TRgn::CreatePolygonRgn(Outer, 4, WINDING);
    EXPECT_EQ(R.Kind(), SIMPLEREGION);
    EXPECT_EQ(R.Combine(TRgn::CreatePolygonRgn(Inner, 4, WINDING), RGN_XOR), COMPLEXREGION);
    auto B = Blank(40, 40);
    B->Canvas()->Brush()->SetColor(clGreen);
    B->Canvas()->PaintRgn(R);
    ExpectPixels(B->Canvas(), {{20, 20, clWhite}, {5, 20, clGreen}, {1, 1, clWhite}});
    EXPECT_EQ(FindInk(B->Canvas(), clGreen).Count, 36 * 36 - 16 * 16);

    TRgn A = TRgn::CreateRectRgn(0, 0, 10, 10);
    const std::tuple<TRect, TCombineMode, TRegionKind> Steps[] = {
        {Rect(20, 0, 30, 10), RGN_AND, NULLREGION},
        {Rect(0, 0, 10, 10), RGN_OR, SIMPLEREGION},
        {Rect(5, 5, 15, 15), RGN_OR, COMPLEXREGION},
        {Rect(0, 0, 15, 15), RGN_DIFF, NULLREGION},
        {Rect(3, 3, 4, 4), RGN_COPY, SIMPLEREGION}};
    for (auto [Rc, Op, Kind] : Steps)
        EXPECT_EQ(A.Combine(TRgn::CreateRectRgn(Rc.Left, Rc.Top, Rc.Right, Rc.Bottom), Op), Kind)
            << Op;
    EXPECT_FALSE(A.Contains(4, 3)); // right edge left out
    TRgn Moved = std::move(A);
    EXPECT_TRUE(Moved.Contains(3, 3));
    EXPECT_TRUE(A.IsEmpty()); // a moved-from region is empty, not broken
}

// Rings far larger than any canvas (a ring that the view clipping leaves
// off screen, zoomed in closely) give the same region where it can be seen;
// Qt alone fails on them, and leaks.
TEST(Regions, HugePolygonsKeepTheirVisiblePart) {
    const TPoint Wedge[3] = {{10, 10}, {10000000, 20}, {20, 10000000}};
    for (TPolyFillMode Mode : {WINDING, ALTERNATE}) {
        const TRgn R = TRgn::CreatePolygonRgn(Wedge, 3, Mode);
        EXPECT_EQ(std::tuple(R.Contains(100, 100), R.Contains(30000, 30000), R.Contains(30000, 5),
                             R.Contains(5, 30000), R.Contains(-1, -1)),
                  std::tuple(true, true, false, false, false));
    }
    // Wound twice round the visible square: still filled under the winding
    // rule, a hole under the alternate one.
    const TPoint Twice[8] = {{-100000, -100000}, {100000, -100000},  {100000, 100000},
                             {-100000, 100000},  {-100000, -100000}, {100000, -100000},
                             {100000, 100000},   {-100000, 100000}};
    EXPECT_TRUE(TRgn::CreatePolygonRgn(Twice, 8, WINDING).Contains(0, 0));
    EXPECT_FALSE(TRgn::CreatePolygonRgn(Twice, 8, ALTERNATE).Contains(0, 0));
}

// The canvas keeps its pen and brush as ready drawing tools between
// primitives, and map painting skips assigning a pen or font equal to the
// canvas's: every change must reach the next primitive, and every attribute
// count in the comparison, or an object would be drawn with the previous
// object's tool.
TEST(DrawingTools, EveryChangeReachesTheNextPrimitiveAndCountsInEquality) {
    auto B = Blank(20, 4);
    TCanvas* C = B->Canvas();
    TPen Green;
    Green.SetColor(clLime);
    const std::function<void()> Changes[] = {[&] { C->Pen()->SetColor(clRed); },
                                             [&] { C->SetPen(&Green); },
                                             [&] { C->Pen()->SetMode(pmXor); }};
    const TColor Want[] = {clRed, clLime, clFuchsia}; // lime XOR white
    for (int I = 0; I < 3; ++I) {
        Changes[I]();
        C->MoveTo(0, I);
        C->LineTo(10, I);
        EXPECT_EQ(C->Pixel(5, I), Want[I]) << I;
    }

    TPen Pen;
    const std::function<void(TPen&)> PenChanges[] = {
        [](TPen& P) { P.SetColor(clRed); }, [](TPen& P) { P.SetWidth(3); },
        [](TPen& P) { P.SetStyle(psDot); }, [](TPen& P) { P.SetMode(pmXor); }};
    for (size_t I = 0; I < std::size(PenChanges); ++I) {
        TPen P;
        PenChanges[I](P);
        EXPECT_FALSE(P.Equals(TPen())) << "pen change " << I;
        Pen.Assign(&P);
        EXPECT_TRUE(Pen.Equals(P)) << "pen change " << I;
    }
    TBrush Brush;
    EXPECT_THROW(Pen.Assign(&Brush), EConvertError);

    TFont Font, Styled;
    const std::function<void(TFont&)> FontChanges[] = {
        [](TFont& F) { F.SetName("DejaVu Serif"); }, [](TFont& F) { F.SetSize(30); },
        [](TFont& F) { F.SetColor(clRed); },         [](TFont& F) { F.SetStyle(fsBold); },
        [](TFont& F) { F.SetCharset(204); },         [](TFont& F) { F.SetEscapement(900); },
        [](TFont& F) { F.SetOrientation(900); }};
    for (size_t I = 0; I < std::size(FontChanges); ++I) {
        TFont F;
        FontChanges[I](F);
        EXPECT_FALSE(F.Equals(Font)) << "font change " << I;
        Styled.Assign(&F);
        EXPECT_TRUE(Styled.Equals(F)) << "font change " << I;
    }
    // The canvas remembers a font it found equal until either font changes.
    C->SetFont(&Styled);
    EXPECT_TRUE(C->FontEquals(Styled));
    EXPECT_TRUE(C->FontEquals(Styled));
    Styled.SetColor(clBlue);
    EXPECT_FALSE(C->FontEquals(Styled));
    C->SetFont(&Styled);
    EXPECT_TRUE(C->FontEquals(Styled));
    C->Font()->SetSize(31);
    EXPECT_FALSE(C->FontEquals(Styled));
}
