// Lines as the GDI draws them: half-pixel ties fall the same way whichever
// way a segment runs, one-pixel pens dash 18-6, 3-3, 9-6-3-6 and 9-3-3-3-3-3
// with the pattern running on across vertices, and wide pens are discs swept
// along the path.
#include "Pictures.h"
#include "support/TestUtils.h"

#include <gtest/gtest.h>

using namespace Platform;
using Pictures::Blank;
using Pictures::Picture;
using Rows = std::vector<std::string>;

TEST(CanvasLines, HalfPixelTiesTakeTheUpperOrLeftPixelWhicheverWayTheLineRuns) {
    // Worked by hand: these lines pass exactly between two pixels at every
    // other step; LineTo leaves out the end pixel.
    struct TCase {
        TPoint From, To;
        Rows Want;
    };
    const TCase Cases[] = {
        {{0, 0}, {4, 2}, {"##...", "..##.", "....."}},
        {{4, 2}, {0, 0}, {".#...", "..##.", "....#"}},
        {{0, 2}, {4, 0}, {"...#.", ".##..", "#...."}},
        {{4, 0}, {0, 2}, {"...##", ".##..", "....."}},
        {{0, 0}, {2, 4}, {"#..", "#..", ".#.", ".#.", "..."}},
        {{2, 4}, {0, 0}, {"...", "#..", ".#.", ".#.", "..#"}},
    };
    for (const TCase& Case : Cases) {
        auto B = Blank(static_cast<int>(Case.Want[0].size()), static_cast<int>(Case.Want.size()));
        B->Canvas()->MoveTo(Case.From.X, Case.From.Y);
        B->Canvas()->LineTo(Case.To.X, Case.To.Y);
        EXPECT_EQ(Picture(B->Canvas()), Case.Want)
            << Case.From.X << "," << Case.From.Y << " to " << Case.To.X << "," << Case.To.Y;
    }
}

TEST(CanvasLines, DashStylesOfOnePixelPens) {
    const std::pair<TPenStyle, std::string> Cases[] = {
        {psDash, "##################......##################......"},
        {psDot, "###...###...###...###...###...###...###...###..."},
        {psDashDot, "#########......###......#########......###......"},
        {psDashDotDot, "#########...###...###...#########...###...###..."},
        {psInsideFrame, std::string(48, '#')}};
    for (const auto& [Style, Want] : Cases) {
        auto B = Blank(48, 1);
        B->Canvas()->Brush()->SetStyle(bsClear); // transparent gaps
        B->Canvas()->Pen()->SetStyle(Style);
        B->Canvas()->MoveTo(0, 0);
        B->Canvas()->LineTo(60, 0);
        EXPECT_EQ(Picture(B->Canvas())[0], Want) << "style " << Style;
    }

    // The pattern runs on round the vertices of one call (the corner is the
    // eleventh pixel of the dots) and starts afresh with the next call.
    auto B = Blank(12, 12);
    TCanvas* C = B->Canvas();
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetStyle(psDot);
    const TPoint Corner[3] = {{0, 1}, {10, 1}, {10, 11}};
    C->Polyline(Corner, 3);
    C->MoveTo(0, 0);
    C->LineTo(4, 0);
    C->LineTo(11, 0);
    const Rows P = Picture(C);
    EXPECT_EQ(P[0], "###.###...#.");
    EXPECT_EQ(P[1], "###...###...");
    std::string Down;
    for (int Y = 1; Y < 12; ++Y)
        Down += P[static_cast<size_t>(Y)][10];
    EXPECT_EQ(Down, "..###...##.");
}

// Wide pens: the pixels within half the width of the path. Odd widths centre
// on the one-pixel line; even widths put the extra half pixel above and left.
TEST(CanvasWidePens, PixelsWithinHalfTheWidthOfThePath) {
    const std::pair<int, Rows> Cases[] = {
        {2, {"..........", "..........", ".######...", ".######...", "..........", ".........."}},
        {3, {"..........", "..........", ".#######..", ".#######..", ".#######..", ".........."}},
        {4, {"..........", ".######...", "########..", "########..", ".######...", ".........."}},
    };
    for (const auto& [Width, Want] : Cases) {
        auto B = Blank(10, 6);
        B->Canvas()->Pen()->SetWidth(Width);
        B->Canvas()->MoveTo(2, 3);
        B->Canvas()->LineTo(6, 3);
        EXPECT_EQ(Picture(B->Canvas()), Want) << "width " << Width;
    }

    // A corner in XOR: the round join covers the overlap of the two legs,
    // and every pixel of the pen is combined once.
    auto B = Blank(10, 10, clBlack);
    TCanvas* C = B->Canvas();
    C->Pen()->SetWidth(3);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(clWhite);
    const TPoint Corner[3] = {{2, 2}, {6, 2}, {6, 6}};
    C->Polyline(Corner, 3);
    // The pen white on black.
    const Rows Want = {"##########", "#.......##", "#.......##", "#.......##", "#####...##",
                       "#####...##", "#####...##", "#####...##", "##########", "##########"};
    EXPECT_EQ(Picture(C), Want);
}
