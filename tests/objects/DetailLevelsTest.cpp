// Simplified copies of big objects for drawing at small scales: what each copy
// keeps, when the copies are dropped, and what the picture looks like with them.
#include "objects/DetailLevels.h"
#include "core/ChartixOptions.h"
#include "objects/Polys.h"
#include "support/MapFixture.h"

#include <cmath>
#include <random>

using namespace Mapobjects;
using namespace Platform;
using Testing::TRing;

namespace {

// A ring of N points around (CX, CY), its radius wobbling by Noise, closed.
TRing NoisyRing(double CX, double CY, double Radius, double Noise, int N, unsigned Seed) {
    std::mt19937 Random(Seed);
    std::uniform_real_distribution<double> Wobble(-Noise, Noise);
    TRing R;
    for (int I = 0; I < N; ++I) {
        const double A = 2 * M_PI * I / N, Rad = Radius + Wobble(Random);
        R.push_back({CX + Rad * std::cos(A), CY + Rad * std::sin(A)});
    }
    R.push_back(R.front());
    return R;
}

double SegmentDistance(const TMapPoint& P, const TMapPoint& A, const TMapPoint& B) {
    const double DX = B.X - A.X, DY = B.Y - A.Y, L = DX * DX + DY * DY;
    const double T = L > 0 ? std::clamp(((P.X - A.X) * DX + (P.Y - A.Y) * DY) / L, 0.0, 1.0) : 0;
    return std::hypot(P.X - A.X - T * DX, P.Y - A.Y - T * DY);
}

struct DetailView : Testing::ViewFixture {
    void SetUp() override {
        ViewFixture::SetUp();
        Map.Options().SetLevelOfDetail(true);
    }
    QImage Picture() {
        Rebuild();
        return Map.MapBitmap()->Canvas()->Image()->copy();
    }
};

} // namespace

// Each copy keeps the ends of every part and is a subsequence of it; every
// point it leaves out lies within the copy's tolerance of the copy's segment
// that spans it. Coarser copies hold at most half the points of the finer,
// all together at most a quarter of the object's.
TEST(DetailLevels, EveryDroppedPointLiesWithinToleranceOfTheCopy) {
    const std::vector<std::vector<TRing>> Shapes = {
        {NoisyRing(0, 0, 40, 0.3, 20000, 1)},
        {[] {
            TRing Open = NoisyRing(0, 0, 10, 1, 2000, 2);
            return Open.pop_back(), Open;
        }()},
        {NoisyRing(0, 0, 10, 2, 3000, 3), NoisyRing(30, 0, 0.01, 0.001, 40, 4), {{1, 1}}},
    };
    TParts Small;
    TMapPoints& Few = Small.Add()->Points();
    for (const auto& [X, Y] : NoisyRing(0, 0, 1, 0.1, TDetailLevels::MinPoints - 2, 5))
        Few.Add(X, Y);
    EXPECT_TRUE(Small.DetailLevels().Levels().empty()) << "small objects are drawn as they are";

    for (size_t S = 0; S < Shapes.size(); ++S) {
        TParts Parts;
        int N = 0;
        for (const TRing& Ring : Shapes[S]) {
            TMapPoints& P = Parts.Add()->Points();
            for (const auto& [X, Y] : Ring)
                P.Add(X, Y);
            N += P.Count();
        }
        const auto& Levels = Parts.DetailLevels().Levels();
        ASSERT_FALSE(Levels.empty()) << "shape " << S;
        size_t Total = 0, Previous = static_cast<size_t>(N);
        double Tolerance = 0;
        for (const TDetailLevel& L : Levels) {
            SCOPED_TRACE(Platform::Format("shape %d, tolerance %g", int(S), L.Tolerance));
            EXPECT_GT(L.Tolerance, Tolerance);
            EXPECT_LE(L.Points.size() * 2, Previous);
            Tolerance = L.Tolerance;
            Previous = L.Points.size();
            Total += L.Points.size();
            ASSERT_EQ(L.Starts.size(), L.Parts.size() + 1);
            for (int I = 0, Kept = 0; I < Parts.Count(); ++I) {
                const TMapPoints& Full = Parts.Items(I)->Points();
                if (Kept == int(L.Parts.size()) || L.Parts[size_t(Kept)] != I) {
                    // Left out: too small to draw at the scales the copy serves.
                    EXPECT_LT(std::max(Full.MaxX - Full.MinX, Full.MaxY - Full.MinY),
                              2 * L.Tolerance)
                        << "part " << I;
                    continue;
                }
                const std::span<const TMapPoint> Copy = L.Part(size_t(Kept++));
                ASSERT_GE(Copy.size(), std::min<size_t>(2, Full.Count()));
                size_t K = 0;
                double Worst = 0;
                for (int J = 0; J < Full.Count(); ++J) {
                    const TMapPoint& P = Full.GetPoint(J);
                    if (K < Copy.size() && P.X == Copy[K].X && P.Y == Copy[K].Y) {
                        ++K;
                        continue;
                    }
                    ASSERT_GT(K, 0u) << "the first point is kept";
                    ASSERT_LT(K, Copy.size()) << "the last point is kept";
                    Worst = std::max(Worst, SegmentDistance(P, Copy[K - 1], Copy[K]));
                }
                EXPECT_EQ(K, Copy.size()) << "part " << I << " is a subsequence";
                EXPECT_LE(Worst, L.Tolerance) << "part " << I;
            }
        }
        EXPECT_LE(Total * 4, static_cast<size_t>(N));
    }
}

// The copies go when the points change through the lists or a part is added,
// and are found stale and made anew when a part is deleted.
TEST_F(DetailView, ChangedPointsDropTheCopies) {
    TRegion* R = Add<TRegion>({NoisyRing(0, 0, 40, 0.3, 4000, 6)});
    const size_t Before = Layer->MemoryUsed();
    Rebuild();
    const TParts& Parts = R->Parts();
    ASSERT_GT(Parts.DetailMemoryUsed(), 0u) << "made by the paint";
    EXPECT_EQ(Layer->MemoryUsed() - Before, Parts.DetailMemoryUsed()) << "the layer counts them";
    EXPECT_LT(Parts.DetailMemoryUsed() * 4, Before);

    TMapPoints& Points = R->Parts().Items(0)->Points();
    const std::vector<std::pair<const char*, std::function<void()>>> Changes = {
        {"write", [&] { Points.GetPoint(5).X += 3; }}, {"add", [&] { Points.Add(1, 1); }},
        {"delete", [&] { Points.Delete(7); }},         {"iterate", [&] { Points.begin()->Y += 1; }},
        {"new bounds", [&] { R->UpdateBounds(); }},
    };
    for (const auto& [Name, Change] : Changes) {
        Rebuild();
        ASSERT_GT(Parts.DetailMemoryUsed(), 0u) << Name;
        Change();
        EXPECT_EQ(Parts.DetailMemoryUsed(), 0u) << Name;
    }
    Rebuild(); // reading leaves them
    EXPECT_EQ(std::as_const(Points).GetPoint(5).X, std::as_const(Points).begin()[5].X);
    EXPECT_GT(Parts.DetailMemoryUsed(), 0u);

    R->Parts().Add(); // a new part tells the collection
    EXPECT_EQ(Parts.DetailMemoryUsed(), 0u) << "new part";
    const TDetailLevels* Before2 = &Parts.DetailLevels();
    R->Parts().Delete(1); // a deleted part does not, but is found
    EXPECT_NE(&Parts.DetailLevels(), Before2) << "made anew for one part";
}

// With the copies the picture differs from the full drawing only along the
// outlines, by at most two pixels (the copy's half pixel on top of the one
// pixel generalization moves points and the rounding), and islands that
// generalization reduces to nothing are skipped; without the option, or
// without generalization, nothing is simplified.
TEST_F(DetailView, PictureStaysWithinTwoPixelsOfTheFullDrawing) {
    TRegion* R =
        Add<TRegion>({NoisyRing(0, 0, 40, 0.3, 20000, 7), NoisyRing(60, 0, 20, 0.5, 3000, 8)});
    Add<TPolyline>({NoisyRing(-70, 0, 15, 0.2, 6000, 9)});
    // Islands: rings that generalization reduces to a point at some zoom.
    std::vector<TRing> Islands;
    for (int I = 0; I < 300; ++I)
        Islands.push_back(NoisyRing(-95 + (I % 30) * 6.3, -45 + (I / 30) * 3.1,
                                    0.2 + (I % 7) * 0.15, 0.05, 12, 100 + I));
    Add<TRegion>(Islands);
    for (double Zoom : {1.0, 0.25}) {
        Map.SetZoom(Zoom);
        ASSERT_NE(DetailFor(R->Parts(), Map), nullptr) << Zoom;
        const QImage Simplified = Picture();
        Map.Options().SetLevelOfDetail(false);
        EXPECT_EQ(DetailFor(R->Parts(), Map), nullptr);
        const QImage Full = Picture();
        Map.Options().SetLevelOfDetail(true);

        int Differ = 0;
        for (int Y = 0; Y < Full.height(); ++Y)
            for (int X = 0; X < Full.width(); ++X) {
                if (Full.pixel(X, Y) == Simplified.pixel(X, Y)) continue;
                ++Differ;
                bool Near = false;
                for (int DY = -2; DY <= 2; ++DY)
                    for (int DX = -2; DX <= 2; ++DX) {
                        const QPoint Q(X + DX, Y + DY);
                        Near |= Full.valid(Q) && Full.pixel(Q) == Simplified.pixel(X, Y);
                    }
                EXPECT_TRUE(Near) << "zoom " << Zoom << ", pixel " << X << "," << Y;
            }
        EXPECT_LT(Differ, Full.width() * Full.height() / 20) << "zoom " << Zoom;
    }
    Map.SetUseGeneralization(false);
    EXPECT_EQ(DetailFor(R->Parts(), Map), nullptr);
}

// Skipping the parts that generalization reduces to nothing, and those off the
// view, changes no pixel (too few points for copies here, so skipping is all
// the option does).
TEST_F(DetailView, SkippedIslandsChangeNoPixel) {
    std::vector<TRing> Islands;
    for (int I = 0; I < 5; ++I)
        Islands.push_back(NoisyRing(-40 + I * 20, 0, 0.2 + I * 0.3, 0.05, 11, 50 + I));
    Add<TRegion>(Islands);
    // Off the view at zoom 2: a ring beyond its left side, one across it.
    Add<TRegion>({NoisyRing(-90, 10, 5, 0.5, 20, 60), NoisyRing(-48, 0, 6, 0.5, 20, 61)});
    for (double Zoom : {1.0, 2.0, 0.5}) {
        Map.SetZoom(Zoom);
        const QImage Skipping = Picture();
        Map.Options().SetLevelOfDetail(false);
        EXPECT_EQ(Testing::Difference(Picture(), Skipping), "") << "zoom " << Zoom;
        Map.Options().SetLevelOfDetail(true);
    }
}
