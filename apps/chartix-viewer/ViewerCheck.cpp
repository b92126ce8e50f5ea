// chartix-viewer-check: works the viewer's window as a user would, with
// mouse and key events going through the window system interface of a real
// display (Xvfb in the tests), and checks the view afterwards against the
// values that the gestures' pixels ask for.
//
//   chartix-viewer-check [--screenshot FILE.png] [--docks-screenshot FILE.png]
//                        [--screens DIR] [--open FILE] FILE...
//
// The docks are checked first, with the files' layers: the layer control's
// rows and the data browser's first rows, through their API and in the
// pixels their hosts show. --docks-screenshot saves the whole window then;
// --screenshot saves it once the checks are done; --screens saves the window
// mid-gesture (a zoom rectangle, a region in progress, a measure, the scale
// bar) as PNG files in DIR; --open adds FILE the way
// File > Open does, at the end, watching the progress bar.
//
// Prints one line per check; exits 0 when every check holds, 1 otherwise,
// and with the loader's codes when the files do not open.

#include "CliSupport.h"
#include "ViewerWindow.h"

#include "formats/SimpleMIFFormatProvider.h"
#include "objects/Polys.h"
#include "objects/Symbol.h"
#include "objects/Text.h"
#include "platform/Bitmap.h"
#include "platform/Dialogs.h"
#include "platform/QtMessageHook.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <functional>
#include <set>
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
        // A fine wheel: three steps of 40 make one notch, one zoom step,
        // about the cursor.
        const TView V(Map);
        const QPointF At(250, 300);
        for (int Step = 0; Step < 3; ++Step) {
            if (Step == 2) C.Near("wheel: no zoom before a whole notch", Map.Zoom(), V.Zoom);
            QWheelEvent E(At, Host.mapToGlobal(At), QPoint(), QPoint(0, 40), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(&Host, &E);
        }
        C.Near("wheel: zoom", Map.Zoom(), std::min(V.Zoom * 2, Map.MaxZoom()));
        // The map point under the cursor stays there, within a pixel.
        int SX, SY;
        Map.MapToScreen(V.MapX(250), V.MapY(300), SX, SY, false);
        C.True("wheel: the point under the cursor stays within a pixel",
               std::abs(SX - 250) <= 1 && std::abs(SY - 300) <= 1);
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

// Where a text was drawn in Box of a picture: the pixels that differ from
// the box's commonest colour (its background).
QRect InkIn(const QImage& Picture, QRect Box) {
    Box &= Picture.rect();
    QHash<QRgb, int> Counts;
    for (int Y = Box.top(); Y <= Box.bottom(); ++Y)
        for (int X = Box.left(); X <= Box.right(); ++X)
            ++Counts[Picture.pixel(X, Y)];
    QRgb Background = 0;
    int Most = -1;
    for (auto It = Counts.cbegin(); It != Counts.cend(); ++It)
        if (It.value() > Most) {
            Most = It.value();
            Background = It.key();
        }
    QRect Ink;
    for (int Y = Box.top(); Y <= Box.bottom(); ++Y)
        for (int X = Box.left(); X <= Box.right(); ++X)
            if (Picture.pixel(X, Y) != Background) Ink |= QRect(X, Y, 1, 1);
    return Ink;
}

int TextWidth(const TFont& Font, const std::string& Text) {
    TBitmap Measure;
    Measure.SetSize(1, 1);
    Measure.Canvas()->Font()->Assign(Font);
    return Measure.Canvas()->TextWidth(Text);
}

// Text drawn from Left in Box of the picture: ink starts near Left and is
// as wide as the font says Text is (glyph bearings take a pixel or two).
bool ShowsText(const QImage& Picture, QRect Box, int Left, const std::string& Text,
               const TFont& Font) {
    const int Width = TextWidth(Font, Text);
    const QRect Ink = InkIn(Picture, Box);
    return !Ink.isEmpty() && std::abs(Ink.left() - Left) <= 2 &&
           std::abs(Ink.right() + 1 - (Left + Width)) <= 3;
}

QRect ToQRect(const TRect& R) {
    return QRect(R.Left, R.Top, R.Width(), R.Height());
}

// The docks beside the map: a row per layer with its name, and the chosen
// layer's attribute table from its first rows.
void CheckDocks(TChecks& C, TViewerWindow& Window) {
    TChartix& Map = Window.Map();
    TLayerControl& Layers = Window.LayerControl();
    TDataBrowser& Data = Window.DataBrowser();
    C.True("both docks are shown",
           Window.LayersDock().isVisible() && Window.DataDock().isVisible());
    C.True("a row per layer", Layers.Items().Count() == Map.Layers().Count());
    QCoreApplication::processEvents();
    QImage Shown = Window.LayersHost().grab().toImage();
    for (int I = 0; I < Map.Layers().Count(); ++I) {
        const std::string& Name = Map.Layers().Layers(I)->Name();
        QRect Box = ToQRect(Layers.GetNameRect(I));
        Box.setBottom(Box.bottom() - 1); // the dotted line under the row
        C.True("row " + std::to_string(I) + " shows \"" + Name + "\"",
               ShowsText(Shown, Box, Box.left() + 1, Name, *Layers.Font()));
    }
    TMapLayer* First = Map.Layers().Layers(0);
    C.True("the first layer's row is the current one", Layers.GetCurrentLayer() == First);
    C.True("the data browser shows the first layer", Data.Layer() == First);
    const TDataFields& Fields = First->Fields();
    C.True("a column per field, a row per object",
           Data.ColCount() == Fields.Count() + 1 && Data.RowCount() == First->ObjectCount() + 1);
    Shown = Window.DataHost().grab().toImage();
    for (int Col = 1; Col <= Fields.Count(); ++Col) {
        const QRect Header = ToQRect(Data.CellRect(Col, 0));
        if (Header.isEmpty()) break; // scrolled out of the dock
        C.True("column " + std::to_string(Col) + " is headed \"" +
                   Fields.GetFields(Col - 1)->Name() + "\"",
               ShowsText(Shown, Header, Header.left() + 1, Fields.GetFields(Col - 1)->Name(),
                         *Data.Font()));
        for (int Row = 1; Row <= std::min(3, First->ObjectCount()); ++Row) {
            const TDataField* Field = First->Objects(Row - 1)->Fields().GetFields(Col - 1);
            const std::string Text = Field->AsString();
            const QRect Cell = ToQRect(Data.CellRect(Col, Row));
            // Numbers are right-aligned, the rest left-aligned.
            const TDataType Type = Field->DataType();
            const bool Number =
                Type == dtFloat || Type == dtDecimal || Type == dtInteger || Type == dtSmallInt;
            const int Left =
                Number ? Cell.right() - TextWidth(*Data.Font(), Text) : Cell.left() + 1;
            C.True("cell " + std::to_string(Col) + "," + std::to_string(Row) + " shows \"" + Text +
                       "\"",
                   !Cell.isEmpty() && ShowsText(Shown, Cell, Left, Text, *Data.Font()));
        }
    }
}

// A click on a row shows that layer's data, a click on a switch reaches the
// map.
void CheckDockClicks(TChecks& C, TViewerWindow& Window) {
    TChartix& Map = Window.Map();
    TLayerControl& Layers = Window.LayerControl();
    TDataBrowser& Data = Window.DataBrowser();
    TMapLayer* First = Map.Layers().Layers(0);
    TMapLayer* Second = Map.Layers().Layers(1);
    const TRect Name = Layers.GetNameRect(1);
    QTest::mouseClick(&Window.LayersHost(), Qt::LeftButton, {},
                      QPoint(Name.Left + 10, (Name.Top + Name.Bottom) / 2));
    C.True("a click on a row shows its layer's data",
           Layers.GetCurrentLayer() == Second && Data.Layer() == Second &&
               Data.RowCount() == Second->ObjectCount() + 1);
    const TRect Eye = Layers.GetVisibleRect(1);
    const QPoint EyeAt((Eye.Left + Eye.Right) / 2, (Eye.Top + Eye.Bottom) / 2);
    QTest::mouseClick(&Window.LayersHost(), Qt::LeftButton, {}, EyeAt);
    const bool Hidden = !Second->Visible();
    QTest::mouseClick(&Window.LayersHost(), Qt::LeftButton, {}, EyeAt);
    C.True("the visible switch hides and shows the layer", Hidden && Second->Visible());
    // Back to the first layer, as the window opened.
    const TRect FirstName = Layers.GetNameRect(0);
    QTest::mouseClick(&Window.LayersHost(), Qt::LeftButton, {},
                      QPoint(FirstName.Left + 10, (FirstName.Top + FirstName.Bottom) / 2));
    C.True("and back to the first layer", Data.Layer() == First);
}

// Delete in the layer control deletes the current layer; the data browser
// moves on to the layer of the row that is current then.
void CheckDeleteLayer(TChecks& C, TViewerWindow& Window) {
    TChartix& Map = Window.Map();
    TLayerControl& Layers = Window.LayerControl();
    const int Count = Map.Layers().Count();
    TMapLayer* Shown = Window.DataBrowser().Layer();
    C.True("the data browser shows the current row's layer",
           Shown && Shown == Layers.GetCurrentLayer());
    Window.LayersHost().setFocus();
    QTest::keyClick(&Window.LayersHost(), Qt::Key_Delete);
    QCoreApplication::processEvents();
    C.True("Delete deletes the current layer and its row", Map.Layers().Count() == Count - 1 &&
                                                               Map.Layers().IndexOf(Shown) < 0 &&
                                                               Layers.Items().Count() == Count - 1);
    TMapLayer* Now = Window.DataBrowser().Layer();
    C.True("the data browser shows the new current row's layer",
           Now && Now == Layers.GetCurrentLayer() && Map.Layers().IndexOf(Now) >= 0);
}

// File > Open's filters: every registered provider's, all of them first.
void CheckFilters(TChecks& C) {
    const TFormatProviders* Registry = FormatProviders();
    C.Equal("File > Open's filters",
            TViewerWindow::OpenFilters(Registry ? Registry->GetFilter() : "").join(" | "),
            "All supported files (*.mif *.tab *.wor) | MapInfo Interchange Format Files (*.mif) | "
            "MapInfo Files (*.mif *.tab) | MapInfo Workspaces (*.wor) | All files (*)");
    C.Equal(
        "Save As's filters",
        TViewerWindow::SaveFilters(Registry ? Registry->GetFilter() : "").join(" | "),
        "MapInfo Interchange Format Files (*.mif) | MapInfo Files (*.mif *.tab) | All files (*)");
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
    // Disconnected on return: Steps goes with this function.
    const QMetaObject::Connection Watch =
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
    QObject::disconnect(Watch);
}

// Counts the paints the window system delivers to a widget.
struct TPaintCounter : QObject {
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* E) override {
        if (E->type() == QEvent::Paint) ++Paints;
        return false;
    }
};

// What the host shows after the events queued so far, and whether the
// window system was asked to paint it: a picture that changes only when
// something else repaints would not count.
struct TScreenWatch {
    QWidget& Host;
    TPaintCounter Counter;
    explicit TScreenWatch(QWidget& H) : Host(H) { Host.installEventFilter(&Counter); }
    ~TScreenWatch() { Host.removeEventFilter(&Counter); }
    QImage Settled() {
        QTest::qWait(30);
        return Host.grab().toImage();
    }
};

void Save(TChecks& C, QWidget& Window, const std::string& Dir, const char* Name) {
    if (Dir.empty()) return;
    C.True(std::string("screenshot ") + Name,
           Window.grab().save(QString::fromStdString(Dir + "/" + Name)));
}

// The map under the hand: drags and figures show while the hand moves,
// Escape drops them, a click picks the country drawn there, the measure
// tool and the scale bar give lengths on the ground.
void CheckUnderTheHand(TChecks& C, TViewerWindow& Window, const std::string& Screens) {
    TChartix& Map = Window.Map();
    QWidget& Host = Window.Host();
    Map.FitView();
    QCoreApplication::processEvents();
    for (auto Kind : {TViewerWindow::tkZoomIn, TViewerWindow::tkPan}) {
        const char* Name = Kind == TViewerWindow::tkPan ? "pan" : "zoom rectangle";
        Window.Action(Kind).trigger();
        TScreenWatch Watch(Host);
        const QImage Before = Watch.Settled();
        const TView V(Map);
        Watch.Counter.Paints = 0;
        QTest::mousePress(&Host, Qt::LeftButton, {}, QPoint(200, 100));
        QTest::mouseMove(&Host, QPoint(300, 180));
        QTest::mouseMove(&Host, QPoint(420, 260));
        const QImage During = Watch.Settled();
        C.True(std::string(Name) + ": the window repaints while the button is held",
               Watch.Counter.Paints > 0);
        C.True(std::string(Name) + ": what it shows mid-drag differs from before",
               During != Before);
        if (Kind == TViewerWindow::tkZoomIn) Save(C, Window, Screens, "zoom-rectangle.png");
        QTest::keyClick(&Host, Qt::Key_Escape);
        QTest::mouseRelease(&Host, Qt::LeftButton, {}, QPoint(420, 260));
        C.Near(std::string(Name) + ": Escape drops it (zoom)", Map.Zoom(), V.Zoom);
        C.Near(std::string(Name) + ": Escape drops it (centre)", Map.CenterX(), V.CX);
        C.True(std::string(Name) + ": and the window is as before", Watch.Settled() == Before);
    }

    // A region in progress: its fixed edges and the moving one show before
    // the double click; Escape drops it and adds nothing.
    TMapLayer* Edit = Map.Layers().GetEditableLayer();
    C.True("a layer to draw on", Edit != nullptr);
    if (Edit) {
        Window.Action(TViewerWindow::tkRegion).trigger();
        TScreenWatch Watch(Host);
        const QImage Before = Watch.Settled();
        const int Objects = Edit->ObjectCount();
        for (QPoint P : {QPoint(150, 300), QPoint(300, 330), QPoint(330, 220)})
            QTest::mouseClick(&Host, Qt::LeftButton, {}, P);
        QTest::mouseMove(&Host, QPoint(220, 200));
        const QImage During = Watch.Settled();
        C.True("a region in progress shows before the double click", During != Before);
        Save(C, Window, Screens, "region-in-progress.png");
        QTest::keyClick(&Host, Qt::Key_Escape);
        C.True("Escape drops the region",
               Edit->ObjectCount() == Objects && Watch.Settled() == Before);
    }

    // A click inside China picks China, not a country whose box spans it.
    Window.Action(TViewerWindow::tkSelect).trigger();
    TMapLayer* Countries = Map.Layers().Count() ? Map.Layers().Layers(0) : nullptr;
    Map.Selection().Clear();
    int X = 0, Y = 0;
    Map.MapToScreen(103.8, 35.0, X, Y, false);
    QTest::mouseClick(&Host, Qt::LeftButton, {}, QPoint(X, Y));
    const TCustomMapObject* Picked =
        Map.Selection().Count() == 1 ? Map.Selection().Get(0) : nullptr;
    C.Equal("a click inside China selects",
            Picked && Picked->Layer() == Countries && Picked->HasRow()
                ? QString::fromStdString(Picked->Row().Text(0))
                : QString("nothing of the countries"),
            "China");
    C.True("the data dock scrolls to its row", [&] {
        TDataBrowser& Data = Window.DataBrowser();
        if (Data.Layer() != Countries || !Picked) return Data.Layer() != Countries;
        int Row = 1;
        while (Row <= Countries->ObjectCount() && Countries->Objects(Row - 1) != Picked)
            ++Row;
        return Row >= Data.TopRow() && Row < Data.TopRow() + Data.VisibleRowCount();
    }());
    Map.Selection().Clear();

    // Measuring from Moscow to Saint Petersburg, and the scale bar.
    Window.Action(TViewerWindow::tkMeasure).trigger();
    Map.BeginUpdate();
    Map.SetCenterX(34);
    Map.SetCenterY(57.8);
    Map.SetZoom(Map.Zoom() * 12);
    Map.EndUpdate(true);
    QCoreApplication::processEvents();
    int MX, MY, PX, PY;
    Map.MapToScreen(37.62, 55.75, MX, MY, false);
    Map.MapToScreen(30.31, 59.94, PX, PY, false);
    QTest::mouseClick(&Host, Qt::LeftButton, {}, QPoint(MX, MY));
    QTest::mouseMove(&Host, QPoint(PX, PY));
    const QString Said = Window.statusBar()->currentMessage();
    std::printf("     measured: %s\n", Said.toStdString().c_str());
    C.True("the measure tool gives the leg in km on both ellipsoids",
           Said.contains("km") && Said.contains("WGS 84") && Said.contains("Krassovsky"));
    Save(C, Window, Screens, "measure.png");
    QTest::keyClick(&Host, Qt::Key_Escape);
    Map.FitView();
    QCoreApplication::processEvents();
    Window.ScaleBar().Refresh();
    std::printf("     scale bar: %s over %d pixels\n",
                Window.ScaleBar().Text().toStdString().c_str(), Window.ScaleBar().BarWidth());
    C.True("the scale bar shows a length in km", Window.ScaleBar().isVisible() &&
                                                     Window.ScaleBar().Text().endsWith(" km") &&
                                                     Window.ScaleBar().BarWidth() > 20);
    Save(C, Window, Screens, "scale-bar.png");
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

int ObjectsIn(const std::string& File) {
    TChartix Reader(nullptr);
    TMapLayer* Layer = Reader.Layers().Add(File, "read");
    return Layer && !Layer->FileName().empty() ? Layer->ObjectCount() : -1;
}

QPoint Middle(const TRect& R) {
    return QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

int ObjectsOnMap(const TChartix& Map) {
    int N = 0;
    for (int I = 0; I < Map.Layers().Count(); ++I)
        N += Map.Layers().Layers(I)->ObjectCount();
    return N;
}

bool AnyModified(const TChartix& Map) {
    for (int I = 0; I < Map.Layers().Count(); ++I)
        if (Map.Layers().Layers(I)->Modified()) return true;
    return false;
}

// A window opened as the command line opens one, on scratch copies: files
// that fail are reported once it shows; layers are read-only until editing
// is switched on; Save asks once before overwriting, Save As writes a new
// file, a folder that cannot be written keeps the edits; a right-click on a
// row moves nothing; Delete of a changed layer asks; File > Open of a
// damaged file shows the problem and the viewer lives on.
void CheckTrust(TChecks& C, const std::string& Samples) {
    QTemporaryDir Dir;
    const auto Path = [&](const char* Name) { return Dir.filePath(Name).toStdString(); };
    for (const char* Ext : {".mif", ".mid"})
        QFile::copy(QString::fromStdString(Samples + "/places" + Ext),
                    QString::fromStdString(Path("places") + Ext));
    const std::string Places = Path("places.mif");
    const int Original = ObjectsIn(Places);
    // A copy whose first object cannot be read (line 8).
    {
        QFile In(QString::fromStdString(Places)), Out(Dir.filePath("damaged.mif"));
        In.open(QIODevice::ReadOnly);
        Out.open(QIODevice::WriteOnly);
        QByteArray Text = In.readAll();
        const int First = Text.indexOf("Point ");
        Text.replace(First, Text.indexOf('\n', First) - First, "Point abc def");
        Out.write(Text);
        QFile::copy(Dir.filePath("places.mid"), Dir.filePath("damaged.mid"));
    }

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
        Window, {Places, Path("missing.mif"), Samples + "/countries.mif", Path("damaged.mif")},
        false);
    C.True("a missing file: the good layers open",
           Code == Apps::ExitUnreadable && Map.Layers().Count() == 3 &&
               Map.Layers().Layers(2)->ObjectCount() == Original - 1);
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
    const int Before = ObjectsOnMap(Map);
    C.True("layers open read-only", !Map.Layers().GetEditableLayer());
    QTest::keyClick(&Host, Qt::Key_5, Qt::ControlModifier);
    Drag(Host, QPoint(100, 100), QPoint(200, 150));
    C.True("a read-only map takes no drawing", ObjectsOnMap(Map) == Before && !AnyModified(Map));
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

    // A folder that cannot be written.
    Drag(Host, QPoint(140, 100), QPoint(240, 170));
    QFile Blocker(Dir.filePath("file"));
    Blocker.open(QIODevice::WriteOnly);
    Blocker.close();
    const size_t Said = Answers.Asked.size();
    C.True("saving into a folder that is a file fails",
           !Window.WriteLayer(*Layer, Path("file") + "/places.mif"));
    QCoreApplication::processEvents();
    C.True("it says so and keeps the edits and the file name",
           Answers.Asked.size() == Said + 1 && Answers.Said("changes are kept") &&
               Layer->Modified() && Layer->FileName() == Places);

    // Save As, through its dialog.
    const std::string Copy = Path("copy.mif");
    ChooseFile(QString::fromStdString(Copy));
    QTest::keyClick(&Host, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    C.True("Save As writes a new file",
           ObjectsIn(Copy) == Original + 3 && Layer->FileName() == Copy && !Layer->Modified());
    C.True("and leaves the old one", ObjectsIn(Places) == Original + 2);

    // A right-click on another row.
    TLayerControl& Ctrl = Rows;
    QTest::mouseClick(&Window.LayersHost(), Qt::LeftButton, {},
                      Middle(Ctrl.GetNameRect(1)) - QPoint(40, 0));
    QTest::mouseClick(&Window.LayersHost(), Qt::RightButton, {},
                      Middle(Ctrl.GetNameRect(0)) - QPoint(40, 0));
    QCoreApplication::processEvents();
    C.True("a right-click on a row moves no layer", Map.Layers().Layers(0) == Layer);
    QWidget* Menu = QApplication::activePopupWidget();
    QStringList Items;
    if (Menu)
        for (QAction* A : Menu->actions())
            if (!A->isSeparator()) Items << A->text();
    C.Equal("it opens the row's menu", Items.join(", "),
            "&Zoom to layer, &Editable, &Labels, &Save, Save &As..., &Remove");
    if (Menu) QTest::keyClick(Menu, Qt::Key_Escape);

    // Delete of a changed layer asks.
    Drag(Host, QPoint(160, 100), QPoint(260, 180));
    QTest::mouseClick(&Window.LayersHost(), Qt::LeftButton, {},
                      Middle(Ctrl.GetNameRect(0)) - QPoint(40, 0));
    Window.LayersHost().setFocus();
    const size_t Asked = Answers.Questions();
    QTest::keyClick(&Window.LayersHost(), Qt::Key_Delete);
    C.True("Delete of a changed layer keeps it until answered",
           Map.Layers().IndexOf(Layer) == 0 && Answers.Questions() == Asked);
    QCoreApplication::processEvents();
    C.True("then asks; Cancel keeps it", Answers.Questions() == Asked + 1 &&
                                             Answers.Said("unsaved changes") &&
                                             Map.Layers().IndexOf(Layer) == 0);
    Answers.Replies = {mrNo};
    QTest::keyClick(&Window.LayersHost(), Qt::Key_Delete);
    QCoreApplication::processEvents();
    C.True("No removes it without saving",
           Map.Layers().Count() == 2 && ObjectsIn(Copy) == Original + 3);

    // File > Open of a damaged file, the message in a real box over a map
    // that repaints under it.
    Answers.RealBoxes = true;
    const size_t Shown = Answers.Asked.size();
    ChooseFile(Dir.filePath("damaged.mif"));
    Map.Invalidate();
    QTest::keyClick(&Host, Qt::Key_O, Qt::ControlModifier);
    QCoreApplication::processEvents();
    C.True("File > Open of a damaged file opens what it could",
           Map.Layers().Count() == 3 && Map.Layers().Layers(2)->ObjectCount() == Original - 1);
    C.True("and shows the problem with its line",
           Answers.Asked.size() == Shown + 1 &&
               Answers.Asked.back().Text.find("damaged.mif:8") != std::string::npos);
    Map.Invalidate();
    QCoreApplication::processEvents();
    C.True("the viewer lives on", Window.isVisible() && Map.Displayed().Count() > 0);
    C.True("no message opened inside a paint, a handler or a load", Answers.AllSafe());
    Answers.RealBoxes = false;
    C.True("closing asks nothing more and closes", Window.close() && !AnyModified(Map));
    RemoveQtMessageHook();
}

// A workspace from the command line: its centre (10, 20), and its layers
// keep its look (one fill for every country, not the built-in palette).
void CheckWorkspaceView(TChecks& C, const std::string& Samples) {
    TViewerWindow Window(400, 200, Program);
    Viewer::OpenFiles(Window, {Samples + "/world.wor"}, false);
    TChartix& Map = Window.Map();
    C.True("a workspace opens its layers", Map.Layers().Count() == 2);
    C.Near("the workspace's centre X stays", Map.CenterX(), 10);
    C.Near("the workspace's centre Y stays", Map.CenterY(), 20);
    std::set<TColor> Fills;
    for (int L = 0; L < Map.Layers().Count(); ++L)
        for (int I = 0; I < Map.Layers().Layers(L)->ObjectCount(); ++I)
            if (auto* Region = dynamic_cast<TRegion*>(Map.Layers().Layers(L)->Objects(I)))
                Fills.insert(Region->ReadBrush()->Color());
    C.True("the workspace's fill is kept", Fills.size() == 1);
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
    std::string Screenshot, DocksScreenshot, Open, Screens;
    while (Files.size() >= 2) {
        std::string* Value = Files[0] == "--open"               ? &Open
                             : Files[0] == "--screenshot"       ? &Screenshot
                             : Files[0] == "--docks-screenshot" ? &DocksScreenshot
                             : Files[0] == "--screens"          ? &Screens
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
    CheckDockClicks(C, Window);
    Run(C, Window);
    CheckUnderTheHand(C, Window, Screens);
    if (!Open.empty()) CheckOpen(C, Window, Open);
    CheckDeleteLayer(C, Window);
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
