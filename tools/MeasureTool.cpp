#include "tools/MeasureTool.h"

#include "core/MapObjects.h"
#include "tools/RubberBand.h"

#include <cmath>

namespace Mapobjects {

using namespace Platform;

TMeasureTool::TMeasureTool(TComponent* Owner) : TCustomMultiPointTool(Owner) {
    SetDisplayName("Measure Tool");
}

double TMeasureTool::Length(const TEllipsoid& E, const TMapPoint& A, const TMapPoint& B) const {
    if (FGeographic) return GeodesicDistance(E, A.X, A.Y, B.X, B.Y);
    return std::hypot(B.X - A.X, B.Y - A.Y);
}

double TMeasureTool::LastLeg(const TEllipsoid& E) const {
    if (!FPointerShown || FPoints.Count() == 0) return 0;
    return Length(E, FPoints.GetPoint(FPoints.Count() - 1), FPointer);
}

double TMeasureTool::Total(const TEllipsoid& E) const {
    double Sum = LastLeg(E);
    for (int I = 1; I < FPoints.Count(); ++I)
        Sum += Length(E, FPoints.GetPoint(I - 1), FPoints.GetPoint(I));
    return Sum;
}

void TMeasureTool::Measure(int X, int Y) {
    TChartix* Map = Chartix();
    FPointerShown = Map != nullptr;
    if (Map) Map->ScreenToMap(X, Y, FPointer.X, FPointer.Y);
    if (OnMeasure) OnMeasure(*this);
}

void TMeasureTool::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const int Before = FPoints.Count();
    TCustomMultiPointTool::MouseDown(Button, Shift, X, Y);
    if (FPoints.Count() != Before) Measure(X, Y);
}

void TMeasureTool::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomMultiPointTool::MouseMove(Shift, X, Y);
    if (FPoints.Count() > 0) Measure(X, Y);
}

bool TMeasureTool::Complete() {
    // The path's last report is its fixed legs; then the tool starts afresh.
    FPointerShown = false;
    if (FPoints.Count() > 1 && OnMeasure) OnMeasure(*this);
    TCustomMultiPointTool::Complete();
    return false; // nothing was added
}

void TMeasureTool::Draw() {
    TChartix* Map = Chartix();
    if (!Map) return;
    TRubberBandPen Pen(Map->Canvas());
    Map->Canvas()->MoveTo(FPrevPoint.X, FPrevPoint.Y);
    Map->Canvas()->LineTo(FCurPoint.X, FCurPoint.Y);
}

bool TMeasureTool::GetEnabled() const {
    return TCustomMapTool::GetEnabled();
}

} // namespace Mapobjects
