// Sprites: drawn over the window with the pixels beneath saved, put back
// exactly when they move or hide, and hit by their glyph's box.
#include "objects/Sprite.h"
#include "support/MapFixture.h"

#include <QImage>
#include <memory>

using namespace Mapobjects;
using namespace Platform;

namespace {

struct Sprites : Testing::ViewFixture {
    QImage Before;

    // Two overlapping regions on the window; map (X, Y) at pixel (100 + X, 50 - Y).
    void SetUp() override {
        ViewFixture::SetUp();
        Add<TRegion>({Testing::Box(-60, -30, 20, 30)});
        auto* Other = Add<TRegion>({Testing::Box(0, -40, 80, 10)});
        Other->Brush()->SetColor(clBlue);
        Map.Invalidate();
        Platform::Application()->ProcessMessages();
        Before = Map.Surface().copy();
    }
    // A W × H glyph in Colour, its bottom-left pixel (the transparent colour)
    // white.
    static std::unique_ptr<TBitmap> Glyph(int W, int H, TColor Colour) {
        auto B = std::make_unique<TBitmap>();
        B->SetSize(W, H);
        B->Canvas()->Brush()->SetColor(Colour);
        B->Canvas()->FillRect(TRect{0, 0, W, H});
        B->Canvas()->SetPixel(0, H - 1, clWhite);
        return B;
    }
    TSprite* NewSprite(int W, int H, double X, double Y) {
        auto Owned = std::make_unique<TSprite>();
        TSprite* S = Owned.get();
        S->SetGlyph(Glyph(W, H, clLime).get());
        S->Move(X, Y);
        Layer->AddObject(std::move(Owned), true);
        return S;
    }
    // The window as Before, with a W × H lime glyph (but its transparent
    // corner) whose centre pixel is (CX, CY).
    QImage With(int W, int H, int CX, int CY) {
        QImage Expected = Before.copy();
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X)
                if (!(X == 0 && Y == H - 1) && Expected.valid(CX - W / 2 + X, CY - H / 2 + Y))
                    Expected.setPixel(CX - W / 2 + X, CY - H / 2 + Y, 0xFF00FF00u);
        return Expected;
    }
};

} // namespace

TEST_F(Sprites, MovingPutsBackExactlyWhatWasBeneath) {
    for (auto [W, H] : {std::pair{6, 4}, std::pair{5, 7}}) {
        SCOPED_TRACE(testing::Message() << W << "x" << H);
        TSprite* S = NewSprite(W, H, 10, 0);
        EXPECT_EQ(Testing::Difference(Map.Surface(), With(W, H, 110, 50)), "");
        // Across the regions' edges, overlapping the old place, and off the
        // window's edge.
        const std::pair<int, int> Path[] = {{12, 1}, {-60, 30}, {-100, -50}, {30, -20}, {31, -20}};
        for (auto [X, Y] : Path) {
            S->Move(X, Y);
            EXPECT_EQ(Testing::Difference(Map.Surface(), With(W, H, 100 + X, 50 - Y)), "")
                << "at " << X << "," << Y;
        }
        EXPECT_FALSE(Map.PaintPending()) << "moving repaints nothing";
        S->SetVisible(false);
        EXPECT_EQ(Testing::Difference(Map.Surface(), Before), "");
        S->Move(0, 0); // invisible: the point moves, nothing is drawn
        EXPECT_EQ((std::pair{S->X(), S->Y()}), (std::pair{0.0, 0.0}));
        EXPECT_EQ(Testing::Difference(Map.Surface(), Before), "");
        Layer->DeleteObject(Layer->ObjectCount() - 1);
        Platform::Application()->ProcessMessages();
    }
}

TEST_F(Sprites, HitByTheGlyphsBoxEdgesIncluded) {
    TSprite* S = NewSprite(6, 4, 10, 0); // box 107..113 x 48..52 with edges
    struct TCase {
        double X, Y;
        bool Hit;
    };
    for (TCase C : {TCase{7, 0, true}, TCase{13, 2, true}, TCase{13, -2, true}, TCase{6, 0, false},
                    TCase{14, 0, false}, TCase{10, 3, false}})
        EXPECT_EQ(S->ContainsPoint(C.X, C.Y), C.Hit) << C.X << "," << C.Y;
    EXPECT_TRUE(S->IntersectsRect(12, 1, 20, 5)) << "holds the corner (13, 2)";
    EXPECT_FALSE(S->IntersectsRect(9, -1, 11, 1)) << "inside the box, no corner in it";
    EXPECT_TRUE(S->WithinRect(10, 0, 10, 0));
    EXPECT_FALSE(S->Contains(S) || S->Intersects(S) || S->ContainsRect(0, 0, 20, 20));

    TSprite* Dot = NewSprite(0, 0, -5, -5);
    EXPECT_TRUE(Dot->ContainsPoint(-5, -5));
    EXPECT_FALSE(Dot->ContainsPoint(-4, -5));
    TSprite Loose;
    EXPECT_FALSE(Loose.ContainsPoint(0, 0)) << "no map";
}
