// Background images under the layers.
#include "support/MapFixture.h"

#include <QImage>

using namespace Mapobjects;
using namespace Platform;
using Testing::SurfacePixel;

namespace {

struct Substrates : Testing::MapFixture {
    Testing::TTempDir Dir;
    std::string File = Dir.Path("substrate.png");

    void SetUp() override {
        MapFixture::SetUp();
        Map.Layers().Add("", "A"); // backgrounds are drawn only for a map with layers
        // A 20 x 10 image: left half red, right half blue.
        QImage Img(20, 10, QImage::Format_RGB32);
        Img.fill(Qt::blue);
        for (int Y = 0; Y < 10; ++Y)
            for (int X = 0; X < 10; ++X)
                Img.setPixel(X, Y, qRgb(255, 0, 0));
        ASSERT_TRUE(Img.save(QString::fromStdString(File)));
    }
};

} // namespace

// Adding an image does not rebuild an up-to-date bitmap; the next rebuild
// shows it stretched under the layers.
TEST_F(Substrates, ImageIsStretchedUnderTheLayersAndNeverMirrored) {
    Application()->ProcessMessages();
    // Placement given with the second corner left of and below the first.
    Map.Substrates().LoadFromFile(File, 20, 10, -40, -20); // map -20..20 x -10..10
    EXPECT_NE(SurfacePixel(Map, 170, 90), clRed);
    Map.DoUpdate();
    Application()->ProcessMessages();
    EXPECT_EQ(SurfacePixel(Map, 170, 90), clRed);  // left half stays left
    EXPECT_EQ(SurfacePixel(Map, 190, 90), clBlue); // right half stays right
    EXPECT_NE(SurfacePixel(Map, 150, 90), clRed);  // outside the placement
}

TEST_F(Substrates, RemoveHandsTheSubstrateBackUnreadableFilesAndStrangersFail) {
    TSubstrate* S = Map.Substrates().LoadFromFile(File, 0, 0, 1, 1);
    EXPECT_EQ(S->Map(), &Map);
    std::unique_ptr<TSubstrate> Back = Map.Substrates().Remove(S);
    EXPECT_EQ(Back.get(), S);
    EXPECT_EQ(Back->Map(), nullptr); // it no longer draws on the map
    EXPECT_EQ(Map.Substrates().Count(), 0);
    Map.Substrates().Add(std::move(Back));
    EXPECT_EQ(S->Map(), &Map);
    EXPECT_EQ(Map.Substrates().SetSubstrate(0, std::make_unique<TSubstrate>()).get(), S);
    EXPECT_EQ(Map.Substrates().Get(0)->Map(), &Map);
    Map.Substrates().Clear();
    Testing::WriteFile(Dir.Path("bad.png"), "not an image");
    EXPECT_THROW(Map.Substrates().LoadFromFile(Dir.Path("bad.png"), 0, 0, 1, 1), EInvalidGraphic);
    EXPECT_EQ(Map.Substrates().Count(), 0);
    TSubstrate Stranger;
    EXPECT_THROW(Map.Substrates().Remove(&Stranger), EListError);
}
