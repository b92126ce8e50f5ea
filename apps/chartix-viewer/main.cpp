// chartix-viewer: shows map files (.mif, .tab, .wor workspaces) in a window.
//
//   chartix-viewer [--size WxH] [--style default|file] [--screenshot FILE.png] [FILE...]
//
// The toolbar picks the tool the mouse works with: Select (click an object;
// Shift adds or removes it), Zoom In and Zoom Out (click, or drag a rectangle)
// and Pan (drag; the default), also with Ctrl+1 to Ctrl+4. The wheel zooms and
// keeps the point under the cursor, + and - zoom, the arrow keys pan, Home fits
// the data, R turns the map by 15 degrees and Escape clears the selection. The
// status bar shows the map coordinates under the pointer and the zoom, and a
// progress bar while files load. File > Open adds more files; the Layers dock
// lists the layers with their switches and the Data dock shows the chosen
// layer's attribute rows. Layers open read-only: "Draw on" or a row's editable
// switch switches editing on. Files that cannot be opened are reported in one
// message and the others open. With --screenshot the window is saved after its
// first paint with the files loaded and the program ends (exit 5 when the map
// is blank, 2 when a file could not be opened).

#include "CliSupport.h"
#include "ViewerWindow.h"

#include "formats/SimpleMIFFormatProvider.h"

#include <QApplication>
#include <QImage>

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
                "usage: %s [--size WxH] [--style default|file] [--screenshot FILE.png] [FILE...]\n",
                Program);
            return Apps::ExitOk;
        } else if (!A.empty() && A[0] == '-') {
            std::fprintf(stderr, "%s: unknown option %s\n", Program, A.c_str());
            return Apps::ExitUsage;
        } else {
            O.Files.push_back(A);
        }
    }
    return -1;
}

// Saves the window's picture; a map of one colour means nothing was drawn.
int SaveScreenshot(Viewer::TViewerWindow& Window, const std::string& File) {
    QImage Map = Window.Host().grab().toImage().convertToFormat(QImage::Format_RGB32);
    std::set<QRgb> Colours;
    for (int Y = 0; Y < Map.height(); Y += 3)
        for (int X = 0; X < Map.width(); X += 3)
            Colours.insert(Map.pixel(X, Y));
    const QImage Shot = Window.grab().toImage();
    if (!Shot.save(QString::fromStdString(File))) {
        std::fprintf(stderr, "%s: cannot write %s\n", Program, File.c_str());
        return Apps::ExitWriteFailed;
    }
    std::printf("%s: %dx%d, map %dx%d, %zu colours\n", File.c_str(), Shot.width(), Shot.height(),
                Map.width(), Map.height(), Colours.size());
    return Colours.size() > 1 ? Apps::ExitOk : 5;
}

} // namespace

int main(int Argc, char** Argv) {
    TOptions O;
    if (int Code = ParseArgs(Argc, Argv, O); Code >= 0) return Code;
    Apps::FilterQtMessages();
    int QtArgc = 1; // Qt would take --style for itself
    QApplication App(QtArgc, Argv);
    // Where the viewer's settings (View > Smooth Drawing) are remembered.
    QApplication::setOrganizationName("Chartix");
    QApplication::setApplicationName("chartix-viewer");

    QApplication::setApplicationDisplayName("Chartix Viewer");

    // With --screenshot the library's messages go to stderr; otherwise to
    // message boxes, shown once it is safe: the files that fail are reported
    // after the window shows, and the others open.
    Apps::TMessagePrinter Messages(Program);
    Apps::TProviders Providers;
    Viewer::TViewerWindow Window(O.Width, O.Height, Program);
    if (O.Screenshot.empty()) Window.ReportInDialogs();
    // Shown first, so that the status bar's progress follows the loading.
    Window.show();
    const int Loaded = Viewer::OpenFiles(Window, O.Files, O.FileStyle);
    int Result = Apps::ExitOk;
    if (!O.Screenshot.empty())
        Window.OnFirstPaint = [&] {
            Result = SaveScreenshot(Window, O.Screenshot);
            App.quit();
        };
    const int Loop = App.exec();
    if (Result != Apps::ExitOk) return Result;
    // A screenshot run tells of the files it could not open.
    return !O.Screenshot.empty() && Loaded != Apps::ExitOk ? Loaded : Loop;
}
