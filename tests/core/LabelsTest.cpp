// Label settings: placement around the anchor, the halo, labels that give
// way to others (in a full repaint and painted on their own), the placer's grid.
#include "support/MapFixture.h"

#include "objects/Symbol.h"
#include "platform/Canvas.h"

#include <string>

using namespace Mapobjects;
using namespace Platform;
using Testing::FindInk;

namespace {

struct Labels : Testing::ViewFixture {
    // Labels in Ink, 12 points, from the layer's one column.
    static void LabelLayer(TMapLayer* L, TColor Ink, const TLabelSettings& S = {}) {
        L->Fields().Add("NAME", dtString, 10);
        L->AutoLabelFont()->SetColor(Ink);
        L->AutoLabelFont()->SetSize(12);
        L->SetLabelSettings(S);
        L->SetAutoLabel(true);
    }
    // A white square centred on (X, Y), on white: only its label shows.
    static void Labelled(TMapLayer* L, double X, double Y, const std::string& Text) {
        TRegion* R = Testing::AddSquare(L, X - 5, Y - 5, 10);
        Testing::SetStyles(R, clWhite, 1, psSolid, clWhite, bsSolid);
        R->Fields().GetFields(0)->SetAsString(Text);
    }
    TCanvas* Picture() { return Map.MapBitmap()->Canvas(); }
};

} // namespace

TEST(LabelBox, EachPositionSitsOffsetPixelsFromTheAnchorCentredOnTheOtherAxis) {
    // An 11 x 7 label at (50, 50), 3 pixels off; the centre ignores the offset.
    const TRect Boxes[] = {{45, 47, 56, 54}, {53, 47, 64, 54}, {36, 47, 47, 54},
                           {45, 40, 56, 47}, {45, 53, 56, 60}, {53, 40, 64, 47},
                           {36, 40, 47, 47}, {53, 53, 64, 60}, {36, 53, 47, 60}};
    for (int P = lpCenter; P <= lpBelowLeft; ++P)
        EXPECT_EQ(LabelBox({TLabelPosition(P), 3}, 50, 50, 11, 7), Boxes[P]) << P;
}

TEST(LabelPlacer, BoxesCollideByAreaAcrossCellBorders) {
    TLabelPlacer P;
    P.Add({60, 60, 70, 70}); // in four grid cells
    EXPECT_FALSE(P.Collides({70, 60, 80, 70})) << "touching is not overlapping";
    EXPECT_FALSE(P.TryAdd({69, 69, 75, 75}));
    P.Begin();
    EXPECT_TRUE(P.TryAdd({69, 69, 75, 75})) << "a repaint starts afresh";
}

// Right of the anchor (pixel (100, 50)), 12 pixels off; a blue halo rings
// the glyphs only when asked for, smooth only with smooth drawing.
TEST_F(Labels, PlacedRightWithAHaloThatFollowsSmoothDrawing) {
    LabelLayer(Layer, clRed);
    Labelled(Layer, 0, 0, "HH");
    int Blended[2] = {0, 0};
    for (bool Smooth : {false, true})
        for (bool Halo : {false, true}) {
            SCOPED_TRACE(testing::Message() << "smooth " << Smooth << " halo " << Halo);
            Layer->SetLabelSettings({lpRight, 12, true, Halo, clBlue, 2});
            Map.Options().SetAntialiasing(Smooth);
            Rebuild();
            const Testing::TInk Red = FindInk(Picture(), clRed), Blue = FindInk(Picture(), clBlue);
            EXPECT_TRUE(Red.Box.left() >= 112 && Red.Box.left() <= 116) << Red.Box.left();
            EXPECT_NEAR(Red.Box.center().y(), 50, 4);
            EXPECT_EQ(Blue.Count > 0, Halo);
            if (!Halo) continue;
            EXPECT_TRUE(Red.Box.adjusted(-4, -4, 4, 4).contains(Blue.Box));
            EXPECT_TRUE(Blue.Box.left() < Red.Box.left() && Blue.Box.right() > Red.Box.right());
            for (int Y = 0; Y < 100; ++Y)
                for (int X = 0; X < 200; ++X) {
                    const TColor P = Picture()->Pixel(X, Y);
                    Blended[Smooth] += P != clWhite && P != clRed && P != clBlue;
                }
        }
    EXPECT_GT(Blended[1], Blended[0]);
    Application()->ProcessMessages();
    Layer->SetLabelSettings({lpBelow});
    EXPECT_TRUE(Map.PaintPending());
}

// A lower layer's red labels against an upper layer's blue one at the spot
// (100, 50); a red one at (30, 20) is always drawn.
TEST_F(Labels, LabelsThatMustNotOverlapGiveWayTheTopLayerFirst) {
    TMapLayer* Upper = Map.Layers().Add("", "upper");
    LabelLayer(Layer, clRed);
    LabelLayer(Upper, clBlue);
    Labelled(Layer, 0, 0, "WWWWWW");
    Labelled(Layer, -70, 30, "W");
    Labelled(Upper, 0, 0, "ii");
    const bool Cases[][4] = {{false, false, false, true}, // the higher layer wins
                             {true, false, true, false},  // one drawn at once keeps its room
                             {false, true, false, true},
                             {true, true, true, true}}; // overlapping as ever
    for (const auto& [LowerOverlaps, UpperOverlaps, RedShows, BlueShows] : Cases) {
        SCOPED_TRACE(testing::Message() << LowerOverlaps << UpperOverlaps);
        Layer->SetLabelSettings({lpCenter, 0, LowerOverlaps});
        Upper->SetLabelSettings({lpCenter, 0, UpperOverlaps});
        Rebuild();
        // The free red label ends left of pixel 40, the one at the spot far right of it.
        EXPECT_EQ(std::pair(FindInk(Picture(), clRed).Box.right() > 80,
                            FindInk(Picture(), clBlue).Count > 0),
                  std::pair(RedShows, BlueShows));
        EXPECT_LT(FindInk(Picture(), clRed).Box.left(), 40) << "the free label is drawn";
    }
}

TEST_F(Labels, OneSpotGetsOneLabelAndAnObjectPaintedOnItsOwnKeepsClear) {
    LabelLayer(Layer, clRed, {lpCenter, 0, false});
    Labelled(Layer, 0, 0, "I");
    auto* Late = Testing::Place(Layer->NewObject<TSymbol>(), 0, 0);
    Late->Fields().GetFields(0)->SetAsString("WWWW");
    Map.Invalidate();
    Application()->ProcessMessages();
    // The first painted of the two has the spot.
    EXPECT_EQ(Map.LabelPlacer().Count(), 1);
    EXPECT_LT(FindInk(Picture(), clRed).Box.width(), 15);
    // On the window, checked against what the last repaint placed.
    const int Before = FindInk(Map.Canvas(), clRed).Count;
    Late->Paint();
    EXPECT_EQ(FindInk(Map.Canvas(), clRed).Count, Before);
    Testing::Place(Late, -60, 20); // pixel (40, 30): free
    Late->Paint();
    EXPECT_EQ(Map.LabelPlacer().Count(), 2);
    EXPECT_LT(FindInk(Map.Canvas(), clRed).Box.left(), 60);
}

// A square mainland left of centre and a far islet: the extent's centre lies
// between them, the largest part's on the mainland.
TEST_F(Labels, AnchoredOnTheLargestPartWhenAsked) {
    LabelLayer(Layer, clRed);
    TRegion* R = Add<TRegion>({Testing::Box(-80, -20, -40, 20), Testing::Box(79, 0, 80, 1)});
    Testing::SetStyles(R, clWhite, 1, psSolid, clWhite, bsSolid);
    R->Fields().GetFields(0)->SetAsString("I");
    for (auto [Anchor, X] : {std::pair(laExtent, 100), std::pair(laLargestPart, 40)}) {
        TLabelSettings S;
        S.Anchor = Anchor;
        Layer->SetLabelSettings(S);
        Rebuild();
        EXPECT_NEAR(FindInk(Picture(), clRed).Box.center().x(), X, 3) << Anchor;
    }
}
