#include "support/MapFixture.h"

#include "objects/Shapes.h"

#include <QImage>
#include <filesystem>

using namespace Mapobjects;
using Platform::Application;
using Testing::MapFixture;

namespace {

// A 20 x 10 image: left half red, right half blue.
std::string WriteImage(const std::string& Name) {
    QImage Img(20, 10, QImage::Format_RGB32);
    for (int Y = 0; Y < 10; ++Y)
        for (int X = 0; X < 20; ++X) Img.setPixel(X, Y, X < 10 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    auto Path = std::filesystem::temp_directory_path() / Name;
    Img.save(QString::fromStdString(Path.string()));
    return Path.string();
}

Platform::TColor SurfacePixel(TChartix& Map, int X, int Y) {
    return Platform::FromQColor(QColor(Map.Surface().pixel(X, Y)));
}

} // namespace

struct Substrates : MapFixture {
    void SetUp() override {
        MapFixture::SetUp();
        Map.Layers().Add("", "A"); // backgrounds are drawn only for a map with layers
    }
};

TEST_F(Substrates, ImageIsStretchedUnderTheLayersAndNeverMirrored) {
    std::string File = WriteImage("chartix_substrate.png");
    // Placement given with the second corner left of and below the first.
    Map.Substrates().LoadFromFile(File, 20, 10, -40, -20); // map -20..20 x -10..10
    Map.DoUpdate();
    Application()->ProcessMessages();
    EXPECT_EQ(SurfacePixel(Map, 170, 90), Platform::clRed);  // left half stays left
    EXPECT_EQ(SurfacePixel(Map, 190, 90), Platform::clBlue); // right half stays right
    EXPECT_NE(SurfacePixel(Map, 150, 90), Platform::clRed);  // outside the placement
}

TEST_F(Substrates, AddingDoesNotRebuildAnUpToDateBitmap) {
    Application()->ProcessMessages();
    std::string File = WriteImage("chartix_substrate2.png");
    Map.Substrates().LoadFromFile(File, -20, -10, 40, 20);
    EXPECT_NE(SurfacePixel(Map, 170, 90), Platform::clRed);
    Map.DoUpdate();
    Application()->ProcessMessages();
    EXPECT_EQ(SurfacePixel(Map, 170, 90), Platform::clRed);
}

TEST_F(Substrates, ImageOutsideTheViewShowsNothing) {
    std::string File = WriteImage("chartix_substrate3.png");
    Map.Substrates().LoadFromFile(File, 1000, 1000, 40, 20);
    Map.DoUpdate();
    Application()->ProcessMessages();
    for (int X = 0; X < 360; X += 7) EXPECT_EQ(SurfacePixel(Map, X, 90), Platform::clWhite);
}

TEST_F(Substrates, UnreadableFileIsNotAddedAndRemoveOfAStrangerFails) {
    auto Bad = std::filesystem::temp_directory_path() / "chartix_bad.png";
    FILE* F = std::fopen(Bad.string().c_str(), "wb");
    std::fputs("not an image", F);
    std::fclose(F);
    EXPECT_THROW(Map.Substrates().LoadFromFile(Bad.string(), 0, 0, 1, 1), Platform::EInvalidGraphic);
    EXPECT_EQ(Map.Substrates().Count(), 0);
    TSubstrate Stranger;
    EXPECT_THROW(Map.Substrates().Remove(&Stranger), Platform::EListError);
}

TEST_F(Substrates, RemoveHandsTheSubstrateBack) {
    std::string File = WriteImage("chartix_substrate4.png");
    TSubstrate* S = Map.Substrates().LoadFromFile(File, 0, 0, 1, 1);
    EXPECT_EQ(S->Map(), &Map);
    Map.Substrates().Remove(S);
    EXPECT_EQ(Map.Substrates().Count(), 0);
    delete S;
}
