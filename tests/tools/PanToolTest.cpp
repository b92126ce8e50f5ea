// The pan tool: a moved copy of the window while dragging, the centre changed
// once on release.
#include "tools/ToolFixture.h"

#include <climits>

using namespace Mapobjects;
using namespace Platform;
using Testing::Difference;

namespace {

using Testing::XY;

struct PanTool : Testing::ToolFixture {
    XY Centre() const { return {Map.CenterX(), Map.CenterY()}; }
    static std::pair<int, int> Snapshot(TPanTool& T) {
        return {T.Snapshot().Width(), T.Snapshot().Height()};
    }
    // Before moved by (DX, DY), what it no longer covers in the map's colour.
    QImage Moved(const QImage& Before, int DX, int DY) {
        QImage Expected = Before.copy();
        const QRgb Background = ToQColor(Map.Color()).rgb();
        for (int Y = 0; Y < Before.height(); ++Y)
            for (int X = 0; X < Before.width(); ++X)
                Expected.setPixel(
                    X, Y, Before.valid(X - DX, Y - DY) ? Before.pixel(X - DX, Y - DY) : Background);
        return Expected;
    }
    // Image with the pixels outside [Left, Right) x [Top, Bottom) blanked.
    static QImage Within(QImage Image, int Left, int Top, int Right, int Bottom) {
        for (int Y = 0; Y < Image.height(); ++Y)
            for (int X = 0; X < Image.width(); ++X)
                if (X < Left || X >= Right || Y < Top || Y >= Bottom) Image.setPixel(X, Y, 0);
        return Image;
    }
};

} // namespace

TEST_F(PanTool, DragShowsTheMovedPictureThenReleaseMovesTheCentreAndRepaints) {
    PaintLandscape();
    auto Tool = Use<TPanTool>();
    const QImage Before = Map.Surface().copy();
    const int Requests = Host.Requests;

    Map.MouseDown(mbLeft, ssLeft, 100, 50);
    EXPECT_EQ(Snapshot(*Tool), std::pair(200, 100));
    // Right and up: strips on the left and at the bottom.
    Map.MouseMove(ssLeft, 130, 30);
    EXPECT_EQ(Difference(Map.Surface(), Moved(Before, 30, -20)), "");
    // Left and down, still from the press-time picture: strips on the right
    // and at the top.
    Map.MouseMove(ssLeft, 80, 70);
    const QImage Shown = Moved(Before, -20, 20);
    EXPECT_EQ(Difference(Map.Surface(), Shown), "");
    EXPECT_EQ(Testing::SurfacePixel(Map, 190, 50), clWhite);
    EXPECT_EQ(Testing::SurfacePixel(Map, 100, 10), clWhite);
    EXPECT_EQ(Host.Requests, Requests) << "no repaint while dragging";
    EXPECT_FALSE(Map.PaintPending());
    EXPECT_EQ(Centre(), XY(0, 0));

    Map.MouseUp(mbLeft, 0, 80, 70);
    // 20 pixels at zoom 2 are 10 map units; the picture went left and down,
    // so the view now shows what lies east and north.
    EXPECT_EQ(Centre(), XY(10, 10));
    EXPECT_FALSE(Map.InUpdate());
    EXPECT_EQ(Host.Requests, Requests + 1) << "one repaint for both coordinates";
    EXPECT_EQ(Difference(Map.Surface(), Shown), "") << "the repaint comes later";
    EXPECT_EQ(Snapshot(*Tool), std::pair(1, 1));
    Deliver();
    // The map drawn at the new centre is the moved picture, except in the
    // strips, where new ground may appear.
    EXPECT_EQ(
        Difference(Within(Map.Surface().copy(), 0, 20, 180, 100), Within(Shown, 0, 20, 180, 100)),
        "");
    EXPECT_EQ(Completions, 0) << "panning never completes";
}

TEST_F(PanTool, TheReleasePointDecidesWhetherAndHowFarToPan) {
    PaintLandscape();
    auto Tool = Use<TPanTool>();
    const QImage Before = Map.Surface().copy();

    // A click: nothing moves, the copy still goes back to one pixel.
    Click(60, 40);
    EXPECT_EQ(Centre(), XY(0, 0));
    EXPECT_EQ(Snapshot(*Tool), std::pair(1, 1));

    // Dragged away, released at the press pixel: the centre stays, and the
    // moved picture does not linger.
    Map.MouseDown(mbLeft, ssLeft, 60, 40);
    Map.MouseMove(ssLeft, 90, 10);
    Map.MouseUp(mbLeft, 0, 60, 40);
    EXPECT_EQ(Centre(), XY(0, 0));
    EXPECT_EQ(Tool->Snapshot().Width(), 1);
    Deliver();
    EXPECT_EQ(Difference(Map.Surface(), Before), "");

    // Released where no move was reported: the release point counts.
    Map.MouseDown(mbLeft, ssLeft, 60, 40);
    Map.MouseMove(ssLeft, 90, 10);
    Map.MouseUp(mbLeft, 0, 64, 44);
    EXPECT_EQ(Centre(), XY(-2, 2));
    EXPECT_EQ(Completions, 0);
}

TEST_F(PanTool, FarPointersAndAFailingPanLeaveTheMapConsistent) {
    PaintLandscape();
    auto Tool = Use<TPanTool>();
    Map.MouseDown(mbLeft, ssLeft, 100, 50);
    Map.MouseMove(ssLeft, INT_MAX, INT_MIN); // the picture is gone: background only
    EXPECT_EQ(Testing::FindInk(Map.Canvas(), Map.Color(), true).Count, 0);
    Map.MouseMove(ssLeft, 120, 50);
    Map.SetMaxX(Map.MinX()); // no scale: converting pixels fails
    EXPECT_THROW(Map.MouseUp(mbLeft, 0, 120, 50), EZeroDivide);
    EXPECT_FALSE(Map.InUpdate());
    EXPECT_EQ(Map.CenterX(), 0);
    EXPECT_EQ(Tool->Snapshot().Width(), 1);
}

// A host finishing "the current tool" may call Complete on a pan tool.
TEST_F(PanTool, CompleteKeepsTheViewAndReports) {
    auto Tool = Use<TPanTool>();
    Map.SetZoom(3);
    Map.SetCenterX(7);
    EXPECT_FALSE(Tool->Complete());
    EXPECT_EQ(Map.Zoom(), 3);
    EXPECT_EQ(Map.CenterX(), 7);
    EXPECT_EQ(Completions, 1);
}
