// Light objects keep one point inline behind the part list.
#include "index/IndexCell.h"
#include "objects/Symbol.h"
#include "support/MapFixture.h"

#include <span>
#include <utility>

using namespace Mapobjects;
using namespace Platform;
using Testing::PointsOf;

namespace {
// The points as PointsOf writes them, read through the view.
std::string Viewed(const TCustomMapObject& O) {
    std::string S;
    bool First = true;
    for (std::span<const TMapPoint> Part : O.Geometry()) {
        const char* Separator = std::exchange(First, false) ? "" : "|";
        for (const TMapPoint& P : Part)
            S += std::exchange(Separator, ",") + Format("%.15g %.15g", P.X, P.Y);
    }
    return S;
}
} // namespace

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
        const std::string View = Viewed(S); // before anything makes a part list
        return View + "; " +
               Format("%g %g %g %g; x %g y %g; in %d; single %d", B.MinX, B.MinY, B.MaxX, B.MaxY,
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

// Reading through the view, and building the spatial index over points,
// leave every point inline; the view shows what the part list would.
TEST(LightObjectsGeometry, ReadingAndIndexingPointsMakeNoPartLists) {
    TMapLayer L;
    for (int I = 0; I < 40; ++I)
        L.NewObject<TSymbol>()->SetPoint(I % 7, I / 7);
    const size_t Inline = L.Objects(0)->MemoryUsed(); // a part list would count
    L.SetUseIndex2D(true);
    TCardinalArray Ids;
    ASSERT_TRUE(L.GetAllIdsInRect(TCellBounds(TBounds{-1, -1, 2.5, 2.5}), Ids));
    EXPECT_EQ(Ids.Count(), 9);
    for (int I = 0; I < L.ObjectCount(); ++I) {
        const TCustomMapObject& O = *L.Objects(I);
        EXPECT_EQ(O.Geometry().PointCount(), 1);
        EXPECT_EQ(Viewed(O), Format("%d %d", I % 7, I / 7));
        EXPECT_EQ(O.MemoryUsed(), Inline) << I;
    }
    L.Objects(0)->Parts();
    EXPECT_GT(L.Objects(0)->MemoryUsed(), Inline);
    const TGeometryView One = L.Objects(3)->Geometry();
    EXPECT_THROW(One.Part(1), EListError);
    EXPECT_EQ(Viewed(TSymbol()), "0 0"); // a new symbol stands at the origin
}
