// Multipoints and collections: their part groups, drawing, hit tests and
// selection marks.
#include "objects/Multi.h"
#include "support/MapFixture.h"

using namespace Mapobjects;
using Platform::TColor;
using Testing::MapFixture;
using Testing::PointsOf;

namespace {

constexpr TColor Ink = Platform::clRed;
constexpr TColor Line = Platform::clBlue;
constexpr TColor Fill = Platform::clLime;
constexpr TColor Paper = Platform::clWhite;

// Pixels of colour C in the square of radius R around pixel (CX, CY).
int InkAround(Platform::TCanvas* Canvas, int CX, int CY, int R, TColor C) {
    int N = 0;
    for (int Y = CY - R; Y <= CY + R; ++Y)
        for (int X = CX - R; X <= CX + R; ++X)
            N += Canvas->Pixel(X, Y) == C;
    return N;
}

} // namespace

TEST(MultiGeometry, PartsJoinTheirGroupWhateverOrderTheyComeIn) {
    TCollectionObject C;
    C.AddPoint(9, 9);
    C.AddSection().Add(5, 5);
    C.AddRing().Add(0, 0);
    C.AddPoint(-3, 7);
    C.AddSection().Add(6, 6);
    C.AddRing().Add(1, 1);
    EXPECT_EQ(std::tuple(C.RingCount(), C.SectionCount(), C.PointCount(), C.FirstPointPart()),
              std::tuple(2, 2, 2, 4));
    EXPECT_EQ(PointsOf(&C), "0 0|1 1|5 5|6 6|9 9,-3 7");
    const TBounds B = C.GetBounds(); // every group counts in the extent
    EXPECT_EQ(std::tuple(B.MinX, B.MinY, B.MaxX, B.MaxY), std::tuple(-3, 0, 9, 9));
    // Groups stay within the part list when parts are taken away behind them.
    C.Parts().Clear();
    EXPECT_EQ(std::tuple(C.RingCount(), C.SectionCount(), C.PointCount()), std::tuple(0, 0, 0));
    C.AddPoint(1, 2);
    EXPECT_EQ(std::tuple(C.RingCount(), C.PointCount()), std::tuple(0, 1));

    TMultiPoint M;
    M.AddPoint(1, 2);
    M.AddPoint(-4, 3);
    EXPECT_EQ(std::tuple(M.Parts().Count(), M.PointCount()), std::tuple(1, 2));
    EXPECT_TRUE(M.IntersectsRect(-5, 2, -3, 4));  // one point inside
    EXPECT_FALSE(M.IntersectsRect(-3, 0, 0, 10)); // the box between them, no point
    EXPECT_TRUE(M.WithinRect(-4, 2, 1, 3));
    EXPECT_FALSE(M.WithinRect(-4, 2, 0, 3));
}

using MultiOnMap = MapFixture; // 360 x 180 pixels, one per map unit, (0, 0) at (180, 90)

TEST_F(MultiOnMap, EverySymbolIsDrawnAndHitAndTheShapesAsTheirKinds) {
    Map.SetColor(Paper);
    TMapLayer* Layer = Map.Layers().Add("", "multi");
    auto* M = Layer->NewObject<TMultiPoint>();
    auto* C = Layer->NewObject<TCollectionObject>();
    for (TCustomMapObject* O :
         {static_cast<TCustomMapObject*>(M), static_cast<TCustomMapObject*>(C)}) {
        Testing::SetFont(O->Font(), "MapInfo Symbol", 12, Ink);
        Testing::SetStyles(O, Line, 1, Platform::psSolid, Fill, Platform::bsSolid);
    }
    M->SetShape(35);
    C->SetShape(35);
    M->AddPoint(-100, 40);
    M->AddPoint(-60, -40);
    TMapPoints& Ring = C->AddRing();
    for (auto [X, Y] : Testing::Box(20, 20, 60, 60))
        Ring.Add(X, Y);
    TMapPoints& Section = C->AddSection();
    Section.Add(80, -60);
    Section.Add(140, -60);
    C->AddPoint(100, 80);
    M->UpdateBounds();
    C->UpdateBounds();
    Map.PaintMapToBitmap();
    EXPECT_EQ(Map.Displayed().Count(), 2);
    Platform::TCanvas* Canvas = Map.MapBitmap()->Canvas();

    // A symbol at each point, nothing between the points of the multipoint.
    EXPECT_GT(InkAround(Canvas, 180 - 100, 90 - 40, 8, Ink), 10);
    EXPECT_GT(InkAround(Canvas, 180 - 60, 90 + 40, 8, Ink), 10);
    EXPECT_EQ(InkAround(Canvas, 180 - 80, 90, 8, Ink), 0);
    EXPECT_GT(InkAround(Canvas, 180 + 100, 90 - 80, 8, Ink), 10);
    // The ring filled and the section drawn in the pen.
    EXPECT_EQ(Canvas->Pixel(180 + 40, 90 - 40), Fill);
    EXPECT_EQ(Canvas->Pixel(180 + 110, 90 + 60), Line);
    EXPECT_EQ(Canvas->Pixel(180 + 70, 90), Paper);

    // Hit at any point within the symbol's box (12 points: 8 pixels), the
    // collection's shapes by their box as regions and polylines are.
    struct THit {
        TCustomMapObject* Obj;
        double X, Y;
        bool Hit;
    } const Hits[] = {
        {M, -100, 40, true}, {M, -92, 40, true}, {M, -91, 40, false}, {M, -60, -48, true},
        {M, -80, 0, false},  {C, 100, 72, true}, {C, 100, 71, false}, {C, 40, 40, true},
        {C, 120, -40, true}, // inside the box of ring and section
        {C, 150, 0, false},
    };
    for (const THit& H : Hits)
        EXPECT_EQ(H.Obj->ContainsPoint(H.X, H.Y), H.Hit) << H.X << " " << H.Y;
    EXPECT_TRUE(C->IntersectsRect(95, 35, 105, 45));   // only its point inside
    EXPECT_FALSE(C->IntersectsRect(145, 35, 150, 45)); // beside everything

    // The selection marks toggle, for both kinds.
    Testing::ExpectSelectionToggles(Map, M, {180 - 100, 90 - 40}, {180 - 80, 90});
    Testing::ExpectSelectionToggles(Map, C, {180 + 100, 90 - 80}, {180 + 70, 90});
}
