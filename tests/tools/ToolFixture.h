#pragma once
// A map with a host that counts repaint requests, tools attached to it, and
// gestures delivered through the map's own input entry points.

#include "support/MapFixture.h"
#include "tools/StdMapTools.h"

#include <QImage>
#include <memory>
#include <vector>

namespace Testing {

struct TCountingHost : Platform::TControlHost {
    int Requests = 0;
    void RequestPaint() override { ++Requests; }
    void Present() override {}
    void CursorChanged(Platform::TCursor) override {}
    void FocusRequested() override {}
};

// The 200 x 100 view of ViewFixture; at zoom 2 map (X, Y) lies at pixel
// (100 + 2X, 50 - 2Y).
struct ToolFixture : ViewFixture {
    TCountingHost Host;
    int Completions = 0;

    void SetUp() override {
        ViewFixture::SetUp();
        Map.SetHost(&Host);
    }
    void TearDown() override { Map.SetHost(nullptr); } // the host goes before the map

    // A tool of kind T, attached to the map, active, its completions counted.
    template <class T> std::unique_ptr<T> Use() {
        auto Tool = std::make_unique<T>(nullptr);
        Tool->OnComplete = [this](Mapobjects::TCustomMapTool*) { ++Completions; };
        Tool->SetChartix(&Map);
        Tool->SetActive(true);
        return Tool;
    }

    // Left press at the first point, a move to each further one, release at
    // the last.
    void Drag(const std::vector<Platform::TPoint>& Path, Platform::TShiftState Keys = 0) {
        using namespace Platform;
        Map.MouseDown(mbLeft, Keys | ssLeft, Path.front().X, Path.front().Y);
        for (size_t I = 1; I < Path.size(); ++I)
            Map.MouseMove(Keys | ssLeft, Path[I].X, Path[I].Y);
        Map.MouseUp(mbLeft, Keys, Path.back().X, Path.back().Y);
    }
    void Click(int X, int Y, Platform::TShiftState Keys = 0) { Drag({{X, Y}}, Keys); }
    // A double click as the platform delivers it: press and release, the
    // notification, then the second press flagged double.
    void DoubleClick(int X, int Y) {
        Click(X, Y);
        Map.DblClick();
        Click(X, Y, Platform::ssDouble);
    }
    // A click at each vertex, a double click at the last.
    void Figure(const std::vector<Platform::TPoint>& Vertices) {
        for (size_t I = 0; I + 1 < Vertices.size(); ++I)
            Click(Vertices[I].X, Vertices[I].Y);
        DoubleClick(Vertices.back().X, Vertices.back().Y);
    }

    void Deliver() { Platform::Application()->ProcessMessages(); }

    // Zoom 2 and three layers of coloured regions: green land (layer 0), a
    // blue lake (1), two towns (2), one of them on the lake. Painted.
    Mapobjects::TRegion *Land = nullptr, *Lake = nullptr, *Town = nullptr, *FarTown = nullptr;
    void PaintLandscape() {
        using namespace Platform;
        Map.SetZoom(2);
        Land = Add<Mapobjects::TRegion>({Box(-45, -22, 45, 22)});
        Land->Brush()->SetColor(clGreen);
        Lake = AddSquare(Map.Layers().Add("", "lakes"), -30, -10, 15);
        SetStyles(Lake, clNavy, 1, psSolid, clBlue, bsSolid);
        Mapobjects::TMapLayer* Towns = Map.Layers().Add("", "towns");
        Town = AddSquare(Towns, -25, -5, 5);
        SetStyles(Town, clBlack, 1, psSolid, clRed, bsSolid);
        FarTown = AddSquare(Towns, 20, 5, 6);
        SetStyles(FarTown, clBlack, 1, psSolid, clFuchsia, bsSolid);
        Deliver();
        ASSERT_EQ(SurfacePixel(Map, 55, 55), clRed) << "the landscape is on the window";
    }
};

} // namespace Testing
