// chartix-viewer: shows map files (.mif, .tab, .wor workspaces) in a window.
//
//   chartix-viewer [--size WxH] [--style default|file] [--screenshot FILE.png] FILE...
//
// The wheel zooms (at the cursor), a left drag pans, a left click selects the
// object under the cursor (Shift adds to the selection), + and - zoom, the
// arrow keys pan, Home fits the data, R turns the map by 15 degrees and
// Escape clears the selection. With --screenshot the window is saved after
// its first paint and the program ends (exit 5 when the picture is blank).

#include "CliSupport.h"

#include "core/MapObjects.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "platform/QtHost.h"

#include <QApplication>
#include <QImage>
#include <QTimer>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

using namespace Mapobjects;
using namespace Platform;

namespace {

const char* const Program = "chartix-viewer";

struct TOptions {
    int Width = 1024, Height = 600;
    bool FileStyle = false;
    std::string Screenshot;
    std::vector<std::string> Files;
};

int ParseArgs(int Argc, char** Argv, TOptions& O) {
    for (int I = 1; I < Argc; ++I) {
        std::string A = Argv[I];
        auto Value = [&](const char* Name) -> const char* {
            if (I + 1 >= Argc) {
                std::fprintf(stderr, "%s: %s needs a value\n", Program, Name);
                return nullptr;
            }
            return Argv[++I];
        };
        if (A == "--size") {
            const char* V = Value("--size");
            if (!V || std::sscanf(V, "%dx%d", &O.Width, &O.Height) != 2 || O.Width < 1 ||
                O.Height < 1) {
                std::fprintf(stderr, "%s: bad --size, expected WxH such as 1024x600\n", Program);
                return Apps::ExitUsage;
            }
        } else if (A == "--style") {
            const char* V = Value("--style");
            if (!V || (std::string(V) != "default" && std::string(V) != "file")) {
                std::fprintf(stderr, "%s: bad --style, expected default or file\n", Program);
                return Apps::ExitUsage;
            }
            O.FileStyle = std::string(V) == "file";
        } else if (A == "--screenshot") {
            const char* V = Value("--screenshot");
            if (!V) return Apps::ExitUsage;
            O.Screenshot = V;
        } else if (A == "-h" || A == "--help") {
            std::printf(
                "usage: %s [--size WxH] [--style default|file] [--screenshot FILE.png] FILE...\n",
                Program);
            return Apps::ExitOk;
        } else if (!A.empty() && A[0] == '-') {
            std::fprintf(stderr, "%s: unknown option %s\n", Program, A.c_str());
            return Apps::ExitUsage;
        } else {
            O.Files.push_back(A);
        }
    }
    if (O.Files.empty()) {
        std::fprintf(
            stderr,
            "usage: %s [--size WxH] [--style default|file] [--screenshot FILE.png] FILE...\n",
            Program);
        return Apps::ExitUsage;
    }
    return -1;
}

// Drags the map with the left button; a press released without moving is a
// click, which selects.
class TDragTool : public TCustomMapTool {
public:
    explicit TDragTool(TChartix* Map) : TCustomMapTool(nullptr) {
        SetDisplayName("Drag");
        SetCursor(crHandPoint);
        SetChartix(Map);
    }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        if (Button != mbLeft) return;
        FDown = true;
        FMoved = false;
        FStartX = FLastX = X;
        FStartY = FLastY = Y;
    }
    void MouseMove(TShiftState Shift, int X, int Y) override {
        if (!FDown) return;
        if (std::abs(X - FStartX) + std::abs(Y - FStartY) > 2) FMoved = true;
        if (!FMoved) return;
        double K = Chartix()->Scale();
        Chartix()->BeginUpdate();
        Chartix()->SetCenterX(Chartix()->CenterX() - (X - FLastX) / K);
        Chartix()->SetCenterY(Chartix()->CenterY() + (Y - FLastY) / K);
        Chartix()->EndUpdate(true);
        FLastX = X;
        FLastY = Y;
    }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        if (Button != mbLeft || !FDown) return;
        FDown = false;
        if (FMoved) return;
        double MX, MY;
        Chartix()->ScreenToMap(X, Y, MX, MY);
        Chartix()->SelectObjectAt(MX, MY, !(Shift & ssShift));
    }

private:
    bool FDown = false, FMoved = false;
    int FStartX = 0, FStartY = 0, FLastX = 0, FLastY = 0;
};

void Pan(TChartix& Map, int DX, int DY) {
    double K = Map.Scale();
    Map.BeginUpdate();
    Map.SetCenterX(Map.CenterX() + DX * Map.ClientWidth() / 4.0 / K);
    Map.SetCenterY(Map.CenterY() + DY * Map.ClientHeight() / 4.0 / K);
    Map.EndUpdate(true);
}

void OnKey(TChartix& Map, std::uint16_t& Key) {
    switch (Key) {
    case VK_LEFT:
        Pan(Map, -1, 0);
        break;
    case VK_RIGHT:
        Pan(Map, 1, 0);
        break;
    case VK_UP:
        Pan(Map, 0, 1);
        break;
    case VK_DOWN:
        Pan(Map, 0, -1);
        break;
    case VK_HOME:
        Apps::FitView(Map);
        break;
    case VK_ESCAPE:
        Map.Selection().Clear();
        break;
    case 'R':
        Map.RotateMap(Map.CenterX(), Map.CenterY(), Map.RotationAngle() + 15);
        break;
    case 0xBB:
    case 0x6B:
        Map.SetZoom(std::min(Map.MaxZoom(), Map.Zoom() * 2));
        break; // + keys
    case 0xBD:
    case 0x6D:
        Map.SetZoom(std::max(Map.MinZoom(), Map.Zoom() / 2));
        break; // - keys
    default:
        return;
    }
    Key = 0;
}

// Saves the window's picture; a picture of one colour means nothing was drawn.
int SaveScreenshot(TQtHost& Host, const std::string& File) {
    QImage Shot = Host.grab().toImage().convertToFormat(QImage::Format_RGB32);
    std::set<QRgb> Colours;
    for (int Y = 0; Y < Shot.height(); Y += 3)
        for (int X = 0; X < Shot.width(); X += 3)
            Colours.insert(Shot.pixel(X, Y));
    if (!Shot.save(QString::fromStdString(File))) {
        std::fprintf(stderr, "%s: cannot write %s\n", Program, File.c_str());
        return Apps::ExitWriteFailed;
    }
    std::printf("%s: %dx%d, %zu colours\n", File.c_str(), Shot.width(), Shot.height(),
                Colours.size());
    return Colours.size() > 1 ? Apps::ExitOk : 5;
}

} // namespace

int main(int Argc, char** Argv) {
    TOptions O;
    if (int Code = ParseArgs(Argc, Argv, O); Code >= 0) return Code;
    Apps::FilterQtMessages();
    int QtArgc = 1; // Qt would take --style for itself
    QApplication App(QtArgc, Argv);

    Apps::TMessagePrinter Messages(Program);
    Apps::TProviders Providers;
    TWinControl Form(nullptr); // the window the map sits on
    TChartix Map(nullptr);
    Map.SetParent(&Form);
    Map.SetBounds(0, 0, O.Width, O.Height);
    Map.SetColor(Apps::DefaultBackground());
    Map.SetZoomType(wmCursor);
    Map.SetFastSelection(true);
    Apps::TProgressPrinter Progress(Program, Map);
    for (const std::string& File : O.Files) {
        std::vector<TMapLayer*> Layers;
        if (int Code = Apps::LoadFile(Program, Map, File, Messages, Progress, Layers);
            Code != Apps::ExitOk)
            return Code;
        if (!O.FileStyle)
            for (TMapLayer* Layer : Layers)
                Apps::ApplyDefaultStyle(*Layer, Map.Layers().IndexOf(Layer));
    }
    Apps::FitView(Map);

    TDragTool Drag(&Map);
    Drag.SetActive(true);
    Map.OnKeyDown = [&Map](TObject*, std::uint16_t& Key, TShiftState) { OnKey(Map, Key); };

    TQtHost Host(&Map);
    Host.setWindowTitle(
        QString::fromStdString("Chartix Viewer - " + Apps::BaseName(O.Files.front())));
    Host.resize(O.Width, O.Height);
    Host.show();
    int Result = Apps::ExitOk;
    if (!O.Screenshot.empty())
        QTimer::singleShot(200, [&] {
            Result = SaveScreenshot(Host, O.Screenshot);
            App.quit();
        });
    int Loop = App.exec();
    Drag.SetChartix(nullptr);
    return Result != Apps::ExitOk ? Result : Loop;
}
