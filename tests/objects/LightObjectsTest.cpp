// Light objects keep one point inline behind the part list.
#include "objects/Symbol.h"
#include "support/MapFixture.h"

using namespace Mapobjects;
using namespace Platform;
using Testing::PointsOf;

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
