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
        {2, 3, "rrg"},   // 1/3, 1 (a tie), 5/3
        {3, 5, "rrgbb"}, // 0.3, 0.9, 1.5, 2.1, 2.7
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
}

// FillRect and Rectangle leave out the right and bottom edge, and corners
// given in any order draw the same.
TEST(CanvasFillRect, CornersInAnyOrderFillTheSameRectangleWithoutItsFarEdges) {
    for (TRect R : {Rect(1, 1, 5, 4), Rect(5, 4, 1, 1), Rect(5, 1, 1, 4), Rect(1, 4, 5, 1)}) {
        auto B = Blank(7, 5);
        TCanvas* C = B->Canvas();
        C->Brush()->SetColor(clBlack);
        C->FillRect(R);
        EXPECT_EQ(Picture(C), (Rows{".......", ".####..", ".####..", ".####..", "......."}))
            << R.Left << "," << R.Top;
        C->Pen()->SetColor(clRed);
        C->Brush()->SetColor(clBlue);
        C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
        EXPECT_EQ(Picture(C), (Rows{".......", ".rrrr..", ".rbbr..", ".rrrr..", "......."}))
            << R.Left << "," << R.Top;
    }
    // Empty either way: no pixel.
    auto B = Blank(6, 4);
    B->Canvas()->Brush()->SetColor(clBlack);
    B->Canvas()->FillRect(Rect(3, 1, 3, 3));
    B->Canvas()->FillRect(Rect(1, 2, 4, 2));
    EXPECT_EQ(Testing::FindInk(B->Canvas(), clBlack).Count, 0);
}

// The background mode and colour: the gaps of hatches and dashes take the
// background colour when it is opaque. Selecting a brush sets
// both as the framework's canvas does.
TEST(CanvasBackground, OpaqueFillsTheGapsOfHatchesAndDashesTransparentLeavesThem) {
    TBitmap Fresh;
    EXPECT_EQ(std::pair(Fresh.Canvas()->BkMode(), Fresh.Canvas()->BkColor()),
              std::pair(OPAQUE, clWhite));
    Fresh.Canvas()->Brush()->SetColor(clYellow);
    EXPECT_EQ(std::pair(Fresh.Canvas()->BkMode(), Fresh.Canvas()->BkColor()),
              std::pair(OPAQUE, clYellow));
    Fresh.Canvas()->Brush()->SetStyle(bsClear);
    EXPECT_EQ(Fresh.Canvas()->BkMode(), TRANSPARENT);

    // Hatches: one stroke in every eight rows, laid from the image origin.
    // XOR over white: white ^ yellow is blue, white ^ red is aqua.
    const std::tuple<TBkMode, TColor, TPenMode, std::string, std::string> Hatches[] = {
        {TRANSPARENT, clBlack, pmCopy, "rrrr", "####"},
        {OPAQUE, clBlack, pmCopy, "rrrr", "yyyy"},
        {OPAQUE, clWhite, pmXor, "????", "bbbb"}};
    for (const auto& [Mode, Under, Pen, Stroke, Gap] : Hatches) {
        auto B = Blank(4, 8, Under);
        TCanvas* C = B->Canvas();
        C->Pen()->SetStyle(psClear);
        C->Pen()->SetMode(Pen);
        C->Brush()->SetColor(clRed);
        C->Brush()->SetStyle(bsHorizontal);
        C->SetBkMode(Mode);
        C->SetBkColor(clYellow);
        C->Rectangle(0, 0, 5, 9);
        Rows Expected(8, Gap);
        Expected[3] = Stroke;
        EXPECT_EQ(Picture(C), Expected) << Mode << " " << Pen;
    }

    // Dots of three on and three off: the gaps in the background colour when
    // it is opaque, whatever the brush.
    auto B = Blank(12, 3, clBlack);
    TCanvas* C = B->Canvas();
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
}
