// Figures as the GDI fills them, pixel by pixel: polygons by the region scan
// conversion in either fill mode.
#include "Pictures.h"
#include "support/TestUtils.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>

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

// Smooth drawing blends the edges of copied solid figures; XOR strokes and
// dashes stay exact, so a rubber band drawn twice still leaves nothing.
TEST(CanvasAntialiasing, SmoothsCopiedSolidFiguresOnly) {
    auto Colours = [](TCanvas* C) {
        std::set<TColor> Seen;
        for (int Y = 0; Y < C->Image()->height(); ++Y)
            for (int X = 0; X < C->Image()->width(); ++X)
                Seen.insert(C->Pixel(X, Y));
        return Seen.size();
    };
    const std::pair<const char*, std::function<void(TCanvas*)>> Figures[] = {
        {"line", [](TCanvas* C) { C->MoveTo(1, 1), C->LineTo(30, 12); }},
        {"polygon",
         [](TCanvas* C) {
             const TPoint P[] = {{2, 2}, {29, 6}, {8, 14}};
             C->Polygon(P, 3);
         }},
        {"ellipse", [](TCanvas* C) { C->Ellipse(2, 1, 30, 15); }},
    };
    for (const auto& [Name, Draw] : Figures)
        for (bool Smooth : {false, true}) {
            SCOPED_TRACE(std::string(Name) + (Smooth ? " smooth" : " exact"));
            auto B = Blank(32, 16);
            TCanvas* C = B->Canvas();
            C->SetAntialiasing(Smooth);
            C->Pen()->SetColor(clBlack);
            C->Brush()->SetColor(clBlack);
            Draw(C);
            C->Flush();
            EXPECT_EQ(Colours(C) > 2, Smooth);
        }
    auto B = Blank(32, 16);
    TCanvas* C = B->Canvas();
    C->SetAntialiasing(true);
    C->Pen()->SetMode(pmXor); // a rubber band drawn twice leaves nothing
    C->Pen()->SetColor(clWhite);
    for (int Twice = 0; Twice < 2; ++Twice)
        C->MoveTo(1, 12), C->LineTo(30, 1);
    C->Flush();
    EXPECT_EQ(Colours(C), 1u);
    C->Pen()->SetMode(pmCopy);
    C->Pen()->SetColor(clBlack);
    C->Pen()->SetStyle(psDash);
    C->MoveTo(1, 1), C->LineTo(30, 12);
    C->Flush();
    EXPECT_EQ(Colours(C), 2u); // dashes are the exact ones
}
