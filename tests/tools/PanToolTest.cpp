// The pan tool: a moved copy of the window while dragging, the centre changed
// once on release.
#include "tools/ToolFixture.h"

using namespace Mapobjects;
using namespace Platform;
using Testing::Difference;

namespace {

struct PanTool : Testing::ToolFixture {
    std::pair<double, double> Centre() const { return {Map.CenterX(), Map.CenterY()}; }
    // Before moved by (DX, DY), what it no longer covers in the map's colour.
    QImage Moved(const QImage& Before, int DX, int DY) {
        QImage Expected(Before.size(), Before.format());
        Expected.fill(ToQColor(Map.Color()));
        for (int Y = 0; Y < Before.height(); ++Y)
            for (int X = 0; X < Before.width(); ++X)
                if (Before.valid(X - DX, Y - DY))
                    Expected.setPixel(X, Y, Before.pixel(X - DX, Y - DY));
        return Expected;
    }
};

} // namespace

TEST_F(PanTool, DragShowsTheMovedPictureThenReleaseMovesTheCentreOnce) {
    PaintLandscape();
    auto Tool = Use<TPanTool>();
    const QImage Before = Map.Surface().copy();
    const int Requests = Host.Requests;
    Map.MouseDown(mbLeft, ssLeft, 100, 50);
    Map.MouseMove(ssLeft, 130, 30); // right and up
    EXPECT_EQ(Difference(Map.Surface(), Moved(Before, 30, -20)), "");
    Map.MouseMove(ssLeft, 80, 70); // left and down, from the press-time picture
    EXPECT_EQ(Difference(Map.Surface(), Moved(Before, -20, 20)), "");
    EXPECT_EQ(Host.Requests, Requests) << "no repaint while dragging";
    EXPECT_EQ(Centre(), std::pair(0.0, 0.0));
    Map.MouseUp(mbLeft, 0, 80, 70);
    // 20 pixels at zoom 2 are 10 map units the other way.
    EXPECT_EQ(Centre(), std::pair(10.0, 10.0));
    EXPECT_EQ(Host.Requests, Requests + 1) << "one repaint for both coordinates";
    EXPECT_EQ(Tool->Snapshot().Width(), 1) << "the copy is let go";
    EXPECT_EQ(Completions, 0) << "panning never completes";
    Drag({{60, 40}, {90, 10}, {60, 40}}); // back to the press pixel: no pan
    EXPECT_EQ(std::pair(Centre(), Tool->Snapshot().Width()), std::pair(std::pair(10.0, 10.0), 1));
}
