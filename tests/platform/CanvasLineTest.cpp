// Lines as the GDI draws them: the pixels of a segment do not depend on the
// direction it is drawn in, and one-pixel pens dash 18-6, 3-3, 9-6-3-6 and
// 9-3-3-3-3-3 with the pattern running on across vertices.
#include "Pictures.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

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

// Every segment drawn there and back in XOR cancels out but for its two end
// pixels (a one-pixel pen leaves out where it ends); a pixel that one
// direction takes and the other does not is left over. Ends far outside test
// the clipped walk as well.
TEST(CanvasLines, RandomSegmentsCoverTheSamePixelsBothWays) {
    std::mt19937 Rng(7);
    auto B = Blank(48, 48, clBlack);
    TCanvas* C = B->Canvas();
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(clWhite);
    std::map<std::pair<int, int>, bool> Ends; // pixels toggled an odd number of times
    for (int I = 0; I < 2000; ++I) {
        std::uniform_int_distribution<int> Near(0, 47), Far(-300, 350);
        auto& Pick = I % 4 == 3 ? Far : Near;
        const TPoint A{Pick(Rng), Pick(Rng)}, Z{Near(Rng), Near(Rng)};
        C->MoveTo(A.X, A.Y);
        C->LineTo(Z.X, Z.Y);
        C->LineTo(A.X, A.Y);
        if (A.X == Z.X && A.Y == Z.Y) continue;
        Ends[{A.X, A.Y}] = !Ends[{A.X, A.Y}];
        Ends[{Z.X, Z.Y}] = !Ends[{Z.X, Z.Y}];
    }
    for (int Y = 0; Y < 48; ++Y)
        for (int X = 0; X < 48; ++X) {
            const auto It = Ends.find({X, Y});
            const bool Lit = It != Ends.end() && It->second;
            ASSERT_EQ(C->Pixel(X, Y), Lit ? clWhite : clBlack) << "pixel " << X << "," << Y;
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
