#include "core/MapObjects.h"

#include "core/CoordinateSystems.h"

#include "core/PreciseHit.h"
#include "core/ScreenTransform.h"

#include "objects/MapObject.h"
#include "platform/SysUtils.h"
#include "platform/Trace.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <utility>

namespace Mapobjects {

using namespace Platform;

namespace {
TChartix::TWorkspaceReader& WorkspaceReader() {
    static TChartix::TWorkspaceReader Reader = nullptr;
    return Reader;
}

void ReadWorkspace(TChartix& Map, const std::string& FileName, TReadProblems* Problems) {
    if (!WorkspaceReader())
        throw EFOpenError(
            Format("Cannot open workspace \"%s\": no workspace reader is registered", FileName));
    WorkspaceReader()(Map, FileName, Problems);
}
} // namespace

void TChartix::SetWorkspaceReader(TWorkspaceReader Reader) {
    WorkspaceReader() = Reader;
}

void TChartix::LoadWOR(const std::string& FileName) {
    ReadWorkspace(*this, FileName, nullptr);
}

void TChartix::LoadWOR(const std::string& FileName, TReadProblems& Problems) {
    ReadWorkspace(*this, FileName, &Problems);
}

TChartix::TChartix(TComponent* Owner) : TCustomControl(Owner) {
    FFirstPaint = true;
    FLayers = std::make_unique<TMapLayers>();
    FSubstrates = std::make_unique<TSubstrates>();
    FSelection = std::make_unique<TSelection>();
    FDisplayed = std::make_unique<TMapObjectsList>();
    FDataLinks = std::make_unique<TMapDataLinks>();
    FOptions = std::make_unique<TChartixOptions>();
    FMapToolsManager = std::make_unique<TMapToolsManager>();
    FMapBitmap = std::make_unique<TBitmap>();
    FLabelPlacer = std::make_unique<TLabelPlacer>();

    // 8 x 8 pattern: blue, with the default colour where column and row are odd.
    FSelectionPattern = std::make_unique<TBitmap>();
    FSelectionPattern->SetSize(8, 8);
    FSelectionPattern->SetTransparent(true);
    FSelectionPattern->SetTransparentColor(clDefault); // stores the colour (and fixes the mode)
    FSelectionPattern->SetTransparentMode(tmAuto);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            FSelectionPattern->Canvas()->SetPixel(X, Y,
                                                  (X % 2 == 1 && Y % 2 == 1) ? clDefault : clBlue);

    SetBounds(Left(), Top(), 100, 100);
    FLayers->SetMap(this);
    FSelection->SetMap(this);
    FDisplayed->SetMap(this);
    FDataLinks->SetMap(this);
    FSubstrates->SetMap(this);
    FModified = false; // sizing above is part of construction, not a change
}

TChartix::~TChartix() {
    FDestroying = true;
    FInUpdate = true;
    // Links and tools outlive the map in the host's hands: let them forget it.
    for (TMapDataLink* Link : *FDataLinks)
        Link->MapDestroyed();
    for (TCustomMapTool* Tool : *FMapToolsManager)
        Tool->MapDestroyed();
    // Objects freed now announce nothing, so nothing may go on listing them;
    // and the layers go first, while the rest of the map is whole for the
    // handlers their destructors call.
    FSelection->TMapObjectsList::Clear();
    FDisplayed->Clear();
    FLayers->Clear();
    // Objects taken off their layers and kept elsewhere outlive the map as
    // its other weak links do (after the layers: their handlers may still
    // take objects off).
    for (TCustomMapObject* Object : FLooseObjects)
        Object->MapDestroyed();
    FLooseObjects.clear();
    FSelectionPattern.reset();
    FMapBitmap.reset();
    FMapToolsManager.reset();
    FOptions.reset();
    FDataLinks.reset();
    FDisplayed.reset();
    FSelection.reset();
    FLayers.reset();
    FSubstrates.reset();
}

void TChartix::LooseObject(TCustomMapObject* Object, bool Loose) {
    if (Loose)
        FLooseObjects.insert(Object);
    else
        FLooseObjects.erase(Object);
}

// --- setters ------------------------------------------------------------------

void TChartix::SetMinX(double V) {
    FMinX = V;
    DoUpdate(true);
}
void TChartix::SetMaxY(double V) {
    FMaxY = V;
    DoUpdate(true);
}
void TChartix::SetMaxX(double V) {
    FMaxX = V;
    DoUpdate(true);
}
void TChartix::SetMinY(double V) {
    FMinY = V;
    DoUpdate(true);
}
void TChartix::SetCenterX(double V) {
    FCenterX = V;
    DoUpdate(true);
}
void TChartix::SetCenterY(double V) {
    FCenterY = V;
    DoUpdate(true);
}

// A zoom that is not a finite number is ignored as 0 is: a view with it
// would map every point to nowhere.
void TChartix::SetZoom(double Value) {
    if (Value == 0 || !std::isfinite(Value) || Value == FZoom) return;
    FZoom = Value;
    DoUpdate(true);
    if (OnZoom) OnZoom(this);
}

// A replaced part is bound to the map; the one handed back is cut loose from
// it (and holds nothing of it), so it may be kept or freed at any time, also
// after the map. Null stands for a new, empty part: the map always has one.

std::unique_ptr<TMapLayers> TChartix::SetLayers(std::unique_ptr<TMapLayers> V) {
    if (!V) V = std::make_unique<TMapLayers>();
    std::unique_ptr<TMapLayers> Old = ReplaceOwned(FLayers, std::move(V));
    Old->SetMap(nullptr); // its objects leave the selection and Displayed
    FLayers->SetMap(this);
    DoUpdate(true);
    return Old;
}

std::unique_ptr<TSelection> TChartix::SetSelection(std::unique_ptr<TSelection> V) {
    if (!V) V = std::make_unique<TSelection>();
    std::unique_ptr<TSelection> Old = ReplaceOwned(FSelection, std::move(V));
    Old->SetMap(nullptr);
    Old->Clear(); // without a map: silently
    FSelection->SetMap(this);
    DoUpdate(true); // marks of the old selection go with the next paint
    return Old;
}

std::unique_ptr<TMapObjectsList> TChartix::SetDisplayed(std::unique_ptr<TMapObjectsList> V) {
    if (!V) V = std::make_unique<TMapObjectsList>();
    std::unique_ptr<TMapObjectsList> Old = ReplaceOwned(FDisplayed, std::move(V));
    Old->SetMap(nullptr);
    Old->Clear();
    FDisplayed->SetMap(this);
    return Old;
}

std::unique_ptr<TMapDataLinks> TChartix::SetDataLinks(std::unique_ptr<TMapDataLinks> V) {
    if (!V) V = std::make_unique<TMapDataLinks>();
    std::unique_ptr<TMapDataLinks> Old = ReplaceOwned(FDataLinks, std::move(V));
    for (TMapDataLink* Link : *Old)
        Link->MapDestroyed();
    Old->Clear();
    Old->SetMap(nullptr);
    // The list is the map's like its other parts: it knows the map it serves.
    FDataLinks->SetMap(this);
    for (TMapDataLink* Link : *FDataLinks)
        Link->MapAcquired(this);
    return Old;
}

std::unique_ptr<TBitmap> TChartix::SetSelectionPattern(std::unique_ptr<TBitmap> V) {
    // Brushes copy the pattern when it is set: the old one may go at once.
    return ReplaceOwned(FSelectionPattern, std::move(V));
}

std::unique_ptr<TMapToolsManager>
TChartix::SetMapToolsManager(std::unique_ptr<TMapToolsManager> V) {
    if (!V) V = std::make_unique<TMapToolsManager>();
    std::unique_ptr<TMapToolsManager> Old = ReplaceOwned(FMapToolsManager, std::move(V));
    for (TCustomMapTool* Tool : *Old)
        Tool->MapDestroyed();
    Old->Clear();
    for (TCustomMapTool* Tool : *FMapToolsManager)
        Tool->MapAcquired(this);
    return Old;
}

std::unique_ptr<TChartixOptions> TChartix::SetOptions(std::unique_ptr<TChartixOptions> V) {
    if (!V) V = std::make_unique<TChartixOptions>();
    return ReplaceOwned(FOptions, std::move(V)); // objects copy options, nothing refers to them
}

void TChartix::SetEasyDraw(bool V) {
    FEasyDraw = V;
    DoUpdate(true);
}

void TChartix::SetUseGeneralization(bool V) {
    if (V == FUseGeneralization) return;
    FUseGeneralization = V;
    DoUpdate(true);
}

void TChartix::SetGeneralizationLevel(int V) {
    if (V == FGeneralizationLevel) return;
    FGeneralizationLevel = V;
    DoUpdate(true);
}

void TChartix::SetShowSelection(bool V) {
    if (V == FShowSelection) return;
    FShowSelection = V;
    DoUpdate(true);
}

void TChartix::SetFastSelection(bool V) {
    if (V == FFastSelection) return;
    FFastSelection = V;
    DoUpdate(true);
}

// --- view transform ---------------------------------------------------------------

double TChartix::NewScale() const {
    // The world extent must not be degenerate; the framework raises its
    // floating-point error here rather than producing infinities.
    if (FMaxX == FMinX || FMaxY == FMinY) throw EZeroDivide("Floating point division by zero");
    // One scale for both axes: the map is never stretched, and MinY/MaxY
    // only have to differ.
    const int W = ClientWidth();
    FScaleMemo = TScaleMemo{W, FMinX, FMaxX, FMinY, FMaxY, FZoom, W / (FMaxX - FMinX) * FZoom};
    return FScaleMemo.K;
}

void TChartix::ScreenToMap(int X, int Y, double& MX, double& MY) const {
    double K = Scale();
    if (K == 0) throw EZeroDivide("Floating point division by zero"); // a control of no width
    MX = FCenterX + (X - ClientWidth() / 2.0) / K;
    MY = FCenterY + (ClientHeight() / 2.0 - Y) / K;
}

namespace {

// Rounds half to even into a 32-bit integer; false when it does not fit.
bool RoundToInt(double V, std::int32_t& Out) {
    const double R = RoundHalfEven(V);
    if (!(R >= -2147483648.0 && R <= 2147483647.0)) return false;
    Out = static_cast<std::int32_t>(R);
    return true;
}

} // namespace

void TChartix::ZeroScale() {
    throw EZeroDivide("Floating point division by zero");
}

void TChartix::MapToScreenClipped(double MX, double MY, int& X, int& Y) const {
    // The errors of ScreenToMap, which the view's edges below come from.
    const double K = Scale();
    if (K == 0) ZeroScale();
    try {
        const double SX = ClientWidth() / 2.0 + (MX - FCenterX) * K;
        const double SY = ClientHeight() / 2.0 - (MY - FCenterY) * K;
        double Left, Top, Right, Bottom;
        ScreenToMap(0, 0, Left, Top);
        ScreenToMap(ClientWidth(), ClientHeight(), Right, Bottom);
        std::int32_t RX, RY;
        if (MX < Left)
            RX = -1;
        else if (MX > Right)
            RX = ClientWidth();
        else if (!RoundToInt(SX, RX))
            throw ERangeError("Range check error");
        if (MY > Top)
            RY = -1;
        else if (MY < Bottom)
            RY = ClientHeight();
        else if (!RoundToInt(SY, RY))
            throw ERangeError("Range check error");
        X = RX;
        Y = RY;
    } catch (const Exception&) {
        X = 0;
        Y = 0;
    }
}

TBounds TChartix::GetViewBounds() const {
    TBounds B;
    ScreenToMap(0, 0, B.MinX, B.MaxY);
    ScreenToMap(ClientWidth(), ClientHeight(), B.MaxX, B.MinY);
    return B;
}

void WidenByObject(TBounds& B, const TCustomMapObject& Obj) {
    TBounds O = Obj.GetBounds();
    if (const TMapPoint* P = Obj.SinglePoint()) O = TBounds{P->X, P->Y, P->X, P->Y};
    B.MaxX = std::max(B.MaxX, O.MaxX);
    B.MaxY = std::max(B.MaxY, O.MaxY);
    B.MinX = std::min(B.MinX, O.MinX);
    B.MinY = std::min(B.MinY, O.MinY);
}

void TChartix::ZoomToExtent(const TBounds& B) {
    // Empty bounds (objects without geometry alone) leave the view as it is.
    if (B.MinX > B.MaxX || B.MinY > B.MaxY) return;
    TUpdateBatch Batch(*this);
    SetCenterX(B.MinX + (B.MaxX - B.MinX) / 2);
    SetCenterY(B.MinY + (B.MaxY - B.MinY) / 2);
    if (B.MaxX - B.MinX > 0 && B.MaxY - B.MinY > 0)
        SetZoom(std::abs(
            std::max((FMaxY - FMinY) / (B.MaxY - B.MinY), (FMaxX - FMinX) / (B.MaxX - B.MinX))));
}

void TChartix::SetCoordSys(const std::string& Definition) {
    if (Definition == FCoordSys) return;
    const std::string Old = std::exchange(FCoordSys, Definition);
    const TCoordinateSystems* Systems = Definition.empty() ? nullptr : CoordinateSystems();
    if (!Systems || Systems->ToWkt(Definition).empty()) return;
    TUpdateBatch Batch(*this);
    // The view shows the same place, as wide on the ground, in the new numbers.
    std::string Error;
    if (!Old.empty() && FZoom != 0)
        if (auto T = Systems->Transform(Old, Definition, Error)) {
            const double HalfWidth = (FMaxX - FMinX) / FZoom / 2;
            double X[2] = {FCenterX, FCenterX + HalfWidth}, Y[2] = {FCenterY, FCenterY};
            const double NewHalf = T->Transform(X, Y, 2) ? std::hypot(X[1] - X[0], Y[1] - Y[0]) : 0;
            if (NewHalf > 0 && std::isfinite(NewHalf)) {
                SetCenterX(X[0]);
                SetCenterY(Y[0]);
                SetZoom(FZoom * std::abs(HalfWidth) / NewHalf);
            }
        }
    for (TMapLayer* Layer : *FLayers) {
        const std::string& Own = Layer->CoordSys();
        if (Own.empty() || Systems->ToWkt(Own).empty() || Systems->Same(Own, Definition)) continue;
        if (!Layer->Reproject(Definition, Error))
            Trace("Layer \"%s\" keeps its coordinate system: %s", Layer->Name(), Error);
    }
}

TBounds TChartix::DataExtent() const {
    TBounds B;
    for (int L = 0; L < FLayers->Count(); ++L) {
        const TMapLayer* Layer = FLayers->GetLayer(L);
        for (int I = 0; I < Layer->ObjectCount(); ++I) {
            const TCustomMapObject* Obj = Layer->Objects(I);
            if (Obj->HasPoints()) WidenByObject(B, *Obj);
        }
    }
    return B;
}

// Zoom 1 puts the world extent's width across the client width, so the
// fitting zoom is the smaller of what the width and the height allow.
void TChartix::FitView(double Margin) {
    const TBounds B = DataExtent();
    if (B.MinX > B.MaxX || ClientWidth() <= 0) return;
    const double W = B.MaxX - B.MinX, H = B.MaxY - B.MinY;
    const double WorldW = FMaxX - FMinX;
    const double Aspect = static_cast<double>(ClientHeight()) / ClientWidth();
    TUpdateBatch Batch(*this);
    SetCenterX(B.MinX + W / 2);
    SetCenterY(B.MinY + H / 2);
    double Zoom = 0;
    if (W > 0 && H > 0)
        Zoom = std::min(WorldW / W, WorldW * Aspect / H);
    else if (W > 0)
        Zoom = WorldW / W;
    else if (H > 0)
        Zoom = WorldW * Aspect / H;
    if (Zoom > 0 && std::isfinite(Zoom) && Margin > 0) SetZoom(Zoom / Margin);
}

// --- rotation ------------------------------------------------------------------------

double TChartix::RotateX(double X, double Y) const {
    return (X - FRotationCenterX) * FCosF - (Y - FRotationCenterY) * FSinF + FRotationCenterX;
}

double TChartix::RotateY(double X, double Y) const {
    return (X - FRotationCenterX) * FSinF + (Y - FRotationCenterY) * FCosF + FRotationCenterY;
}

double TChartix::UnRotateX(double X, double Y) const {
    return (X - FRotationCenterX) * FCosI - (Y - FRotationCenterY) * FSinI + FRotationCenterX;
}

double TChartix::UnRotateY(double X, double Y) const {
    return (X - FRotationCenterX) * FSinI + (Y - FRotationCenterY) * FCosI + FRotationCenterY;
}

void TChartix::RotatedToNormal(double X, double Y, double& NX, double& NY) const {
    if (GetisMapRotated()) {
        NX = UnRotateX(X, Y);
        NY = UnRotateY(X, Y);
    } else {
        NX = X;
        NY = Y;
    }
}

void TChartix::NormalToRotated(double X, double Y, double& RX, double& RY) const {
    if (GetisMapRotated()) {
        RX = RotateX(X, Y);
        RY = RotateY(X, Y);
    } else {
        RX = X;
        RY = Y;
    }
}

// Objects get their extents anew once their points have turned: drawing
// through the index and hit testing both go by the extents.
void TChartix::Rotate() {
    for (int L = 0; L < FLayers->Count(); ++L) {
        TMapLayer* Layer = FLayers->Get(L);
        for (int O = 0; O < Layer->ObjectCount(); ++O) {
            TCustomMapObject* Object = Layer->Objects(O);
            TParts& Parts = Object->Parts();
            for (int P = 0; P < Parts.Count(); ++P) {
                TMapPoints& Points = Parts.Items(P)->Points();
                for (TMapPoint& Pt : Points) {
                    double NX = RotateX(Pt.X, Pt.Y);
                    double NY = RotateY(Pt.X, Pt.Y);
                    Pt.X = NX;
                    Pt.Y = NY;
                    Pt.UpdateBounds(Points);
                }
            }
            Object->UpdateBounds();
        }
        Layer->IndexChanged();
    }
}

bool TChartix::UnRotate() {
    if (FRotationAngle == 0 && (FRotationCenterX == 0 || FRotationCenterY == 0)) return false;
    FSinF = FSinI;
    FCosF = FCosI;
    Rotate();
    FRotationAngle = 0;
    FRotationCenterX = 0;
    FRotationCenterY = 0;
    return true;
}

void TChartix::RotateMap(double X, double Y, double Angle) {
    if (Angle == FRotationAngle && X == FRotationCenterX && Y == FRotationCenterY) return;
    if (UnRotate() && Angle == 0) {
        DoUpdate(true);
        return;
    }
    FRotationAngle = Angle;
    FRotationCenterX = X;
    FRotationCenterY = Y;
    FSinF = std::sin(-Angle * M_PI / 180);
    FCosF = std::cos(-Angle * M_PI / 180);
    FSinI = std::sin(Angle * M_PI / 180);
    FCosI = std::cos(Angle * M_PI / 180);
    Rotate();
    DoUpdate(true);
}

// --- painting ---------------------------------------------------------------------------

TCanvas* TChartix::GetCanvas() const {
    return FIsBusy ? FMapBitmap->Canvas() : TCustomControl::Canvas();
}

void TChartix::EndUpdate(bool Redraw) {
    FInUpdate = false;
    if (Redraw) DoUpdate(true);
}

void TChartix::DoUpdate(bool) {
    FModified = true;
    if (!FInUpdate) Invalidate();
}

void TChartix::StartProgress(int Min, int Max, const std::string& Title) {
    if (OnStartProgress) OnStartProgress(this, Min, Max, Title);
}

void TChartix::ShowProgress(int Progress) {
    if (OnShowProgress) OnShowProgress(this, Progress);
}

void TChartix::StopProgress() {
    if (OnStopProgress) OnStopProgress(this);
}

void TChartix::Paint() {
    if (FFirstPaint) {
        FFirstPaint = false;
        TCustomControl::Canvas()->FillRect(ClientRect());
    }
    if (FInUpdate) return;
    if (FMapBitmap->Empty() || FModified) {
        PaintMapToBitmap();
        FModified = false;
    }
    PaintBitmapToMapCanvas();
}

void TChartix::PaintNow() {
    Paint();
    if (Host()) Host()->Present();
}

void TChartix::PaintMapToBitmap() {
    auto Start = std::chrono::steady_clock::now();
    FIsBusy = true;
    struct BusyGuard {
        bool& Flag;
        ~BusyGuard() { Flag = false; }
    } Guard{FIsBusy};

    FDisplayed->Clear();
    FLabelPlacer->Begin();
    // A rebuild that fails leaves no labels held back for the next one.
    struct PlacerGuard {
        TLabelPlacer& Placer;
        ~PlacerGuard() { Placer.Abandon(); }
    } Labels{*FLabelPlacer};
    FMapBitmap->SetSize(Width(), Height());
    TCanvas* MapCanvas = FMapBitmap->Canvas();
    // The option is read at each full repaint, on both canvases objects draw
    // on: the bitmap now, the window between repaints.
    MapCanvas->SetAntialiasing(FOptions->Antialiasing());
    if (TCanvas* Window = TCustomControl::Canvas())
        Window->SetAntialiasing(FOptions->Antialiasing());
    MapCanvas->Brush()->SetColor(Color());
    MapCanvas->FillRect(TRect{0, 0, Width(), Height()});

    TCanvas* C = GetCanvas();
    C->Pen()->SetMode(pmCopy);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(ClientRect());
    if (FLayers->Count() == 0) return;

    if (OnStartProgress) OnStartProgress(this, 0, FLayers->Count() - 1, "");
    FSubstrates->Paint();
    for (int I = 0; I < FLayers->Count(); ++I) {
        FLayers->Get(I)->Paint();
        if (OnShowProgress) OnShowProgress(this, I);
    }
    FLabelPlacer->Finish(*GetCanvas(), *FLayers);
    C = GetCanvas();
    C->Pen()->SetMode(pmCopy);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    if (OnStopProgress) OnStopProgress(this);
    if (OnUpdate) OnUpdate(this);
    auto Elapsed = std::chrono::steady_clock::now() - Start;
    if (OnPaint) OnPaint(this);
    FIsBusy = false;
    if (TraceEnabled()) {
        auto Ms = std::chrono::duration_cast<std::chrono::milliseconds>(Elapsed).count();
        Trace("DrawTime = %s",
              Format("%02d:%03d", static_cast<int>(Ms / 1000 % 60), static_cast<int>(Ms % 1000)));
    }
}

void TChartix::PaintBitmapToMapCanvas() {
    TCanvas* C = GetCanvas();
    C->Draw(0, 0, FMapBitmap.get());
    FSelection->Paint(); // the marks, in fast-selection mode
}

void TChartix::AssignToBitmap(TBitmap* Bitmap) {
    TBitmap Temp;
    Temp.SetSize(Width(), Height());
    Temp.Canvas()->CopyRect(TRect{0, 0, Width(), Height()}, FMapBitmap->Canvas(),
                            TRect{0, 0, Width(), Height()});
    Bitmap->Assign(&Temp);
}

void TChartix::SetBounds(int Left, int Top, int Width, int Height) {
    TCustomControl::SetBounds(Left, Top, Width, Height);
}

void TChartix::Resize() {
    TCustomControl::Resize();
    FModified = true;
}

// --- selection -------------------------------------------------------------------------

namespace {

// Layers whose objects a click can reach: selectable (so visible) and drawn
// at the current zoom, even before the repaint that follows a zoom arrives.
bool CanBeHit(const TMapLayer* Layer) {
    return Layer->Selectable() && Layer->ValidZoom();
}

} // namespace

bool TChartix::HitsObject(TCustomMapObject& Object, double X, double Y) const {
    if (!FPreciseHitTest) return Object.ContainsPoint(X, Y);
    const double K = Scale();
    return HitsPrecisely(Object, X, Y, K > 0 ? HitTolerancePixels / K : 0);
}

void TChartix::SelectObjectAt(double X, double Y, bool Single) {
    // An empty Displayed is no special case: a click on a map showing
    // nothing misses, and a miss clears the selection.
    const int Skip = std::max(0, FCtrlClickCount);
    const int Start = FLayers->Count() - 1 - Skip;
    if (TraceEnabled())
        Trace("Start Searching Object From Layer %s To Layer %s",
              Start >= 0 ? FLayers->Get(Start)->Name() : std::string(),
              FLayers->Count() > 0 ? FLayers->Get(0)->Name() : std::string());
    if (Skip > 0) FSelection->Clear();
    if (Start < 0) {
        FSelection->Clear();
        return;
    }
    for (int L = Start; L >= 0; --L) {
        TMapLayer* Layer = FLayers->Get(L);
        if (!CanBeHit(Layer)) continue;
        for (int I = FDisplayed->Count() - 1; I >= 0; --I) {
            TCustomMapObject* Obj = FDisplayed->Get(I);
            if (Obj->Layer() != Layer || !HitsObject(*Obj, X, Y)) continue;
            if (!Obj->GetSelected()) {
                FSelection->Add(Obj, Single);
            } else if (!Single) {
                FSelection->Remove(Obj); // a second additive click deselects
            } else {
                // A single click makes the selection this object alone.
                for (int S = FSelection->Count() - 1; S >= 0; --S)
                    if (S < FSelection->Count() && FSelection->Get(S) != Obj) FSelection->Delete(S);
            }
            if (FFastSelection && OnUpdate) OnUpdate(this);
            return;
        }
    }
    FSelection->Clear();
}

void TChartix::SelectObjectsAt(double X, double Y, bool ClearFirst) {
    StartProgress(0, 0, "");
    try {
        if (ClearFirst) FSelection->Clear();
        for (int L = FLayers->Count() - 1; L >= 0; --L) {
            TMapLayer* Layer = FLayers->Get(L);
            if (!CanBeHit(Layer)) continue;
            for (int I = FDisplayed->Count() - 1; I >= 0; --I) {
                if (I >= FDisplayed->Count()) continue; // a handler changed the picture
                TCustomMapObject* Obj = FDisplayed->Get(I);
                if (Obj->Layer() == Layer && HitsObject(*Obj, X, Y) && !Obj->GetSelected())
                    FSelection->Add(Obj, false);
            }
        }
        if (FFastSelection && OnUpdate) OnUpdate(this);
    } catch (...) {
        StopProgress(); // a progress display is never left open
        throw;
    }
    StopProgress();
}

// --- input --------------------------------------------------------------------------------

void TChartix::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    SetFocus();
    if (TCustomMapTool* Tool = FMapToolsManager->GetActiveMapTool())
        Tool->MouseDown(Button, Shift, X, Y);
}

void TChartix::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (TCustomMapTool* Tool = FMapToolsManager->GetActiveMapTool()) Tool->MouseMove(Shift, X, Y);
}

void TChartix::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (TCustomMapTool* Tool = FMapToolsManager->GetActiveMapTool())
        Tool->MouseUp(Button, Shift, X, Y);
}

void TChartix::DblClick() {
    TCustomControl::DblClick();
    SetFocus();
    if (TCustomMapTool* Tool = FMapToolsManager->GetActiveMapTool()) Tool->DblClick();
}

void TChartix::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    if (TCustomMapTool* Tool = FMapToolsManager->GetActiveMapTool()) Tool->KeyDown(Key, Shift);
    TCustomControl::KeyDown(Key, Shift);
}

void TChartix::KeyUp(std::uint16_t& Key, TShiftState Shift) {
    if (TCustomMapTool* Tool = FMapToolsManager->GetActiveMapTool()) Tool->KeyUp(Key, Shift);
    TCustomControl::KeyUp(Key, Shift);
}

void TChartix::KeyPress(char& Key) {
    if (TCustomMapTool* Tool = FMapToolsManager->GetActiveMapTool()) Tool->KeyPress(Key);
    TCustomControl::KeyPress(Key);
}

void TChartix::MouseWheel(TShiftState Shift, int Delta, int X, int Y) {
    TCustomControl::MouseWheel(Shift, Delta, X, Y);
    if (!FWheelMouse) return;
    TUpdateBatch Batch(*this);
    double AnchorX = 0, AnchorY = 0;
    if (FZoomType == wmAnchor) ScreenToMap(X, Y, AnchorX, AnchorY);
    if (FZoomType == wmCursor) {
        double MX, MY;
        ScreenToMap(X, Y, MX, MY);
        SetCenterX(MX);
        SetCenterY(MY);
    }
    if (FZoomType == wmSelected && FSelection->Count() > 0) {
        TBounds B = FSelection->Get(0)->GetBounds();
        SetCenterX(B.MinX + (B.MaxX - B.MinX) / 2);
        SetCenterY(B.MinY + (B.MaxY - B.MinY) / 2);
    }
    // Clamped to the zoom range, but never against the wheel: a zoom that
    // the application set beyond a bound stays until the wheel turns back.
    if (Delta > 0) {
        if (FZoom < FMaxZoom) SetZoom(std::min(FMaxZoom, FZoom * 2));
    } else {
        if (FZoom > FMinZoom) SetZoom(std::max(FMinZoom, FZoom / 2));
    }
    if (FZoomType == wmAnchor) {
        // Shift the view by what the zoom moved the anchor: the transform is
        // linear, so this holds when the map is rotated too.
        double NowX, NowY;
        ScreenToMap(X, Y, NowX, NowY);
        SetCenterX(FCenterX + AnchorX - NowX);
        SetCenterY(FCenterY + AnchorY - NowY);
    }
}

} // namespace Mapobjects
