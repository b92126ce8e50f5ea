// The quadtree index: division, queries, and answers equal to a plain search.
#include "index/IndexTree.h"
#include "objects/Shapes.h"
#include "support/MapFixture.h"

#include <algorithm>
#include <random>
#include <set>

using namespace Mapobjects;
using Testing::TreeOf;

namespace {

TCustomMapObject* AddBox(TMapLayer& L, double X1, double Y1, double X2, double Y2) {
    return Testing::AddShape<TRegion>(&L, {{{X1, Y1}, {X2, Y1}, {X2, Y2}, {X1, Y2}}});
}

std::vector<std::uint32_t> IdsOf(const TCardinalArray& A) {
    return std::vector<std::uint32_t>(A.Data(), A.Data() + A.Count());
}

void ForEachLeaf(const TIndexCell& C, const std::function<void(const TIndexCell&)>& F) {
    if (C.GetCount() == 0) F(C);
    for (int I = 0; I < C.GetCount(); ++I)
        ForEachLeaf(*C.GetCell(I), F);
}

// Six small boxes near the corners of 0..100 x 0..100.
void AddCorners(TMapLayer& L) {
    AddBox(L, 0, 0, 2, 2);       // 0 lower left
    AddBox(L, 0, 98, 2, 100);    // 1 upper left
    AddBox(L, 98, 98, 100, 100); // 2 upper right
    AddBox(L, 98, 0, 100, 2);    // 3 lower right
    AddBox(L, 3, 3, 5, 5);       // 4 lower left
    AddBox(L, 95, 95, 97, 97);   // 5 upper right
}

} // namespace

// Five objects stay in the root; a sixth divides it into quadrants, in the
// order lower left, upper left, upper right, lower right. An object over
// all four is in every leaf but answered once.
TEST(IndexCell, DivisionInQuadrantOrderAndQueries) {
    TMapLayer L;
    AddCorners(L);
    L.DeleteObject(5);
    TIndexCell Small(&L);
    EXPECT_TRUE(Small.NotBuilt());
    EXPECT_EQ(TreeOf(Small), "[0 100 0 100: 0 1 2 3 4]");

    AddBox(L, 95, 95, 97, 97);
    TIndexCell Root(&L);
    EXPECT_FALSE(Root.NotBuilt());
    EXPECT_EQ(TreeOf(Root), "[0 100 0 100:[0 50 0 50: 0 4][0 50 50 100: 1]"
                            "[50 100 50 100: 2 5][50 100 0 50: 3]]");
    TCardinalArray Ids;
    EXPECT_TRUE(Root.GetAllIdsInRect(Bounds2CellBounds(TBounds{90, 90, 99, 99}), Ids));
    EXPECT_EQ(IdsOf(Ids), (std::vector<std::uint32_t>{2, 5}));
    EXPECT_FALSE(Root.GetAllIdsInRect(TCellBounds(TBounds{200, 0, 300, 10}), Ids));

    AddBox(L, 0, 0, 100, 100); // 6
    TIndexCell Covered(&L);
    EXPECT_EQ(TreeOf(Covered), "[0 100 0 100:[0 50 0 50: 0 4 6][0 50 50 100: 1 6]"
                               "[50 100 50 100: 2 5 6][50 100 0 50: 3 6]]");
    TCardinalArray Fast, Plain;
    const TCellBounds All(TBounds{-1, -1, 101, 101});
    ASSERT_TRUE(Covered.GetAllIdsInRect(All, Fast));
    EXPECT_EQ(IdsOf(Fast), (std::vector<std::uint32_t>{0, 4, 6, 1, 2, 5, 3}));
    ASSERT_TRUE(Covered.GetIdsInRect(&Covered, &Covered, All, Plain));
    EXPECT_EQ(IdsOf(Plain), IdsOf(Fast));
    // A point on the edge shared by all four leaves is answered by each of them.
    ASSERT_TRUE(Covered.GetAllIdsAtPoint(50, 50, Fast));
    EXPECT_EQ(std::count(Fast.Data(), Fast.Data() + Fast.Count(), 6u), 4);
    EXPECT_TRUE(Covered.GetAllIdsAtPoint(1, 1, Fast));
    EXPECT_EQ(IdsOf(Fast), (std::vector<std::uint32_t>{0, 4, 6}));
}

TEST(IndexCell, DivisionStopsAtTheRootsMaxCellLevel) {
    for (int MaxLevel : {5, 2, 0}) {
        TMapLayer L;
        for (int I = 0; I < 12; ++I)
            AddBox(L, 10, 10, 11, 11);
        L.Index2D().SetMaxCellLevel(MaxLevel);
        L.SetUseIndex2D(true);
        int Leaves = 0;
        ForEachLeaf(L.Index2D(), [&](const TIndexCell& C) {
            ++Leaves;
            EXPECT_EQ(C.Level(), MaxLevel);
            EXPECT_EQ(C.Ids().Count(), 12);
        });
        EXPECT_EQ(Leaves, 1 << (2 * MaxLevel));
    }
}

// Division decides most objects by their box alone; kinds with their own
// Contains, objects whose points left their box and objects without points
// must still land where GetIdsByBounds puts them; ids beyond the object count
// go nowhere.
TEST(IndexCell, DivisionSortsAsGetIdsByBounds) {
    TMapLayer L;
    AddCorners(L);
    auto* Circle = Testing::Place(L.NewObject<TCircle>(), 60, 60); // 6: reaches the lower left
    Circle->UpdateBounds();
    Circle->SetRadius(15);
    auto* Moved = AddBox(L, 1, 1, 2, 2); // 7: one point moved without its box
    Moved->Parts().Items(0)->Points().GetPoint(2) = TMapPoint{80, 80};
    L.NewObject<TRegion>(); // 8: no points
    TIndexCell Root(static_cast<TMapLayer*>(nullptr));
    Root.SetMaxCellLevel(0);
    Root.SetLayer(&L);
    ASSERT_EQ(Root.Ids().Count(), 9);
    Root.Ids().Add(9); // ids from another state of the layer are skipped
    Root.Ids().Add(4000000000u);
    const TCellBounds Q[4] = {
        TCellBounds(TBounds{0, 0, 50, 50}), TCellBounds(TBounds{0, 50, 50, 100}),
        TCellBounds(TBounds{50, 50, 100, 100}), TCellBounds(TBounds{50, 0, 100, 50})};
    std::vector<std::vector<std::uint32_t>> Expected;
    TCardinalArray Ids;
    for (const TCellBounds& B : Q) {
        Root.GetIdsByBounds(B, Ids);
        Expected.push_back(IdsOf(Ids));
    }
    EXPECT_EQ(Expected[0], (std::vector<std::uint32_t>{0, 4, 6, 7, 8}));
    EXPECT_EQ(Expected[2], (std::vector<std::uint32_t>{2, 5, 6, 7, 8}));
    Root.SetMaxCellLevel(1);
    Root.Divide();
    ASSERT_EQ(Root.GetCount(), 4);
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(IdsOf(Root.GetCell(I)->Ids()), Expected[I]) << I;
}

// The index only narrows the search: the layer answers the same with it as
// without it, also after objects came and went since the index was built.
TEST(IndexCell, LayerAnswersTheSameWithAndWithoutTheIndex) {
    std::mt19937 Rng(12345);
    std::uniform_real_distribution<double> Pos(-10, 110), Size(0, 1);
    TMapLayer Indexed, Plain;
    auto AddTriangle = [&] {
        const double X = Pos(Rng), Y = Pos(Rng), S = Size(Rng);
        // mostly small, some long and thin
        const double W = S < 0.9 ? S * 5 : S * 80, H = S < 0.9 ? Size(Rng) * 5 : 0.3;
        for (TMapLayer* L : {&Indexed, &Plain})
            Testing::AddShape<TRegion>(L, {{{X, Y}, {X + W, Y + H / 3}, {X + W / 2, Y + H}}});
    };
    auto Compare = [&](const char* Stage) {
        for (int K = 0; K < 300; ++K) {
            const double X = Pos(Rng), Y = Pos(Rng), W = Size(Rng) * (K % 3 ? 3 : 40);
            const TCellBounds R(TBounds{X, Y, X + W, Y + W * Size(Rng)});
            TCardinalArray A, B;
            Indexed.GetAllIdsInRect(R, A);
            Plain.GetAllIdsInRect(R, B);
            const std::set<std::uint32_t> SA(A.Data(), A.Data() + A.Count());
            const std::set<std::uint32_t> SB(B.Data(), B.Data() + B.Count());
            ASSERT_EQ(SA, SB) << Stage << " rect " << K;
            ASSERT_EQ(SA.size(), static_cast<size_t>(A.Count())) << "duplicates";
        }
    };
    for (int I = 0; I < 400; ++I)
        AddTriangle();
    Indexed.SetUseIndex2D(true);
    ASSERT_GT(Indexed.Index2D().GetCount(), 0);
    Compare("built");
    for (int I = 0; I < 60; ++I)
        AddTriangle();
    Compare("after adding");
    for (int I = 0; I < 100; ++I) {
        const int Index = static_cast<int>(Rng() % static_cast<unsigned>(Plain.ObjectCount()));
        Indexed.DeleteObject(Index);
        Plain.DeleteObject(Index);
    }
    Compare("after deleting");
}
