#include "tools/DrawingTools.h"

#include "core/MapObjects.h"
#include "geodesy/GeoCircle.h"
#include "objects/Polys.h"
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "tools/RubberBand.h"

#include <memory>

namespace Mapobjects {

using namespace Platform;

bool HasEditableLayer(TChartix* Map) {
    return Map && Map->Layers().GetEditableLayer() != nullptr;
}

namespace {

// The editable layer of the tool's map when a drag really moved.
TMapLayer* DragTarget(TChartix* Map, const TRect& Drag) {
    if (!HasEditableLayer(Map)) return nullptr;
    if (Drag.Left == Drag.Right && Drag.Top == Drag.Bottom) return nullptr;
    return Map->Layers().GetEditableLayer();
}

TMapPoint ToMap(TChartix* Map, int X, int Y) {
    TMapPoint P;
    Map->ScreenToMap(X, Y, P.X, P.Y);
    return P;
}

// An inverting segment on Map's window, end pixel excluded.
void InvertedLine(TChartix* Map, TPoint From, TPoint To) {
    TRubberBandPen Pen(Map->Canvas());
    Map->Canvas()->MoveTo(From.X, From.Y);
    Map->Canvas()->LineTo(To.X, To.Y);
}

// One new part of Object holding a copy of each point.
template <class T> std::unique_ptr<T> WithOnePart(const TMapPoints& Points) {
    auto Object = std::make_unique<T>();
    TMapPoints& Part = Object->Parts().Add()->Points();
    for (const TMapPoint& P : Points)
        Part.Add(P);
    return Object;
}

} // namespace

// --- line and rectangle ------------------------------------------------------

TLineTool::TLineTool(TComponent* Owner) : TCustomPressMoveAndReleaseTool(Owner) {
    SetDisplayName("Line Tool");
    SetCursor(crCross);
}

void TLineTool::Draw() {
    if (Chartix())
        InvertedLine(Chartix(), TPoint{FDragRect.Left, FDragRect.Top},
                     TPoint{FDragRect.Right, FDragRect.Bottom});
}

bool TLineTool::Complete() {
    TChartix* Map = Chartix();
    TMapLayer* Layer = DragTarget(Map, FDragRect);
    if (!Layer) return false;
    TMapPoints Ends;
    Ends.Add(ToMap(Map, FDragRect.Left, FDragRect.Top));
    Ends.Add(ToMap(Map, FDragRect.Right, FDragRect.Bottom));
    Layer->AddObject(WithOnePart<TPolyline>(Ends), true);
    return true;
}

bool TLineTool::GetEnabled() const {
    return TCustomPressMoveAndReleaseTool::GetEnabled() && HasEditableLayer(Chartix());
}

TRectTool::TRectTool(TComponent* Owner) : TCustomRectTool(Owner) {
    SetDisplayName("Rectangle Tool");
    SetCursor(crCross);
}

bool TRectTool::Complete() {
    TChartix* Map = Chartix();
    TMapLayer* Layer = DragTarget(Map, FDragRect);
    if (!Layer) return false;
    auto Rect = std::make_unique<TRectangle>();
    const TMapPoint P0 = ToMap(Map, FDragRect.Left, FDragRect.Top);
    const TMapPoint P1 = ToMap(Map, FDragRect.Right, FDragRect.Bottom);
    Rect->SetX0(P0.X);
    Rect->SetY0(P0.Y);
    Rect->SetX1(P1.X);
    Rect->SetY1(P1.Y);
    Layer->AddObject(std::move(Rect), true);
    return true;
}

bool TRectTool::GetEnabled() const {
    return TCustomRectTool::GetEnabled() && HasEditableLayer(Chartix());
}

// --- vertex by vertex -----------------------------------------------------------

TCustomMultiPointTool::TCustomMultiPointTool(TComponent* Owner) : TCustomMapTool(Owner) {
    SetCursor(crCross);
}

// Swallowing is set after Complete, whose fresh start forgets any press to
// swallow: only the double click's own press is meant.
void TCustomMultiPointTool::DblClick() {
    Complete();
    FSkipNextPress = true;
}

void TCustomMultiPointTool::MouseDown(TMouseButton Button, TShiftState, int X, int Y) {
    TChartix* Map = Chartix();
    if (Button != mbLeft || !Map) return;
    if (FSkipNextPress) {
        FSkipNextPress = false;
        return;
    }
    if (FPoints.Count() == 0) {
        FFirstPoint = FPrevPoint = FCurPoint = TPoint{X, Y};
        FPoints.Add(ToMap(Map, X, Y));
        return;
    }
    // The moving segment up to here becomes the fixed edge. It ends at the
    // press, which is where the last move was unless none was reported
    // there. The rest of the figure (a region's closing edge) is drawn anew
    // for the new vertex count, so the next move erases exactly what is shown.
    HideFigure();
    const TPoint From = FPrevPoint, To{X, Y};
    FPrevPoint = FCurPoint = To;
    FPoints.Add(ToMap(Map, X, Y));
    InvertedLine(Map, From, To);
    Draw();
    FFigureShown = true;
}

void TCustomMultiPointTool::MouseMove(TShiftState, int X, int Y) {
    if (FPoints.Count() == 0) return;
    HideFigure();
    FCurPoint = TPoint{X, Y};
    Draw();
    FFigureShown = true;
}

// Drawing inverts: only a figure that is on the window may be drawn to
// erase it, else a cancelled or never drawn one would appear instead.
void TCustomMultiPointTool::HideFigure() {
    if (FFigureShown) Draw();
    FFigureShown = false;
}

bool TCustomMultiPointTool::Complete() {
    HideFigure();
    const bool Result = CreateObject();
    Init();
    return Result;
}

void TCustomMultiPointTool::Cancel() {
    HideFigure();
}

void TCustomMultiPointTool::Init() {
    TCustomMapTool::Init();
    Restart();
}

void TCustomMultiPointTool::Done() {
    TCustomMapTool::Done();
    Restart();
}

// The fixed edges were drawn with the inverting pen straight on the window;
// a figure finished or dropped has them repainted away.
void TCustomMultiPointTool::Restart() {
    if (FPoints.Count() > 0 && Chartix()) Chartix()->Invalidate();
    FFigureShown = false;
    FSkipNextPress = false;
    FPoints.Clear();
    FPoints.ShrinkToFit();
}

bool TCustomMultiPointTool::GetEnabled() const {
    return TCustomMapTool::GetEnabled() && HasEditableLayer(Chartix());
}

TPolylineTool::TPolylineTool(TComponent* Owner) : TCustomMultiPointTool(Owner) {
    SetDisplayName("Polyline Tool");
}

void TPolylineTool::Draw() {
    if (Chartix()) InvertedLine(Chartix(), FPrevPoint, FCurPoint);
}

bool TPolylineTool::CreateObject() {
    TChartix* Map = Chartix();
    if (!HasEditableLayer(Map) || FPoints.Count() < 2) return false;
    Map->Layers().GetEditableLayer()->AddObject(WithOnePart<TPolyline>(FPoints), true);
    return true;
}

TRegionTool::TRegionTool(TComponent* Owner) : TCustomMultiPointTool(Owner) {
    SetDisplayName("Region Tool");
}

void TRegionTool::Draw() {
    TChartix* Map = Chartix();
    if (!Map) return;
    TRubberBandPen Pen(Map->Canvas());
    TCanvas* C = Map->Canvas();
    C->MoveTo(FPrevPoint.X, FPrevPoint.Y);
    C->LineTo(FCurPoint.X, FCurPoint.Y);
    // With two vertices the closing edge would lie on the fixed one unless
    // the pointer has left its line in both directions.
    const int N = FPoints.Count();
    const bool Closing =
        N >= 3 || (N == 2 && FPrevPoint.X != FCurPoint.X && FPrevPoint.Y != FCurPoint.Y);
    if (Closing) C->LineTo(FFirstPoint.X, FFirstPoint.Y);
}

bool TRegionTool::CreateObject() {
    TChartix* Map = Chartix();
    if (!HasEditableLayer(Map) || FPoints.Count() < 3) return false;
    auto Region = WithOnePart<TRegion>(FPoints);
    Region->Parts().GetFirst()->Points().Add(FPoints.GetPoint(0)); // stored closed
    Map->Layers().GetEditableLayer()->AddObject(std::move(Region), true);
    return true;
}

// --- by a click ---------------------------------------------------------------

TSymbolTool::TSymbolTool(TComponent* Owner) : TCustomMapTool(Owner) {
    SetDisplayName("Symbol Tool");
    SetCursor(crCross);
}

void TSymbolTool::MouseDown(TMouseButton Button, TShiftState, int X, int Y) {
    if (Button != mbLeft) return;
    if (FSkipNextPress) {
        FSkipNextPress = false;
        return;
    }
    FClickPoint = TPoint{X, Y};
    Complete();
}

// The double click's own press is swallowed, so its first press is the only
// one that places an object: one object per double click.
void TSymbolTool::DblClick() {
    FSkipNextPress = true;
}

// A double click whose press never came (the tool switched in between) must
// not swallow the first click of the next activation.
void TSymbolTool::Init() {
    TCustomMapTool::Init();
    FSkipNextPress = false;
}

void TSymbolTool::Done() {
    TCustomMapTool::Done();
    FSkipNextPress = false;
}

TMapLayer* TSymbolTool::Target(double& MX, double& MY) const {
    TChartix* Map = Chartix();
    if (!HasEditableLayer(Map)) return nullptr;
    Map->ScreenToMap(FClickPoint.X, FClickPoint.Y, MX, MY);
    return Map->Layers().GetEditableLayer();
}

bool TSymbolTool::Complete() {
    double MX, MY;
    TMapLayer* Layer = Target(MX, MY);
    if (!Layer) return false;
    auto Symbol = std::make_unique<TSymbol>();
    Symbol->SetX(MX);
    Symbol->SetY(MY);
    const TChartixOptions& Options = Chartix()->Options();
    Symbol->SetShape(Options.DefaultSymbolShape());
    Symbol->Font()->Assign(Options.DefaultSymbolFont());
    Layer->AddObject(std::move(Symbol), true);
    return true;
}

bool TSymbolTool::GetEnabled() const {
    return TCustomMapTool::GetEnabled() && HasEditableLayer(Chartix());
}

TCircleTool::TCircleTool(TComponent* Owner) : TSymbolTool(Owner) {
    SetDisplayName("Circle Tool");
}

bool TCircleTool::Complete() {
    double MX, MY;
    TMapLayer* Layer = Target(MX, MY);
    if (!Layer) return false;
    auto Circle = std::make_unique<TGeoCircle>();
    Circle->SetCenterX(MX);
    Circle->SetCenterY(MY);
    Layer->AddObject(std::move(Circle), true);
    return true;
}

} // namespace Mapobjects
