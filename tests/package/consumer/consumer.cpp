// Loads a MIF file with the installed library, fits the view and paints it
// off screen; prints what it saw and exits 0 when something was drawn. Then
// puts the map widget and a layer control widget on a window.
#include "core/MapObjects.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "platform/Controls.h"
#include "widgets/LayerControlWidget.h"
#include "widgets/MapWidget.h"

#include <QApplication>
#include <QImage>
#include <cstdio>

int main(int Argc, char** Argv) {
    if (Argc != 2) {
        std::fprintf(stderr, "usage: consumer FILE.mif\n");
        return 1;
    }
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);
    Mapobjects::TSimpleMIFFormatProvider Provider(nullptr);
    Platform::TWinControl Form(nullptr); // the window the map sits on
    Form.SetBounds(0, 0, 400, 200);
    Mapobjects::TChartix Map(nullptr);
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, 400, 200);
    Map.SetColor(Platform::clWhite);
    Mapobjects::TMapLayer* Layer = Map.Layers().Add(Argv[1], "layer");
    if (!Layer || Layer->ObjectCount() == 0) {
        std::fprintf(stderr, "consumer: nothing loaded from %s\n", Argv[1]);
        return 1;
    }
    Map.FitView();
    Map.PaintMapToBitmap();
    const QImage& Picture = Map.MapBitmap()->Image();
    int Drawn = 0;
    for (int Y = 0; Y < Picture.height(); ++Y)
        for (int X = 0; X < Picture.width(); ++X)
            if ((Picture.pixel(X, Y) & 0xFFFFFF) != 0xFFFFFF) ++Drawn;
    std::printf("consumer: %d objects, %d pixels drawn\n", Layer->ObjectCount(), Drawn);

    QWidget Window;
    auto* MapWidget = new ChartixMapWidget(&Window);
    auto* Layers = new ChartixLayerControlWidget(&Window);
    Layers->setMapWidget(MapWidget);
    MapWidget->Map().Layers().Add(Argv[1], "layer");
    const int Rows = Layers->LayerControl().Items().Count();
    std::printf("consumer: the widgets show %d layer row(s)\n", Rows);
    return Drawn > 0 && Rows == 1 ? 0 : 1;
}
