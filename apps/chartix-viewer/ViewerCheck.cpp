// chartix-viewer-check: works the viewer's window as a user would, with
// mouse and key events going through the window system interface of a real
// display (Xvfb in the tests), and checks the view afterwards against the
// values that the gestures' pixels ask for.
//
//   chartix-viewer-check [--screenshot FILE.png] [--open FILE] FILE...
//
// --screenshot saves the whole window once the checks are done; --open adds
// FILE the way File > Open does, at the end, watching the progress bar.
//
// Prints one line per check; exits 0 when every check holds, 1 otherwise,
// and with the loader's codes when the files do not open.

#include "CliSupport.h"
#include "ViewerWindow.h"

#include "formats/SimpleMIFFormatProvider.h"
#include "objects/Text.h"

#include <QAction>
#include <QApplication>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace Mapobjects;
using namespace Platform;
using Viewer::TViewerWindow;

namespace {

const char* const Program = "chartix-viewer-check";

class TChecks {
public:
    void Near(const std::string& What, double Got, double Want) {
        const bool Ok = std::abs(Got - Want) <= 1e-9 * std::max(1.0, std::abs(Want));
        Report(Ok, What, Ok ? Text("%.12g", Got) : Text("%.12g, expected %.12g", Got, Want));
    }
    void True(const std::string& What, bool Ok) { Report(Ok, What, Ok ? "yes" : "no"); }
    void Equal(const std::string& What, const QString& Got, const QString& Want) {
        const bool Ok = Got == Want;
        Report(Ok, What, Got.toStdString() + (Ok ? "" : ", expected " + Want.toStdString()));
    }
    int Failures() const { return FFailures; }

private:
    static std::string Text(const char* Pattern, double A, double B = 0) {
        char Buf[128];
        std::snprintf(Buf, sizeof Buf, Pattern, A, B);
        return Buf;
    }
    void Report(bool Ok, const std::string& What, const std::string& Detail) {
        if (!Ok) ++FFailures;
        std::printf("%s %s: %s\n", Ok ? "ok  " : "FAIL", What.c_str(), Detail.c_str());
    }
    int FFailures = 0;
};

// The view before a gesture.
struct TView {
    double CX, CY, Zoom, K;
    int W, H;
    explicit TView(const TChartix& Map)
        : CX(Map.CenterX()), CY(Map.CenterY()), Zoom(Map.Zoom()), K(Map.Scale()),
          W(Map.ClientWidth()), H(Map.ClientHeight()) {}
    // The map point under a client pixel of this view (map Y grows upward).
    double MapX(int X) const { return CX + (X - W / 2.0) / K; }
    double MapY(int Y) const { return CY + (H / 2.0 - Y) / K; }
};

// Press, a few moves on the way, release: the left button, in client pixels
// of the map's widget, which may lie outside it.
void Drag(QWidget& Host, QPoint From, QPoint To) {
    QTest::mousePress(&Host, Qt::LeftButton, {}, From);
    for (int Step = 1; Step <= 4; ++Step)
        QTest::mouseMove(&Host, From + (To - From) * Step / 4);
    QTest::mouseRelease(&Host, Qt::LeftButton, {}, To);
}

void CheckPan(TChecks& C, TViewerWindow& Window, QPoint From, QPoint To, const std::string& Name) {
    TChartix& Map = Window.Map();
    const TView V(Map);
    Drag(Window.Host(), From, To);
    // The point under the press ends up under the release.
    C.Near(Name + ": centre X", Map.CenterX(), V.CX - (To.x() - From.x()) / V.K);
    C.Near(Name + ": centre Y", Map.CenterY(), V.CY + (To.y() - From.y()) / V.K);
    C.Near(Name + ": zoom unchanged", Map.Zoom(), V.Zoom);
}

// Drawing on a new layer of its own, typing a label and saving it with Ctrl+S.
void CheckDrawing(TChecks& C, TViewerWindow& Window) {
    TChartix& Map = Window.Map();
    QWidget& Host = Window.Host();
    QTemporaryDir Dir;
    TMapLayer* Drawing = Map.Layers().Add("", "Drawing");
    const std::string File = Dir.filePath("drawing.mif").toStdString();
    Drawing->SetFileName(File);
    Window.RefreshEditableLayers();
    Window.SetEditableLayer(Map.Layers().Count() - 1);
    C.True("the new layer is the one drawn on", Map.Layers().GetEditableLayer() == Drawing);

    QTest::keyClick(&Host, Qt::Key_5, Qt::ControlModifier);
    C.True("Ctrl+5 picks the line tool", Window.Action(TViewerWindow::tkLine).isChecked());
    C.True("drawing's cursor", Host.cursor().shape() == Qt::CrossCursor);
    const TView V(Map);
    Drag(Host, QPoint(100, 100), QPoint(300, 200));
    C.True("a drag draws a line", Drawing->ObjectCount() == 1 &&
                                      Drawing->Last()->Parts().GetFirst()->Points().Count() == 2);
    if (Drawing->ObjectCount() == 1) {
        const TMapPoint& End = Drawing->Last()->Parts().GetFirst()->Points().GetPoint(1);
        C.Near("the line ends at the release: X", End.X, V.MapX(300));
        C.Near("the line ends at the release: Y", End.Y, V.MapY(200));
    }

    QTest::keyClick(&Host, Qt::Key_T, Qt::ControlModifier);
    C.True("Ctrl+T picks the text tool", Window.Action(TViewerWindow::tkText).isChecked());
    QTest::mouseClick(&Host, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::keyClicks(&Host, "Rome");
    QTest::keyClick(&Host, Qt::Key_Left);
    QTest::keyClick(&Host, Qt::Key_R); // a key of the viewer's own, typed here
    QTest::keyClick(&Host, Qt::Key_Return);
    auto* Label = Drawing->ObjectCount() == 2 ? dynamic_cast<TText*>(Drawing->Last()) : nullptr;
    C.True("typing and Enter make a label", Label != nullptr);
    if (Label) C.Equal("the label's text", QString::fromStdString(Label->Text()), "Romre");

    QTest::keyClick(&Host, Qt::Key_S, Qt::ControlModifier);
    TChartix Reader(nullptr);
    TMapLayer* Saved = Reader.Layers().Add(File, "saved");
    C.True("Ctrl+S saves the layer drawn on", Saved && Saved->ObjectCount() == 2);
}

void Run(TChecks& C, TViewerWindow& Window) {
    TChartix& Map = Window.Map();
    QWidget& Host = Window.Host();
    auto Active = [&](TViewerWindow::TToolKind Kind) {
        return Map.MapToolsManager().GetActiveMapTool() == &Window.Tool(Kind);
    };
    auto OnlyChecked = [&](TViewerWindow::TToolKind Kind) {
        for (auto K : {TViewerWindow::tkSelect, TViewerWindow::tkZoomIn, TViewerWindow::tkZoomOut,
                       TViewerWindow::tkPan})
            if (Window.Action(K).isChecked() != (K == Kind)) return false;
        return true;
    };
    C.True("map is 800 x 400", Map.ClientWidth() == 800 && Map.ClientHeight() == 400);

    C.True("pan is the starting tool", Active(TViewerWindow::tkPan));
    C.True("pan's button alone is down", OnlyChecked(TViewerWindow::tkPan));
    C.True("pan's cursor", Host.cursor().shape() == Qt::SizeAllCursor);
    CheckPan(C, Window, QPoint(300, 200), QPoint(560, 120), "pan inside");
    // Released outside the window: the widget keeps the pointer to the end.
    CheckPan(C, Window, QPoint(500, 100), QPoint(-60, 250), "pan released outside");

    Window.Action(TViewerWindow::tkZoomIn).trigger();
    C.True("zoom in's button makes it the tool", Active(TViewerWindow::tkZoomIn));
    C.True("zoom in's button alone is down", OnlyChecked(TViewerWindow::tkZoomIn));
    C.True("zoom in's cursor", Host.cursor().shape() == Qt::PointingHandCursor);
    {
        const TView V(Map);
        Drag(Host, QPoint(200, 100), QPoint(400, 250));
        // 200 x 150 pixels fill the window by the tighter ratio; the middle
        // pixel (300, 175) becomes the centre.
        C.Near("zoom rectangle: zoom", Map.Zoom(), V.Zoom * std::min(V.W / 200.0, V.H / 150.0));
        C.Near("zoom rectangle: centre X", Map.CenterX(), V.MapX(300));
        C.Near("zoom rectangle: centre Y", Map.CenterY(), V.MapY(175));
        C.Equal("status zoom", Window.ZoomShown(), TViewerWindow::ZoomText(Map.Zoom()));
    }
    {
        // A fine wheel: three steps of 40 make one notch, one zoom step, at
        // the cursor.
        const TView V(Map);
        const QPointF At(250, 300);
        for (int Step = 0; Step < 3; ++Step) {
            if (Step == 2) C.Near("wheel: no zoom before a whole notch", Map.Zoom(), V.Zoom);
            QWheelEvent E(At, Host.mapToGlobal(At), QPoint(), QPoint(0, 40), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(&Host, &E);
        }
        C.Near("wheel: zoom", Map.Zoom(), std::min(V.Zoom * 2, Map.MaxZoom()));
        C.Near("wheel: centre X", Map.CenterX(), V.MapX(250));
        C.Near("wheel: centre Y", Map.CenterY(), V.MapY(300));
    }
    {
        const TView V(Map);
        QTest::mouseMove(&Host, QPoint(123, 77));
        C.Equal("status position", Window.PositionShown(),
                TViewerWindow::PositionText(V.MapX(123), V.MapY(77), V.K));
    }

    Window.Tool(TViewerWindow::tkSelect).SetActive(true);
    C.True("a tool activated in code checks its button", OnlyChecked(TViewerWindow::tkSelect));
    C.True("selection's cursor", Host.cursor().shape() == Qt::ArrowCursor);
    {
        // Click on a place that the last paint drew: the selection tool picks it.
        Map.Selection().Clear();
        QCoreApplication::processEvents(); // the repaint after the zoom
        TMapLayer* Places = Map.Layers().Layers(Map.Layers().Count() - 1);
        TCustomMapObject* Target = nullptr;
        for (int I = 0; I < Map.Displayed().Count() && !Target; ++I)
            if (Map.Displayed().Get(I)->Layer() == Places) Target = Map.Displayed().Get(I);
        C.True("a place is shown", Target != nullptr);
        if (Target) {
            const TBounds B = Target->GetBounds();
            int X, Y;
            Map.MapToScreen(B.MinX + (B.MaxX - B.MinX) / 2, B.MinY + (B.MaxY - B.MinY) / 2, X, Y,
                            false);
            QTest::mouseClick(&Host, Qt::LeftButton, {}, QPoint(X, Y));
            C.True("a click selects one object",
                   Map.Selection().Count() == 1 && Map.Selection().Get(0)->Layer() == Places);
        }
    }

    // Keys while the map has the focus; the tool buttons' shortcuts.
    Window.activateWindow();
    if (QTest::qWaitForWindowActive(&Window)) {
        const double Zoom = Map.Zoom();
        QTest::keyClick(&Host, Qt::Key_Plus);
        C.Near("+ doubles the zoom", Map.Zoom(), std::min(Zoom * 2, Map.MaxZoom()));
        QTest::keyClick(&Host, Qt::Key_3, Qt::ControlModifier);
        C.True("Ctrl+3 picks zoom out",
               Active(TViewerWindow::tkZoomOut) && OnlyChecked(TViewerWindow::tkZoomOut));
        CheckDrawing(C, Window);
    } else {
        C.True("the window becomes active", false);
    }
}

// File > Open's filters: every registered provider's, all of them first.
void CheckFilters(TChecks& C) {
    const TFormatProviders* Registry = FormatProviders();
    C.Equal("File > Open's filters",
            TViewerWindow::OpenFilters(Registry ? Registry->GetFilter() : "").join(" | "),
            "All supported files (*.mif *.tab *.wor) | MapInfo Interchange Format Files (*.mif) | "
            "MapInfo Files (*.mif *.tab) | MapInfo Workspaces (*.wor) | All files (*)");
    C.Equal("filters without providers", TViewerWindow::OpenFilters("").join(" | "),
            "All supported files (*.wor) | MapInfo Workspaces (*.wor) | All files (*)");
}

// Opening a file as File > Open does: the bar shows the load's steps and
// hides when it is over; painting the map afterwards leaves it hidden.
void CheckOpen(TChecks& C, TViewerWindow& Window, const std::string& File) {
    TChartix& Map = Window.Map();
    QProgressBar& Bar = Window.ProgressBar();
    struct TStep {
        int Value;
        bool Shown;
    };
    std::vector<TStep> Steps;
    QObject::connect(&Bar, &QProgressBar::valueChanged, &Bar, [&](int Value) {
        Steps.push_back({Value, Bar.isVisible()});
    });
    C.True("the bar is hidden while idle", !Bar.isVisible());
    const int Before = Map.Layers().Count();
    const std::vector<TMapLayer*> Added = Window.OpenLayerFiles({File});
    C.True("File > Open adds one layer with objects",
           Added.size() == 1 && Map.Layers().Count() == Before + 1 && Added[0]->ObjectCount() > 0);
    const bool AllShown = std::all_of(Steps.begin(), Steps.end(), [](TStep S) { return S.Shown; });
    const bool Rising = std::is_sorted(Steps.begin(), Steps.end(),
                                       [](TStep A, TStep B) { return A.Value < B.Value; });
    std::printf("     %zu steps of the bar, the last %d of %d\n", Steps.size(),
                Steps.empty() ? -1 : Steps.back().Value, Bar.maximum());
    C.True("the bar moves through the load, shown", Steps.size() >= 20 && AllShown && Rising);
    C.True("the bar reaches the end of the file",
           !Steps.empty() && Steps.back().Value >= Bar.maximum() * 99 / 100);
    C.True("the bar hides after the load", !Bar.isVisible());
    Steps.clear();
    Map.Invalidate();
    QCoreApplication::processEvents();
    C.True("painting does not show the bar", Steps.empty() && !Bar.isVisible());
}

} // namespace

int main(int Argc, char** Argv) {
    std::vector<std::string> Files(Argv + 1, Argv + Argc);
    std::string Screenshot, Open;
    while (Files.size() >= 2 && (Files[0] == "--screenshot" || Files[0] == "--open")) {
        (Files[0] == "--open" ? Open : Screenshot) = Files[1];
        Files.erase(Files.begin(), Files.begin() + 2);
    }
    if (Files.empty()) {
        std::fprintf(stderr, "usage: %s [--screenshot FILE.png] [--open FILE] FILE...\n", Program);
        return Apps::ExitUsage;
    }
    Apps::FilterQtMessages();
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);
    Apps::TMessagePrinter Messages(Program);
    Apps::TProviders Providers;
    TViewerWindow Window(800, 400, Program);
    if (int Code = Viewer::OpenFiles(Program, Window, Files, false, Messages); Code != Apps::ExitOk)
        return Code;
    Window.show();
    if (!QTest::qWaitForWindowExposed(&Window)) {
        std::fprintf(stderr, "%s: the window was never shown\n", Program);
        return 1;
    }
    TChecks C;
    CheckFilters(C);
    Run(C, Window);
    if (!Open.empty()) CheckOpen(C, Window, Open);
    if (Messages.Count() > 0) C.True("no error reported", false);
    if (!Screenshot.empty())
        C.True("screenshot saved", Window.grab().save(QString::fromStdString(Screenshot)));
    std::printf("%s: %d failed\n", Program, C.Failures());
    return C.Failures() ? 1 : 0;
}
