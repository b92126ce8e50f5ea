// Light objects: tools shared until written, one point kept inline behind
// the part list. Rows only for layers with columns are DataRowTest.cpp's.
#include "objects/Symbol.h"
#include "support/MapFixture.h"

using namespace Mapobjects;
using namespace Platform;
using Testing::PointsOf;

using LightObjects = Testing::MapFixture;

TEST_F(LightObjects, WritingOneObjectsToolLeavesTheOthersSharingTheirs) {
    TMapLayer* L = Map.Layers().Add("", "points");
    TSymbol* A = L->NewObject<TSymbol>();
    TSymbol* B = L->NewObject<TSymbol>();
    TSymbol* C = L->NewObject<TSymbol>();
    // Objects styled by the map's defaults share one tool of each kind.
    EXPECT_EQ(A->ReadPen(), B->ReadPen());
    EXPECT_EQ(A->ReadFont(), C->ReadFont());
    const TColor PenColor = B->ReadPen()->Color();

    TPen* Mine = A->Pen();
    Mine->SetColor(clLime);
    A->Brush()->SetStyle(bsCross);
    EXPECT_EQ(std::tuple(A->ReadPen(), A->ReadBrush()->Style()), std::tuple(Mine, bsCross));
    EXPECT_EQ(std::tuple(C->ReadPen()->Color(), C->ReadBrush()->Style()),
              std::tuple(PenColor, bsSolid));
    EXPECT_EQ(B->ReadPen(), C->ReadPen()); // still one tool between them

    // A tool handed out for writing stays the object's: the defaults are
    // copied into it when the object moves to another layer.
    Map.Layers().Add("", "other")->AddObject(L->RemoveObject(A), false);
    EXPECT_EQ(A->Pen(), Mine);
    EXPECT_EQ(Mine->Color(), PenColor);

    // A shared tool asked back by its setter comes as a copy of its own.
    std::unique_ptr<TPen> Old = B->SetPen(std::make_unique<TPen>());
    ASSERT_NE(Old, nullptr);
    EXPECT_NE(Old.get(), C->ReadPen());
    EXPECT_TRUE(Old->Equals(*C->ReadPen()));
}

// Each script runs on a symbol that keeps its point inline and on one whose
// part list was asked for first: what the public operations show must agree.
TEST(LightObjectsGeometry, AnInlinePointBehavesLikeAPartList) {
    // Steps: 'x' SetX(A), 'y' SetY(A), 'p' SetPoint(A, B), 'u' UpdateBounds,
    // 'c' clear the points.
    const std::vector<std::vector<std::tuple<char, double, double>>> Scripts = {
        {},
        {{'p', 10, 20}, {'x', 15, 0}}, // the extent stays at (10, 20)
        {{'p', 10, 20}, {'y', -4, 0}, {'u', 0, 0}},
        {{'p', 1, 2}, {'p', -3, -4}}, // the extent follows SetPoint
        {{'c', 0, 0}, {'y', 5, 0}},   // a new anchor at (0, 5)
        {{'x', 7, 0}, {'p', 2, 2}, {'y', 9, 0}, {'u', 0, 0}},
    };
    auto Show = [](TSymbol& S, const auto& Script) {
        for (auto [Op, A, B] : Script) {
            if (Op == 'x') S.SetX(A);
            if (Op == 'y') S.SetY(A);
            if (Op == 'p') S.SetPoint(A, B);
            if (Op == 'u') S.UpdateBounds();
            if (Op == 'c') S.Parts().Items(0)->Points().Clear();
        }
        const TBounds B = S.GetBounds();
        return Format("%g %g %g %g; x %g y %g; in %d; single %d", B.MinX, B.MinY, B.MaxX, B.MaxY,
                      S.X(), S.Y(), S.IntersectsRect(-1, -1, 1, 1), S.SinglePoint() != nullptr) +
               "; " + PointsOf(&S);
    };
    for (size_t I = 0; I < Scripts.size(); ++I) {
        TSymbol Inline, Listed;
        Listed.Parts(); // made now: every later step goes through the list
        EXPECT_EQ(Show(Inline, Scripts[I]), Show(Listed, Scripts[I])) << "script " << I;
    }
    // The list made late holds the inline point, and edits through it count.
    TSymbol S;
    S.SetPoint(3, 4);
    S.Parts().Items(0)->Points().Add(5, 6);
    EXPECT_EQ(PointsOf(&S), "3 4,5 6");
    EXPECT_EQ(std::tuple(S.GetBounds().MaxX, S.GetBounds().MaxY), std::tuple(5, 6));
    EXPECT_EQ(S.SinglePoint(), nullptr);
}
