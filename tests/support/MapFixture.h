#pragma once
// Maps on a parent window, the way a host program places them, and helpers
// to put objects on them and read back their pixels.

#include "core/MapObjects.h"
#include "objects/Polys.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"
#include "support/TestUtils.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Testing {

using XY = std::pair<double, double>;
using TRing = std::vector<XY>;

// A closed axis-parallel ring, its first point repeated at the end.
inline TRing Box(double Left, double Bottom, double Right, double Top) {
    return {{Left, Bottom}, {Right, Bottom}, {Right, Top}, {Left, Top}, {Left, Bottom}};
}

// An object of kind T on the layer, one part for each list of points.
template <class T> T* AddShape(Mapobjects::TMapLayer* Layer, const std::vector<TRing>& Parts) {
    T* Obj = Layer->template NewObject<T>();
    for (const TRing& Part : Parts) {
        Mapobjects::TMapPoints& Points = Obj->Parts().Add()->Points();
        for (const auto& [X, Y] : Part)
            Points.Add(X, Y);
    }
    return Obj;
}

inline Mapobjects::TRegion* AddSquare(Mapobjects::TMapLayer* Layer, double X, double Y,
                                      double Size) {
    return AddShape<Mapobjects::TRegion>(Layer, {Box(X, Y, X + Size, Y + Size)});
}

// The points of every part: "X Y,X Y|X Y,...".
inline std::string PointsOf(const Mapobjects::TCustomMapObject* O) {
    std::string S;
    for (int P = 0; P < O->Parts().Count(); ++P) {
        const char* Separator = P ? "|" : "";
        for (const Mapobjects::TMapPoint& Q : O->Parts().Items(P)->Points())
            S += std::exchange(Separator, ",") + Platform::Format("%.15g %.15g", Q.X, Q.Y);
    }
    return S;
}

// Moves a point-like object (symbol, text, circle) to (X, Y).
template <class T> T* Place(T* O, double X, double Y) {
    O->SetX(X);
    O->SetY(Y);
    return O;
}

// Sets the corners of a rectangle object, first corner first.
template <class T> T* Corners(T* R, double X0, double Y0, double X1, double Y1) {
    R->SetX0(X0);
    R->SetY0(Y0);
    R->SetX1(X1);
    R->SetY1(Y1);
    return R;
}

// Sets an object's pen and brush.
inline void SetStyles(Mapobjects::TCustomMapObject* O, Platform::TColor PenColor, int PenWidth,
                      Platform::TPenStyle PenStyle, Platform::TColor BrushColor,
                      Platform::TBrushStyle BrushStyle) {
    O->Pen()->SetColor(PenColor);
    O->Pen()->SetWidth(PenWidth);
    O->Pen()->SetStyle(PenStyle);
    O->Brush()->SetColor(BrushColor);
    O->Brush()->SetStyle(BrushStyle);
}

// Sets a font's name, and its size, colour and styles where given.
inline void SetFont(Platform::TFont* F, const std::string& Name, int Size = 0,
                    Platform::TColor Color = Platform::clNone, Platform::TFontStyles Style = 0) {
    F->SetName(Name);
    if (Size) F->SetSize(Size);
    if (Color != Platform::clNone) F->SetColor(Color);
    if (Style) F->SetStyle(Style);
}

inline Platform::TColor SurfacePixel(Mapobjects::TChartix& Map, int X, int Y) {
    return Platform::FromQColor(QColor(Map.Surface().pixel(X, Y)));
}

// Drawing the selection of O twice on the window leaves it as it was; the
// first time changes pixel In and leaves pixel Out alone. Without
// ShowSelection nothing is drawn.
inline void ExpectSelectionToggles(Mapobjects::TChartix& Map, Mapobjects::TCustomMapObject* O,
                                   QPoint In, QPoint Out) {
    Map.Invalidate();
    Platform::Application()->ProcessMessages();
    const QImage Before = Map.Surface().copy();
    O->DrawSelection();
    const QImage Marked = Map.Surface().copy();
    EXPECT_NE(Marked.pixel(In), Before.pixel(In));
    EXPECT_EQ(Marked.pixel(Out), Before.pixel(Out));
    O->DrawSelection();
    EXPECT_EQ(Map.Surface(), Before);
    Map.SetShowSelection(false);
    O->DrawSelection();
    EXPECT_EQ(Map.Surface(), Before) << "drawn without ShowSelection";
    Map.SetShowSelection(true);
}

// Names a sender: "map", "layers" (a layer list), a layer by its name, an
// object by its Tag ("o3"), a tool by its display name.
inline std::string SenderName(const Platform::TObject* O) {
    using namespace Mapobjects;
    if (dynamic_cast<const TChartix*>(O)) return "map";
    if (dynamic_cast<const TMapLayers*>(O)) return "layers";
    if (auto* L = dynamic_cast<const TMapLayer*>(O)) return L->Name();
    if (auto* Obj = dynamic_cast<const TCustomMapObject*>(O))
        return "o" + std::to_string(Obj->Tag());
    if (auto* T = dynamic_cast<const TCustomMapTool*>(O)) return T->DisplayName();
    return O ? "?" : "null";
}

inline std::string LinkEventName(Mapobjects::TMapDataLinkEvent E) {
    static const char* const Names[] = {"mdlBeforeAddLayer",
                                        "mdlAfterAddLayer",
                                        "mdlBeforeDelLayer",
                                        "mdlDelLayer",
                                        "mdlAfterDelLayer",
                                        "mdlMoveLayer",
                                        "mdlExchangeLayer",
                                        "mdlLayerVisibleChanged",
                                        "mdlLayerSelectableChanged",
                                        "mdlLayerEditableChanged",
                                        "mdlLayerAutolabelChanged",
                                        "mdlAddObject",
                                        "mdlRemoveObject",
                                        "mdlAddSelection",
                                        "mdlDelSelection"};
    return Names[E];
}

// Everything a map tells, as one stream of lines in the order it happens:
// host events "OnAddSelection(o1)", link notifications "mdlAddSelection(o1)"
// (the Info argument must be 0), "repaint" where the window is first asked
// to repaint, and, with a watched pixel, "marks on"/"marks off" where
// selection marks change it on the window. Attach only after the setup has
// been painted, so that no paint is pending. The map may outlive the
// recorder: its handlers then fall silent.
struct TRecorder : Mapobjects::TMapDataLink {
    Mapobjects::TChartix* Target = nullptr;
    std::vector<std::string> Log;
    bool RefuseLayerDelete = false; // the answer OnBeforeDelLayer gives when asked

    void Attach(Mapobjects::TChartix& Map) {
        using namespace Mapobjects;
        using Platform::TObject;
        Target = &Map;
        SetMap(&Map);
        auto Say = [Self = FSelf](const std::string& What, const TObject* Sender,
                                  const std::string& More = "") {
            if (*Self) (*Self)->Note(What + "(" + SenderName(Sender) + More + ")");
        };
        Map.OnAddLayer = [=](TChartix*, TMapLayer* L) { Say("OnAddLayer", L); };
        Map.OnBeforeDelLayer = [=, Self = FSelf](TChartix*, TMapLayer* L, bool Confirm,
                                                 bool& Allow) {
            Say("OnBeforeDelLayer", L, Confirm ? ",confirm" : "");
            if (Confirm && *Self) Allow = !(*Self)->RefuseLayerDelete;
        };
        Map.OnAfterDelLayer = [=](TObject* S) { Say("OnAfterDelLayer", S); };
        Map.OnAddObject = [=](TChartix*, TCustomMapObject* O) { Say("OnAddObject", O); };
        Map.OnBeforeRemoveObject = [=](TChartix*, TCustomMapObject* O, bool Allow) {
            Say("OnBeforeRemoveObject", O, Allow ? "" : ",refused");
        };
        Map.OnAfterRemoveObject = [=](TObject* S) { Say("OnAfterRemoveObject", S); };
        Map.OnDeleteObject = [=](TObject* S) { Say("OnDeleteObject", S); };
        Map.OnAddSelection = [=](TChartix*, TCustomMapObject* O) { Say("OnAddSelection", O); };
        Map.OnDelSelection = [=](TChartix*, TCustomMapObject* O) { Say("OnDelSelection", O); };
        Map.OnUpdate = [=](TObject* S) { Say("OnUpdate", S); };
        Map.OnZoom = [=](TObject* S) { Say("OnZoom", S); };
        Map.OnStartProgress = [=](TObject* S, int Min, int Max, const std::string&) {
            Say("OnStartProgress", S, Platform::Format(",%d,%d", Min, Max));
        };
        Map.OnStopProgress = [=](TObject* S) { Say("OnStopProgress", S); };
        Reset();
    }
    // While the link is attached the map is alive: a map being freed lets go
    // of its links first.
    ~TRecorder() override {
        *FSelf = nullptr;
        SetMap(nullptr);
    }
    // Takes the window's pixel P, as it is now, as the look without marks.
    void Watch(QPoint P) {
        FProbe = P;
        FPlain = Target->Surface().pixel(P);
        FMarked = false;
    }
    // Starts a new stream from the present state of the window.
    void Reset() {
        Log.clear();
        FRepaintSeen = Target->PaintPending();
        if (FProbe) FMarked = Target->Surface().pixel(*FProbe) != FPlain;
    }
    // The stream, with what happened since the last line.
    const std::vector<std::string>& Lines() {
        Check();
        return Log;
    }
    void Note(const std::string& Line) {
        Check();
        Log.push_back(Line);
    }
    void MapEvent(Mapobjects::TMapDataLinkEvent Event, Platform::TObject* Sender,
                  int Info) override {
        EXPECT_EQ(Info, 0);
        Note(LinkEventName(Event) + "(" + SenderName(Sender) + ")");
    }

private:
    std::shared_ptr<TRecorder*> FSelf = std::make_shared<TRecorder*>(this);
    void Check() {
        if (!FRepaintSeen && Target->PaintPending()) {
            FRepaintSeen = true;
            Log.push_back("repaint");
        }
        if (FProbe && !Target->IsBusy()) {
            const bool Marked = Target->Surface().pixel(*FProbe) != FPlain;
            if (Marked != FMarked) Log.push_back(Marked ? "marks on" : "marks off");
            FMarked = Marked;
        }
    }
    bool FRepaintSeen = false;
    std::optional<QPoint> FProbe;
    QRgb FPlain = 0;
    bool FMarked = false;
};

using TLines = std::vector<std::string>;

// A 360 x 180 map: one pixel per map unit, (0, 0) at pixel (180, 90).
struct MapFixture : ::testing::Test {
    Platform::TWinControl Form{nullptr};
    Mapobjects::TChartix Map{nullptr};

    void SetUp() override {
        Map.SetParent(&Form);
        Map.SetBounds(0, 0, 360, 180);
    }
};

// A 200 x 100 white view of -100..100 x -50..50 with one layer: map (X, Y)
// at pixel (100 + X, 50 - Y). Shapes added here have a black pen of one
// pixel and a solid red brush.
struct ViewFixture : MapFixture {
    Mapobjects::TMapLayer* Layer = nullptr;

    void SetUp() override {
        MapFixture::SetUp();
        Map.SetBounds(0, 0, 200, 100);
        Map.SetMinX(-100);
        Map.SetMaxX(100);
        Map.SetMinY(-50);
        Map.SetMaxY(50);
        Map.SetColor(Platform::clWhite);
        Layer = Map.Layers().Add("", "view");
    }
    template <class T> T* Add(const std::vector<TRing>& Parts = {}) {
        T* Obj = AddShape<T>(Layer, Parts);
        SetStyles(Obj, Platform::clBlack, 1, Platform::psSolid, Platform::clRed, Platform::bsSolid);
        return Obj;
    }
    Platform::TColor At(int X, int Y) { return Map.MapBitmap()->Canvas()->Pixel(X, Y); }
    void Rebuild() {
        Map.PaintMapToBitmap();
        Map.MapBitmap()->Canvas()->Flush();
    }
};

// Empty when the images are equal, else where they first differ.
inline std::string Difference(const QImage& A, const QImage& B) {
    if (A.size() != B.size()) return "sizes differ";
    for (int Y = 0; Y < A.height(); ++Y)
        for (int X = 0; X < A.width(); ++X)
            if ((A.pixel(X, Y) & 0xFFFFFF) != (B.pixel(X, Y) & 0xFFFFFF))
                return Platform::Format("pixel %d,%d: %06x, expected %06x", X, Y,
                                        A.pixel(X, Y) & 0xFFFFFF, B.pixel(X, Y) & 0xFFFFFF);
    return "";
}

} // namespace Testing
