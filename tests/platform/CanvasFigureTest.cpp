// Figures as the GDI fills them, pixel by pixel: polygons by the region scan
// conversion in either fill mode.
#include "Pictures.h"
#include "support/TestUtils.h"

#include <gtest/gtest.h>

using namespace Platform;
using Pictures::Blank;
using Pictures::Picture;
using Rows = std::vector<std::string>;

namespace {

TCanvas* FillOnly(TBitmap& B) {
    TCanvas* C = B.Canvas();
    C->Pen()->SetStyle(psClear);
    C->Brush()->SetColor(clBlack);
    return C;
}

} // namespace

TEST(CanvasPolygon, FillsAsThePolygonRegionInEitherMode) {
    // The region rule samples pixel corners and takes left and top edges:
    // row y of this triangle runs from 0 to 7 - y.
    auto B = Blank(10, 10);
    TCanvas* C = FillOnly(*B);
    EXPECT_EQ(C->PolyFillMode(), ALTERNATE);
    const TPoint Triangle[3] = {{0, 0}, {8, 0}, {0, 8}};
    C->Polygon(Triangle, 3);
    EXPECT_EQ(Picture(C),
              (Rows{"########..", "#######...", "######....", "#####.....", "####......",
                    "###.......", "##........", "#.........", "..........", ".........."}));

    // One ring round two overlapping squares, (0,0)-(6,6) and (2,2)-(8,8),
    // joined at their top-left corners: the overlap is wound twice, a hole
    // under the alternate rule and filled under the winding rule.
    const TPoint Twice[10] = {{0, 0}, {6, 0}, {6, 6}, {0, 6}, {0, 0},
                              {2, 2}, {8, 2}, {8, 8}, {2, 8}, {2, 2}};
    const Rows Top = {"######....", "######...."};
    const Rows Bottom = {"..######..", "..######..", "..........", ".........."};
    for (TPolyFillMode Mode : {ALTERNATE, WINDING}) {
        B = Blank(10, 10);
        C = FillOnly(*B);
        C->SetPolyFillMode(Mode);
        C->Polygon(Twice, 10);
        Rows Expected = Top;
        for (int I = 0; I < 4; ++I)
            Expected.push_back(Mode == WINDING ? "########.." : "##....##..");
        Expected.insert(Expected.end(), Bottom.begin(), Bottom.end());
        EXPECT_EQ(Picture(C), Expected) << (Mode == WINDING ? "winding" : "alternate");
    }

    // The outline goes over the fill: the fill shows only inside it.
    B = Blank(8, 8);
    C = B->Canvas();
    C->Pen()->SetColor(clRed);
    C->Brush()->SetColor(clBlue);
    const TPoint Square[4] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
    C->Polygon(Square, 4);
    EXPECT_EQ(Picture(C), (Rows{"........", ".rrrrr..", ".rbbbr..", ".rbbbr..", ".rbbbr..",
                                ".rrrrr..", "........", "........"}));
}

// An ellipse is the pixels whose centres lie inside the ellipse through the
// box's outer edges; a one-pixel outline is its border pixels, the fill what
// they enclose, so no fill pixel shows outside the outline.
TEST(CanvasEllipse, FillAndOutlineShareTheBox) {
    struct TCase {
        TRect Box;
        Rows Expected;
    };
    const TCase Cases[] = {
        {Rect(0, 0, 6, 4), {".rrrr.", "rbbbbr", "rbbbbr", ".rrrr."}},
        {Rect(0, 0, 5, 5), {".rrr.", "rbbbr", "rbbbr", "rbbbr", ".rrr."}},
        {Rect(0, 0, 4, 4), {".rr.", "rbbr", "rbbr", ".rr."}},
        // Too thin to fill: all outline, and the top and bottom rows keep
        // their middle pixels.
        {Rect(0, 0, 2, 6), {"rr", "rr", "rr", "rr", "rr", "rr"}},
        {Rect(0, 0, 3, 1), {"rrr"}},
    };
    for (const TCase& Case : Cases) {
        auto B = Blank(Case.Box.Right, Case.Box.Bottom);
        TCanvas* C = B->Canvas();
        C->Pen()->SetColor(clRed);
        C->Brush()->SetColor(clBlue);
        C->Ellipse(Case.Box.Left, Case.Box.Top, Case.Box.Right, Case.Box.Bottom);
        EXPECT_EQ(Picture(C), Case.Expected) << Case.Box.Right << "x" << Case.Box.Bottom;
    }

    // Every size: the fill stays strictly between outline pixels of its row
    // and column, and without a pen it covers exactly outline and inside.
    for (int W = 1; W <= 24; ++W) {
        for (int H = 1; H <= 24; ++H) {
            auto B = Blank(W + 2, H + 2), Plain = Blank(W + 2, H + 2);
            TCanvas* C = B->Canvas();
            C->Pen()->SetColor(clRed);
            C->Brush()->SetColor(clBlue);
            C->Ellipse(1, 1, W + 1, H + 1);
            TCanvas* P = FillOnly(*Plain);
            P->Ellipse(1, 1, W + 1, H + 1);
            for (int Y = 0; Y < H + 2; ++Y) {
                for (int X = 0; X < W + 2; ++X) {
                    const TColor Pixel = C->Pixel(X, Y);
                    ASSERT_EQ(Pixel != clWhite, P->Pixel(X, Y) == clBlack)
                        << W << "x" << H << " at " << X << "," << Y;
                    if (Pixel != clBlue) continue;
                    auto Outline = [&](int DX, int DY) {
                        for (int I = 1; I < W + H + 2; ++I)
                            if (C->Pixel(X + DX * I, Y + DY * I) == clRed) return true;
                        return false;
                    };
                    ASSERT_TRUE(Outline(-1, 0) && Outline(1, 0) && Outline(0, -1) && Outline(0, 1))
                        << W << "x" << H << " fill outside the outline at " << X << "," << Y;
                }
            }
            // The figure touches every side of its box.
            EXPECT_EQ(Testing::FindInk(C, clWhite, true).Box, QRect(1, 1, W, H));
        }
    }
}

// Each destination pixel takes the source pixel under its centre; a centre
// exactly on the edge between two source pixels takes the first of them.
TEST(CanvasStretchDraw, DestinationCentresPickTheSourceTiesRoundDown) {
    const TColor Colours[] = {clRed, clLime, clBlue, clYellow};
    struct TCase {
        int From, To;
        std::string Expected;
    };
    const TCase Cases[] = {
        {4, 3, "rgy"},   // centres at 2/3, 2 (a tie: the pixel before), 10/3
        {3, 2, "rb"},    // 3/4 and 9/4
        {2, 3, "rrg"},   // 1/3, 1 (a tie), 5/3
        {3, 5, "rrgbb"}, // 0.3, 0.9, 1.5, 2.1, 2.7
        {2, 4, "rrgg"},  // doubling is exact
        {4, 4, "rgby"},
    };
    for (const TCase& Case : Cases) {
        for (bool Vertical : {false, true}) {
            TBitmap Source;
            Source.SetSize(Vertical ? 1 : Case.From, Vertical ? Case.From : 1);
            for (int I = 0; I < Case.From; ++I)
                Source.Canvas()->SetPixel(Vertical ? 0 : I, Vertical ? I : 0, Colours[I]);
            auto B = Vertical ? Blank(1, Case.To + 2) : Blank(Case.To + 2, 1);
            TCanvas* C = B->Canvas();
            C->StretchDraw(Vertical ? Rect(0, 1, 1, Case.To + 1) : Rect(1, 0, Case.To + 1, 1),
                           &Source);
            std::string Got;
            for (const std::string& Row : Picture(C))
                Got += Row;
            EXPECT_EQ(Got, "." + Case.Expected + ".")
                << Case.From << " to " << Case.To << (Vertical ? " down" : " across");
        }
    }

    // CopyRect follows the same rule from any source rectangle.
    auto Source = Blank(6, 1);
    for (int I = 0; I < 4; ++I)
        Source->Canvas()->SetPixel(I + 2, 0, Colours[I]);
    auto B = Blank(3, 1);
    B->Canvas()->CopyRect(Rect(0, 0, 3, 1), Source->Canvas(), Rect(2, 0, 6, 1));
    EXPECT_EQ(Picture(B->Canvas()), Rows{"rgy"});
}

TEST(CanvasFillRect, CornersInEitherOrderFillTheSameRectangle) {
    const Rows Expected = {"......", ".###..", ".###..", "......"};
    for (TRect R : {Rect(1, 1, 4, 3), Rect(4, 3, 1, 1), Rect(4, 1, 1, 3), Rect(1, 3, 4, 1)}) {
        auto B = Blank(6, 4);
        B->Canvas()->Brush()->SetColor(clBlack);
        B->Canvas()->FillRect(R);
        EXPECT_EQ(Picture(B->Canvas()), Expected) << R.Left << "," << R.Top;
    }
    // Empty either way: no pixel.
    auto B = Blank(6, 4);
    B->Canvas()->Brush()->SetColor(clBlack);
    B->Canvas()->FillRect(Rect(3, 1, 3, 3));
    B->Canvas()->FillRect(Rect(1, 2, 4, 2));
    EXPECT_EQ(Testing::FindInk(B->Canvas(), clBlack).Count, 0);
}

// The background mode and colour: the gaps of hatches and dashes and text
// cells take the background colour when it is opaque. Selecting a brush sets
// both as the framework's canvas does.
TEST(CanvasBackground, OpaqueFillsTheGapsOfHatchesDashesAndTextTransparentLeavesThem) {
    auto B = Blank(12, 8, clBlack);
    TCanvas* C = B->Canvas();
    TBitmap Fresh;
    EXPECT_EQ(Fresh.Canvas()->BkMode(), OPAQUE);
    EXPECT_EQ(Fresh.Canvas()->BkColor(), clWhite);

    C->Brush()->SetColor(clYellow);
    EXPECT_EQ(C->BkMode(), OPAQUE);
    EXPECT_EQ(C->BkColor(), clYellow);
    C->Brush()->SetStyle(bsHorizontal);
    EXPECT_EQ(C->BkMode(), TRANSPARENT);
    C->Brush()->SetStyle(bsClear);
    EXPECT_EQ(C->BkMode(), TRANSPARENT);

    // Hatches: one stroke in every eight rows, laid from the image origin.
    struct THatch {
        TBkMode Mode;
        TColor Under;
        TPenMode Pen;
        std::string Stroke, Gap;
    };
    const THatch Hatches[] = {
        {TRANSPARENT, clBlack, pmCopy, "rrrrrrrrrrrr", "############"},
        {OPAQUE, clBlack, pmCopy, "rrrrrrrrrrrr", "yyyyyyyyyyyy"},
        // XOR over white: white ^ yellow is blue, white ^ red is aqua.
        {OPAQUE, clWhite, pmXor, "????????????", "bbbbbbbbbbbb"},
        {TRANSPARENT, clWhite, pmXor, "????????????", "............"},
    };
    for (const THatch& H : Hatches) {
        B = Blank(12, 8, H.Under);
        C = B->Canvas();
        C->Pen()->SetStyle(psClear);
        C->Pen()->SetMode(H.Pen);
        C->Brush()->SetColor(clRed);
        C->Brush()->SetStyle(bsHorizontal);
        C->SetBkMode(H.Mode);
        C->SetBkColor(clYellow);
        C->Rectangle(0, 0, 13, 9);
        Rows Expected(8, H.Gap);
        Expected[3] = H.Stroke;
        EXPECT_EQ(Picture(C), Expected) << H.Mode << " " << H.Pen;
    }

    // Dots of three on and three off: the gaps in the background colour when
    // it is opaque, whatever the brush.
    B = Blank(12, 3, clBlack);
    C = B->Canvas();
    C->Pen()->SetColor(clWhite);
    C->Pen()->SetStyle(psDot);
    C->Brush()->SetStyle(bsClear);
    C->MoveTo(0, 0);
    C->LineTo(12, 0);
    C->SetBkMode(OPAQUE);
    C->SetBkColor(clLime);
    C->MoveTo(0, 1);
    C->LineTo(12, 1);
    C->Brush()->SetStyle(bsSolid); // a solid brush: opaque in its colour
    C->Brush()->SetColor(clRed);
    C->MoveTo(0, 2);
    C->LineTo(12, 2);
    EXPECT_EQ(Picture(C), (Rows{"...###...###", "...ggg...ggg", "...rrr...rrr"}));

    // Text: the cell in the background colour, or only the glyphs.
    for (TBkMode Mode : {OPAQUE, TRANSPARENT}) {
        B = Blank(60, 30, clBlack);
        C = B->Canvas();
        C->Font()->SetName("DejaVu Sans");
        C->Font()->SetColor(clWhite);
        C->SetBkMode(Mode);
        C->SetBkColor(clLime);
        C->TextOut(2, 3, "Hi");
        const TSize Cell = C->TextExtent("Hi");
        const Testing::TInk Lime = Testing::FindInk(C, clLime);
        if (Mode == OPAQUE) {
            EXPECT_EQ(Testing::FindInk(C, clLime, true).Box.intersected(QRect(2, 3, 1, 1)),
                      QRect(2, 3, 1, 1));
            EXPECT_EQ(Testing::FindInk(C, clBlack, true).Box, QRect(2, 3, Cell.cx, Cell.cy));
            EXPECT_GT(Lime.Count, Cell.cx * Cell.cy / 2);
        } else {
            EXPECT_EQ(Lime.Count, 0);
            EXPECT_GT(Testing::FindInk(C, clWhite).Count, 0);
        }
    }
}
