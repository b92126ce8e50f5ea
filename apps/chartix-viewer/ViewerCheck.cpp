// chartix-viewer-check: works the viewer's window as a user would, with
// mouse and key events going through the window system interface of a real
// display (Xvfb in the tests), and checks that the window's parts reach the
// map: buttons, shortcuts, gestures, docks, files opened and saved. What the
// tools compute is the library's own tests' business.
//
//   chartix-viewer-check [--screenshot FILE.png] [--docks-screenshot FILE.png]
//                        [--open FILE] FILE...
//
// --docks-screenshot saves the whole window once the docks are checked;
// --screenshot saves it once the checks are done; --open adds FILE the way
// File > Open does, watching the progress bar.
//
// Prints one line per check; exits 0 when every check holds, 1 otherwise,
// and with the loader's codes when the files do not open.

#include "CliSupport.h"
#include "ViewerWindow.h"

#include "formats/SimpleMIFFormatProvider.h"
#include "objects/Polys.h"
#include "objects/Symbol.h"
#include "objects/Text.h"
#include "platform/Dialogs.h"
#include "platform/QtMessageHook.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <functional>
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

// Press, a few moves on the way, release: the left button, in client pixels
// of the map's widget, which may lie outside it.
void Drag(QWidget& Host, QPoint From, QPoint To) {
    QTest::mousePress(&Host, Qt::LeftButton, {}, From);
    for (int Step = 1; Step <= 4; ++Step)
        QTest::mouseMove(&Host, From + (To - From) * Step / 4);
    QTest::mouseRelease(&Host, Qt::LeftButton, {}, To);
}

// The objects a file holds, or -1 when it cannot be read.
int ObjectsIn(const std::string& File) {
    TChartix Reader(nullptr);
    TMapLayer* Layer = Reader.Layers().Add(File, "read");
    return Layer && !Layer->FileName().empty() ? Layer->ObjectCount() : -1;
}

// Typing a label on a new layer of its own after the viewer's shortcut key,
// and saving it with Ctrl+S (a new file: nothing to ask).
void CheckTyping(TChecks& C, TViewerWindow& Window) {
    TChartix& Map = Window.Map();
    QWidget& Host = Window.Host();
    QTemporaryDir Dir;
    const std::string File = Dir.filePath("drawing.mif").toStdString();
    TMapLayer* Drawing = Map.Layers().Add("", "Drawing");
    Drawing->SetFileName(File);
    Window.RefreshEditableLayers();
    Window.SetEditableLayer(Map.Layers().Count() - 1);
    QTest::keyClick(&Host, Qt::Key_T, Qt::ControlModifier);
    C.True("Ctrl+T picks the text tool", Window.Action(TViewerWindow::tkText).isChecked() &&
                                             Host.cursor().shape() == Qt::IBeamCursor);
    QTest::mouseClick(&Host, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::keyClicks(&Host, "Rome");
    QTest::keyClick(&Host, Qt::Key_Return);
    auto* Label = Drawing->ObjectCount() == 1 ? dynamic_cast<TText*>(Drawing->Last()) : nullptr;
    C.Equal("typing and Enter make a label on the chosen layer",
            Label ? QString::fromStdString(Label->Text()) : "", "Rome");
    QTest::keyClick(&Host, Qt::Key_S, Qt::ControlModifier);
    C.True("Ctrl+S saves the layer drawn on", ObjectsIn(File) == 1 && !Drawing->Modified());
}

// The tool buttons, their shortcuts and the keys reach the map, and a
// gesture of each navigation tool changes the view.
void CheckTools(TChecks& C, TViewerWindow& Window) {
    TChartix& Map = Window.Map();
    QWidget& Host = Window.Host();
    // The tool of Kind is the map's, its button alone of the navigation ones down.
    auto Active = [&](TViewerWindow::TToolKind Kind) {
        for (auto K : {TViewerWindow::tkSelect, TViewerWindow::tkZoomIn, TViewerWindow::tkZoomOut,
                       TViewerWindow::tkPan})
            if (Window.Action(K).isChecked() != (K == Kind)) return false;
        return Map.MapToolsManager().GetActiveMapTool() == &Window.Tool(Kind);
    };
    C.True("pan is the starting tool",
           Active(TViewerWindow::tkPan) && Host.cursor().shape() == Qt::SizeAllCursor);
    {
        // Released outside the window: the widget keeps the pointer to the end.
        const double X = Map.CenterX(), K = Map.Scale();
        Drag(Host, QPoint(500, 100), QPoint(-60, 250));
        C.Near("a drag pans, released outside too", Map.CenterX(), X + 560 / K);
    }

    Window.Action(TViewerWindow::tkZoomIn).trigger();
    C.True("zoom in's button makes it the tool",
           Active(TViewerWindow::tkZoomIn) && Host.cursor().shape() == Qt::PointingHandCursor);
    const double Zoom = Map.Zoom();
    Drag(Host, QPoint(200, 100), QPoint(400, 250));
    C.True("a zoom rectangle zooms in", Map.Zoom() > Zoom);
    C.Equal("status zoom", Window.ZoomShown(), TViewerWindow::ZoomText(Map.Zoom()));
    double X, Y;
    Map.ScreenToMap(123, 77, X, Y);
    QTest::mouseMove(&Host, QPoint(123, 77));
    C.Equal("status position", Window.PositionShown(),
            TViewerWindow::PositionText(X, Y, Map.Scale()));

    Window.Tool(TViewerWindow::tkSelect).SetActive(true);
    C.True("a tool activated in code checks its button",
           Active(TViewerWindow::tkSelect) && Host.cursor().shape() == Qt::ArrowCursor);
    // The shortcut keys need the window active.
    Window.activateWindow();
    if (!QTest::qWaitForWindowActive(&Window)) return C.True("the window becomes active", false);
    CheckTyping(C, Window);
}

// Whether the picture shows more than one colour in Box: something was
// drawn there.
bool Drawn(const QImage& Picture, const TRect& R) {
    const QRect Box = QRect(R.Left, R.Top, R.Width(), R.Height()) & Picture.rect();
    for (int Y = Box.top(); Y <= Box.bottom(); ++Y)
        for (int X = Box.left(); X <= Box.right(); ++X)
            if (Picture.pixel(X, Y) != Picture.pixel(Box.topLeft())) return true;
    return false;
}

// The docks beside the map: a row per layer, the chosen layer's attribute
// table; a click on a row shows that layer's data.
void CheckDocks(TChecks& C, TViewerWindow& Window) {
    TChartix& Map = Window.Map();
    TLayerControl& Layers = Window.LayerControl();
    TDataBrowser& Data = Window.DataBrowser();
    C.True("both docks are shown",
           Window.LayersDock().isVisible() && Window.DataDock().isVisible());
    QCoreApplication::processEvents();
    TMapLayer* First = Map.Layers().Layers(0);
    TMapLayer* Second = Map.Layers().Layers(1);
    C.True("a row per layer, the first one current, its names drawn",
           Layers.Items().Count() == Map.Layers().Count() && Layers.GetCurrentLayer() == First &&
               Drawn(Window.LayersHost().grab().toImage(), Layers.GetNameRect(1)));
    C.True("the data browser shows the first layer, a column per field, a row per object",
           Data.Layer() == First && Data.ColCount() == First->Fields().Count() + 1 &&
               Data.RowCount() == First->ObjectCount() + 1 &&
               Drawn(Window.DataHost().grab().toImage(), Data.CellRect(1, 1)));

    const TRect Name = Layers.GetNameRect(1);
    QTest::mouseClick(&Window.LayersHost(), Qt::LeftButton, {},
                      QPoint(Name.Left + 10, (Name.Top + Name.Bottom) / 2));
    C.True("a click on a row shows its layer's data",
           Layers.GetCurrentLayer() == Second && Data.Layer() == Second &&
               Data.RowCount() == Second->ObjectCount() + 1);

    auto* Smooth = Window.findChild<QAction*>("smoothDrawing");
    const bool Was = Map.Options().Antialiasing();
    C.True("View > Smooth Drawing switches the map's antialiasing",
           Smooth && (Smooth->trigger(), Map.Options().Antialiasing() != Was));
    if (Smooth) Smooth->trigger();
}

// File > Open's filters: every registered provider's, all of them first;
// with the GDAL module, its formats among them.
void CheckFilters(TChecks& C) {
    const TFormatProviders* Registry = FormatProviders();
    const std::string Filter = Registry ? Registry->GetFilter() : "";
    const QStringList Open = TViewerWindow::OpenFilters(Filter);
    const QStringList Save = TViewerWindow::SaveFilters(Filter);
    const bool Gdal = Registry && Registry->Count() > 2;
    const QString All = Open.value(0);
    C.True("File > Open's first filter has every format: " + All.toStdString(),
           All.startsWith("All supported files (*.mif *.tab ") && All.endsWith(" *.wor)") &&
               (!Gdal || (All.contains(" *.shp ") && All.contains(" *.gpkg ") &&
                          All.contains(" *.geojson ") && All.contains(" *.fgb "))));
    C.Equal("File > Open's MapInfo filters", QStringList(Open.mid(1, 2)).join(" | "),
            "MapInfo Interchange Format Files (*.mif) | MapInfo Files (*.mif *.tab)");
    C.Equal("File > Open's last filters", QStringList(Open.mid(Open.size() - 2)).join(" | "),
            "MapInfo Workspaces (*.wor) | All files (*)");
    C.True("File > Open and Save As offer GeoPackage with GDAL",
           Open.contains("GeoPackage (*.gpkg)") == Gdal &&
               Save.contains("GeoPackage (*.gpkg)") == Gdal);
    C.Equal(
        "Save As's filters", QStringList(Save.mid(0, 2) + Save.mid(Save.size() - 1)).join(" | "),
        "MapInfo Interchange Format Files (*.mif) | MapInfo Files (*.mif *.tab) | All files (*)");
}

// Opening a file as File > Open does: the bar shows the load's steps and
// hides when it is over; painting the map afterwards leaves it hidden.
void CheckOpen(TChecks& C, TViewerWindow& Window, const std::string& File) {
    TChartix& Map = Window.Map();
    QProgressBar& Bar = Window.ProgressBar();
    std::vector<int> Steps;
    bool AllShown = true;
    // Disconnected on return: Steps goes with this function.
    const QMetaObject::Connection Watch =
        QObject::connect(&Bar, &QProgressBar::valueChanged, &Bar, [&](int Value) {
            Steps.push_back(Value);
            AllShown = AllShown && Bar.isVisible();
        });
    C.True("the bar is hidden while idle", !Bar.isVisible());
    const int Before = Map.Layers().Count();
    const std::vector<TMapLayer*> Added = Window.OpenLayerFiles({File});
    C.True("File > Open adds one layer with objects",
           Added.size() == 1 && Map.Layers().Count() == Before + 1 && Added[0]->ObjectCount() > 0);
    C.True("the bar moves through the load to its end, shown, and hides after",
           Steps.size() >= 20 && AllShown && std::is_sorted(Steps.begin(), Steps.end()) &&
               Steps.back() >= Bar.maximum() * 99 / 100 && !Bar.isVisible());
    QObject::disconnect(Watch);
}

// The measure tool and the scale bar give lengths on the ground.
void CheckLengths(TChecks& C, TViewerWindow& Window) {
    TChartix& Map = Window.Map();
    QWidget& Host = Window.Host();
    Map.FitView();
    // Measuring from Moscow to Saint Petersburg.
    Window.Action(TViewerWindow::tkMeasure).trigger();
    int MX, MY, PX, PY;
    Map.MapToScreen(37.62, 55.75, MX, MY, false);
    Map.MapToScreen(30.31, 59.94, PX, PY, false);
    QTest::mouseClick(&Host, Qt::LeftButton, {}, QPoint(MX, MY));
    QTest::mouseMove(&Host, QPoint(PX, PY));
    const QString Said = Window.statusBar()->currentMessage();
    C.True("the measure tool gives the leg in km on both ellipsoids",
           Said.contains("km") && Said.contains("WGS 84") && Said.contains("Krassovsky"));
    QTest::keyClick(&Host, Qt::Key_Escape);
    Window.ScaleBar().Refresh();
    C.True("the scale bar shows a length in km", Window.ScaleBar().isVisible() &&
                                                     Window.ScaleBar().Text().endsWith(" km") &&
                                                     Window.ScaleBar().BarWidth() > 20);
    Window.Action(TViewerWindow::tkPan).trigger();
}

} // namespace

// --- nothing crashes, nothing is lost --------------------------------------------

// Runs Act on the modal dialog once the event loop it opens runs: posted
// before the call that opens it, and again until the dialog is up.
void WhenModal(std::function<void(QWidget*)> Act, int Tries = 500) {
    QTimer::singleShot(0, [Act, Tries] {
        QWidget* Dialog = QApplication::activeModalWidget();
        if (Dialog && Dialog->isVisible())
            Act(Dialog);
        else if (Tries > 0)
            WhenModal(Act, Tries - 1);
    });
}

// A file dialog given a path and Enter.
void ChooseFile(const QString& Path) {
    WhenModal([Path](QWidget* Dialog) {
        auto* Edit = Dialog->findChild<QLineEdit*>("fileNameEdit");
        if (!Edit) {
            QTest::keyClick(Dialog, Qt::Key_Escape);
            return;
        }
        Edit->setText(Path);
        QTest::keyClick(Edit, Qt::Key_Return);
    });
}

// The viewer's message boxes, answered here: what each one said, and
// whether it opened where a dialog may not (inside a paint, a handler, a
// load). RealBoxes shows real message boxes and presses Enter in them.
struct TAnswers {
    struct TAsked {
        std::string Text;
        int Buttons;
        bool Unsafe;
        bool WindowShown;
    };
    std::vector<TAsked> Asked;
    std::deque<int> Replies; // to the questions, in order; Cancel when none is left
    QWidget* Window = nullptr;
    bool RealBoxes = false;

    int Show(const std::string& Text, TMsgDlgType Type, int Buttons) {
        Asked.push_back(
            {Text, Buttons, ModalUnsafe() || QtHostPainting(), Window && Window->isVisible()});
        if (RealBoxes) {
            WhenModal([](QWidget* Box) { QTest::keyClick(Box, Qt::Key_Return); });
            return QtMessageBox(Window, Text, Type, Buttons);
        }
        if (Buttons == mbOK) return mrOk;
        if (Replies.empty()) return mrCancel;
        const int Reply = Replies.front();
        Replies.pop_front();
        return Reply;
    }
    size_t Questions() const {
        return std::count_if(Asked.begin(), Asked.end(),
                             [](const TAsked& A) { return A.Buttons != mbOK; });
    }
    bool AllSafe() const {
        return std::none_of(Asked.begin(), Asked.end(), [](const TAsked& A) { return A.Unsafe; });
    }
    bool Said(const std::string& Part) const {
        return std::any_of(Asked.begin(), Asked.end(),
                           [&](const TAsked& A) { return A.Text.find(Part) != std::string::npos; });
    }
};

QPoint Middle(const TRect& R) {
    return QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// A window opened as the command line opens one, on scratch copies: files
// that fail are reported once it shows; layers are read-only until editing
// is switched on; Save asks once before overwriting, Save As writes a new
// file, a failed save keeps the edits; Delete of a changed layer asks; File >
// Open of a damaged file shows the problem and the viewer lives on.
void CheckTrust(TChecks& C, const std::string& Samples) {
    QTemporaryDir Dir;
    const auto Path = [&](const char* Name) { return Dir.filePath(Name).toStdString(); };
    for (const char* Ext : {".mif", ".mid"})
        QFile::copy(QString::fromStdString(Samples + "/places" + Ext),
                    QString::fromStdString(Path("places") + Ext));
    const std::string Places = Path("places.mif");
    const int Original = ObjectsIn(Places);
    // Three places, the first of which cannot be read (line 8).
    const std::string Damaged = Samples + "/../tests/data/viewer/damaged.mif";

    TAnswers Answers;
    InstallQtMessageHook([&](const std::string& Text, TMsgDlgType Type, int Buttons) {
        return Answers.Show(Text, Type, Buttons);
    });
    TViewerWindow Window(500, 300, Program);
    Answers.Window = &Window;
    TChartix& Map = Window.Map();
    QWidget& Host = Window.Host();
    TLayerControl& Rows = Window.LayerControl();

    // The command line: the window opens with what can be read.
    Window.show();
    const int Code = Viewer::OpenFiles(
        Window, {Places, Path("missing.mif"), Samples + "/countries.mif", Damaged}, false);
    C.True("a missing file: the good layers open", Code == Apps::ExitUnreadable &&
                                                       Map.Layers().Count() == 3 &&
                                                       Map.Layers().Layers(2)->ObjectCount() == 2);
    C.True("the report waits for the event loop", Answers.Asked.empty());
    const bool Exposed = QTest::qWaitForWindowExposed(&Window);
    Window.activateWindow();
    const bool Active = Exposed && QTest::qWaitForWindowActive(&Window);
    QCoreApplication::processEvents();
    C.True("one message, shown with the window, names the missing file and the problem",
           Answers.Asked.size() == 1 && Answers.Asked[0].WindowShown &&
               Answers.Said("missing.mif") && Answers.Said("damaged.mif:8") &&
               !Answers.Said("places.mif") && !Answers.Said("countries.mif"));
    if (Map.Layers().Count() != 3 || !Active) {
        C.True("the scratch window opens and becomes active", false);
        RemoveQtMessageHook();
        return;
    }
    TMapLayer* Layer = Map.Layers().Layers(0);

    // Read-only until editing is switched on.
    C.True("layers open read-only", !Map.Layers().GetEditableLayer());
    QTest::keyClick(&Host, Qt::Key_5, Qt::ControlModifier);
    Drag(Host, QPoint(100, 100), QPoint(200, 150));
    C.True("a read-only map takes no drawing",
           Layer->ObjectCount() == Original && !Layer->Modified());
    QTest::mouseClick(&Window.LayersHost(), Qt::LeftButton, {}, Middle(Rows.GetEditableRect(0)));
    C.True("the editable switch switches editing on", Map.Layers().GetEditableLayer() == Layer);
    Drag(Host, QPoint(100, 100), QPoint(200, 150));
    C.True("then a line goes to that layer",
           Layer->ObjectCount() == Original + 1 && Layer->Modified());

    // Save: asked the first time only.
    QTest::keyClick(&Host, Qt::Key_S, Qt::ControlModifier);
    C.True("Save asks before overwriting the layer's file",
           Answers.Questions() == 1 && Answers.Said("overwrites " + Places) &&
               Answers.Said("built-in look")); // the file's own styles go
    C.True("No leaves the file and the edits", ObjectsIn(Places) == Original && Layer->Modified());
    Answers.Replies = {mrYes};
    QTest::keyClick(&Host, Qt::Key_S, Qt::ControlModifier);
    C.True("Yes saves", ObjectsIn(Places) == Original + 1 && !Layer->Modified());
    Drag(Host, QPoint(120, 100), QPoint(220, 160));
    QTest::keyClick(&Host, Qt::Key_S, Qt::ControlModifier);
    C.True("the next Save asks no more",
           Answers.Questions() == 2 && ObjectsIn(Places) == Original + 2);

    // A folder that cannot be written keeps the edits.
    Drag(Host, QPoint(140, 100), QPoint(240, 170));
    C.True("saving into a folder that is a file fails and keeps the edits",
           !Window.WriteLayer(*Layer, Places + "/places.mif") && Layer->Modified() &&
               Layer->FileName() == Places);
    QCoreApplication::processEvents();

    // Save As, through its dialog.
    const std::string Copy = Path("copy.mif");
    ChooseFile(QString::fromStdString(Copy));
    QTest::keyClick(&Host, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    C.True("Save As writes a new file and leaves the old one",
           ObjectsIn(Copy) == Original + 3 && Layer->FileName() == Copy && !Layer->Modified() &&
               ObjectsIn(Places) == Original + 2);

    // Delete of a changed layer asks.
    Drag(Host, QPoint(160, 100), QPoint(260, 180));
    QTest::mouseClick(&Window.LayersHost(), Qt::LeftButton, {},
                      Middle(Rows.GetNameRect(0)) - QPoint(40, 0));
    Window.LayersHost().setFocus();
    const size_t Asked = Answers.Questions();
    Answers.Replies = {mrNo};
    QTest::keyClick(&Window.LayersHost(), Qt::Key_Delete);
    C.True("Delete of a changed layer keeps it until answered",
           Map.Layers().IndexOf(Layer) == 0 && Answers.Questions() == Asked);
    QCoreApplication::processEvents();
    C.True("then asks; No removes it without saving",
           Answers.Questions() == Asked + 1 && Answers.Said("unsaved changes") &&
               Map.Layers().Count() == 2 && ObjectsIn(Copy) == Original + 3);

    // File > Open of a damaged file, the message in a real box over a map
    // that repaints under it.
    Answers.RealBoxes = true;
    const size_t Shown = Answers.Asked.size();
    ChooseFile(QString::fromStdString(Damaged));
    Map.Invalidate();
    QTest::keyClick(&Host, Qt::Key_O, Qt::ControlModifier);
    QCoreApplication::processEvents();
    C.True("File > Open of a damaged file opens what it could",
           Map.Layers().Count() == 3 && Map.Layers().Layers(2)->ObjectCount() == 2);
    C.True("and shows the problem with its line",
           Answers.Asked.size() == Shown + 1 &&
               Answers.Asked.back().Text.find("damaged.mif:8") != std::string::npos);
    Map.Invalidate();
    QCoreApplication::processEvents();
    C.True("the viewer lives on", Window.isVisible() && Map.Displayed().Count() > 0);
    C.True("no message opened inside a paint, a handler or a load", Answers.AllSafe());
    Answers.RealBoxes = false;
    C.True("closing asks nothing more and closes", Window.close());
    RemoveQtMessageHook();
}

// A workspace from the command line keeps its centre, (10, 20).
void CheckWorkspaceView(TChecks& C, const std::string& Samples) {
    TViewerWindow Window(400, 200, Program);
    Viewer::OpenFiles(Window, {Samples + "/world.wor"}, false);
    TChartix& Map = Window.Map();
    C.True("a workspace opens its layers", Map.Layers().Count() == 2);
    C.Near("the workspace's centre X stays", Map.CenterX(), 10);
    C.Near("the workspace's centre Y stays", Map.CenterY(), 20);
}

// Closing with unsaved changes asks for each changed layer: Cancel keeps the
// window open, Yes saves and closes. Run last: it closes the window.
void CheckCloseAsksToSave(TChecks& C, TViewerWindow& Window) {
    QTemporaryDir Dir;
    const std::string File = Dir.filePath("unsaved.mif").toStdString();
    TMapLayer* Layer = Window.Map().Layers().Add("", "Unsaved");
    Layer->SetFileName(File);
    Layer->NewObject<TSymbol>()->SetPoint(10, 20);
    std::vector<std::string> Asked;
    int Answer = mrCancel;
    SetMessageHook([&](const std::string& Text, TMsgDlgType, int Buttons) {
        Asked.push_back(Text);
        return Buttons == mbYesNoCancel && Text.find("\"Unsaved\"") != std::string::npos
                   ? Answer
                   : int(mrNo);
    });
    C.True("Cancel keeps the window open", !Window.close() && Window.isVisible());
    C.True("only the changed layer is asked about",
           Asked == std::vector<std::string>{"Save the changes to layer \"Unsaved\"?"});
    Answer = mrYes;
    C.True("Yes saves and closes", Window.close() && !Window.isVisible());
    C.True("the layer was saved",
           QFileInfo::exists(QString::fromStdString(File)) && !Layer->Modified());
    SetMessageHook(nullptr);
}

int main(int Argc, char** Argv) {
    std::vector<std::string> Files(Argv + 1, Argv + Argc);
    std::string Screenshot, DocksScreenshot, Open;
    while (Files.size() >= 2) {
        std::string* Value = Files[0] == "--open"               ? &Open
                             : Files[0] == "--screenshot"       ? &Screenshot
                             : Files[0] == "--docks-screenshot" ? &DocksScreenshot
                                                                : nullptr;
        if (!Value) break;
        *Value = Files[1];
        Files.erase(Files.begin(), Files.begin() + 2);
    }
    // The docks are checked with two layers.
    if (Files.size() < 2) {
        std::fprintf(stderr,
                     "usage: %s [--screenshot FILE.png] [--docks-screenshot FILE.png] "
                     "[--open FILE] FILE FILE...\n",
                     Program);
        return Apps::ExitUsage;
    }
    Apps::FilterQtMessages();
    int QtArgc = 1;
    QApplication App(QtArgc, Argv);
    Apps::TMessagePrinter Messages(Program);
    Apps::TProviders Providers;
    TViewerWindow Window(800, 400, Program);
    if (int Code = Viewer::OpenFiles(Window, Files, false); Code != Apps::ExitOk) return Code;
    Window.show();
    if (!QTest::qWaitForWindowExposed(&Window)) {
        std::fprintf(stderr, "%s: the window was never shown\n", Program);
        return 1;
    }
    TChecks C;
    CheckFilters(C);
    CheckDocks(C, Window);
    if (!DocksScreenshot.empty())
        C.True("docks screenshot saved",
               Window.grab().save(QString::fromStdString(DocksScreenshot)));
    CheckTools(C, Window);
    CheckLengths(C, Window);
    if (!Open.empty()) CheckOpen(C, Window, Open);
    const std::string Samples = QFileInfo(QString::fromStdString(Files[0])).path().toStdString();
    CheckWorkspaceView(C, Samples);
    CheckTrust(C, Samples);
    if (Messages.Count() > 0) C.True("no error reported", false);
    if (!Screenshot.empty())
        C.True("screenshot saved", Window.grab().save(QString::fromStdString(Screenshot)));
    CheckCloseAsksToSave(C, Window);
    std::printf("%s: %d failed\n", Program, C.Failures());
    return C.Failures() ? 1 : 0;
}
