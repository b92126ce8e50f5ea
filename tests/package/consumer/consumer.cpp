// A program of somebody else's, built against an installed Chartix: the map
// widget with no provider or tool code of its own. Opens a .mif and a .tab
// through Layers().Add (the MITAB module found from the installation), pans
// with a mouse drag, and counts selectionChanged in two slots. Exits 0 when
// all of that worked, and prints what it saw.
#include <chartix/Version.h>
#include <chartix/platform/QtHost.h>
#include <chartix/widgets/LayerControlWidget.h>
#include <chartix/widgets/MapWidget.h>

#include <QApplication>
#include <QMouseEvent>
#include <cstdio>

namespace {
void Send(QWidget* To, QEvent::Type Type, QPoint At, Qt::MouseButtons Buttons) {
    const Qt::MouseButton Button = Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent Event(Type, At, To->mapToGlobal(At), Button, Buttons, Qt::NoModifier);
    QApplication::sendEvent(To, &Event);
    QApplication::processEvents();
}
} // namespace

int main(int Argc, char** Argv) {
    if (Argc != 3) {
        std::fprintf(stderr, "usage: consumer FILE.mif FILE.tab\n");
        return 1;
    }
    std::printf("consumer: built against Chartix %s\n", CHARTIX_VERSION_STRING);
    static_assert(CHARTIX_VERSION >= CHARTIX_VERSION_CHECK(0, 1, 0));
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);
    QWidget Window;
    Window.resize(400, 200);
    auto* Map = new ChartixMapWidget(&Window);
    Map->resize(400, 200);
    auto* Layers = new ChartixLayerControlWidget(&Window);
    Layers->setMapWidget(Map);
    int Heard[2] = {0, 0};
    QObject::connect(Map, &ChartixMapWidget::selectionChanged, [&] { ++Heard[0]; });
    QObject::connect(Map, &ChartixMapWidget::selectionChanged, [&] { ++Heard[1]; });
    Window.show();

    bool Ok = true;
    for (int I = 1; I <= 2; ++I) {
        Mapobjects::TMapLayer* Layer = Map->Map().Layers().Add(Argv[I], "");
        const int Objects = Layer ? Layer->ObjectCount() : 0;
        std::printf("consumer: %s: %d objects\n", Argv[I], Objects);
        Ok = Ok && Objects > 0;
    }
    // A file that cannot be read adds nothing, and the caller is told why.
    Mapobjects::TFileResult Result;
    Ok = Ok && !Map->Map().Layers().Add("no-such-file.mif", "", Result) && !Result.Ok &&
         !Result.Message.empty();
    std::printf("consumer: %s", Result.Describe().c_str());
    Map->Map().FitView();
    QApplication::processEvents();

    // A drag with the left button pans: the default tool is the pan tool.
    QWidget* Surface = &Map->Host();
    const double Before = Map->Map().CenterX();
    Send(Surface, QEvent::MouseButtonPress, {200, 100}, Qt::LeftButton);
    Send(Surface, QEvent::MouseMove, {260, 100}, Qt::LeftButton);
    Send(Surface, QEvent::MouseButtonRelease, {260, 100}, Qt::NoButton);
    const double After = Map->Map().CenterX();
    std::printf("consumer: the drag moved the centre from %g to %g\n", Before, After);
    Ok = Ok && After < Before;

    Mapobjects::TMapLayer* First = Map->Map().Layers().Layers(0);
    Map->Map().Selection().Add(First->Objects(0), false);
    QApplication::processEvents();
    std::printf("consumer: selectionChanged reached the slots %d and %d time(s)\n", Heard[0],
                Heard[1]);
    Ok = Ok && Heard[0] == 1 && Heard[1] == 1;
    std::printf("consumer: the layer control shows %d row(s)\n",
                Layers->LayerControl().Items().Count());
    return Ok && Layers->LayerControl().Items().Count() == 2 ? 0 : 1;
}
