// Figures as the GDI fills them, pixel by pixel: polygons by the region scan
// conversion in either fill mode.
#include "Pictures.h"

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
