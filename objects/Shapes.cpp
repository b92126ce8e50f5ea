#include "objects/Shapes.h"

#include "core/MapObjects.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace Mapobjects {

using namespace Platform;

// --- TCircle ------------------------------------------------------------------------------

TCircle::TCircle() {
    Parts().Add()->Points().Add(0, 0);
}

TMapPoint& TCircle::Centre() {
    if (Parts().Count() == 0) Parts().Add();
    TMapPoints& Pts = Parts().Items(0)->Points();
    if (Pts.Count() == 0) Pts.Add(0, 0);
    return Pts.GetPoint(0);
}

double TCircle::X() {
    return Centre().X;
}
double TCircle::Y() {
    return Centre().Y;
}

// The setters move the centre without touching the kept extent; UpdateBounds
// brings it up to date.
void TCircle::SetX(double Value) {
    if (Parts().Count() == 0) Parts().Add();
    TMapPoints& Pts = Parts().Items(0)->Points();
    if (Pts.Count() == 0)
        Pts.Add(Value, 0);
    else
        Pts.GetPoint(0).X = Value;
}

void TCircle::SetY(double Value) {
    if (Parts().Count() == 0) Parts().Add();
    TMapPoints& Pts = Parts().Items(0)->Points();
    if (Pts.Count() == 0)
        Pts.Add(0, Value);
    else
        Pts.GetPoint(0).Y = Value;
}

void TCircle::Draw() {
    TCustomMapObject::Draw();
    TChartix* M = Map();
    if (!M || Parts().Count() == 0) return;
    const double CX = X(), CY = Y();
    int SX, SY, EX, EY;
    M->MapToScreen(CX, CY, SX, SY, false);
    M->MapToScreen(CX + FRadius, CY, EX, EY, false);
    // The screen radius follows the zoom along the X axis.
    const int RS = EX - SX;
    M->Canvas()->Ellipse(SX - RS, SY - RS, SX + RS, SY + RS);
}

void TCircle::DrawSelection() {
    if (!Map() || !Map()->ShowSelection()) return;
    TCustomMapObject::DrawSelection();
    Draw();
}

bool TCircle::ContainsPoint(double PX, double PY) {
    const long double DX = static_cast<long double>(PX) - X();
    const long double DY = static_cast<long double>(PY) - Y();
    const long double R = FRadius;
    return DX * DX + DY * DY <= R * R;
}

bool TCircle::Contains(TCustomMapObject* Obj) {
    // One point of Obj in the disc is enough.
    return TCustomMapObject::Intersects(Obj);
}

bool TCircle::ContainsRect(double X1, double Y1, double X2, double Y2) {
    return ContainsPoint(X1, Y1) && ContainsPoint(X2, Y1) && ContainsPoint(X2, Y2) &&
           ContainsPoint(X1, Y2);
}

bool TCircle::Intersects(TCustomMapObject* Obj) {
    if (auto* Other = dynamic_cast<TCircle*>(Obj)) {
        const long double DX = static_cast<long double>(Other->X()) - X();
        const long double DY = static_cast<long double>(Other->Y()) - Y();
        // Circles that only touch do not intersect.
        return static_cast<long double>(FRadius) + Other->Radius() > std::sqrt(DX * DX + DY * DY);
    }
    return TCustomMapObject::Intersects(Obj);
}

bool TCircle::IntersectsRect(double X1, double Y1, double X2, double Y2) {
    // Only the corners count: a rectangle crossing or enclosing the circle
    // without a corner in it does not intersect.
    return ContainsPoint(X1, Y1) || ContainsPoint(X2, Y1) || ContainsPoint(X2, Y2) ||
           ContainsPoint(X1, Y2);
}

bool TCircle::WithinRect(double X1, double Y1, double X2, double Y2) {
    const double CX = X(), CY = Y(), R = FRadius;
    auto Inside = [&](double PX, double PY) { return X1 < PX && PX < X2 && Y1 < PY && PY < Y2; };
    return Inside(CX - R, CY - R) && Inside(CX + R, CY - R) && Inside(CX + R, CY + R) &&
           Inside(CX - R, CY + R);
}

// --- TRectangle ---------------------------------------------------------------------------

TRectangle::TRectangle() {
    TMapPoints& Pts = Parts().Add()->Points();
    Pts.Add(0, 0);
    Pts.Add(0, 0);
}

TMapPoint& TRectangle::Corner(int Index) {
    if (Parts().Count() == 0) Parts().Add();
    TMapPoints& Pts = Parts().Items(0)->Points();
    while (Pts.Count() < 2)
        Pts.Add(0, 0);
    return Pts.GetPoint(Index);
}

double TRectangle::X0() {
    const double A = Corner(0).X;
    return std::min(A, Corner(1).X);
}

double TRectangle::X1() {
    const double A = Corner(0).X;
    return std::max(A, Corner(1).X);
}

double TRectangle::Y0() {
    const double A = Corner(0).Y;
    return std::min(A, Corner(1).Y);
}

double TRectangle::Y1() {
    const double A = Corner(0).Y;
    return std::max(A, Corner(1).Y);
}

void TRectangle::SetX0(double V) {
    Corner(0).X = V;
}
void TRectangle::SetY0(double V) {
    Corner(0).Y = V;
}
void TRectangle::SetX1(double V) {
    Corner(1).X = V;
}
void TRectangle::SetY1(double V) {
    Corner(1).Y = V;
}

void TRectangle::SetCornerDiameter(double V) {
    FCornerDiameter = std::isfinite(V) && V > 0 ? V : 0;
}

void AddRoundRectOutline(TMapPoints& Points, double X0, double Y0, double X1, double Y1,
                         double Diameter) {
    if (X0 > X1) std::swap(X0, X1);
    if (Y0 > Y1) std::swap(Y0, Y1);
    const double RX = std::min(Diameter / 2, (X1 - X0) / 2);
    const double RY = std::min(Diameter / 2, (Y1 - Y0) / 2);
    constexpr int Steps = 44; // per quarter turn
    const struct {
        double CX, CY, From;
    } Arcs[] = {{X0 + RX, Y0 + RY, 180},
                {X1 - RX, Y0 + RY, 270},
                {X1 - RX, Y1 - RY, 0},
                {X0 + RX, Y1 - RY, 90}};
    Points.Reserve(Points.Count() + 4 * (Steps + 2) + 1);
    const int First = Points.Count();
    for (const auto& A : Arcs) {
        for (int I = 0; I <= Steps; ++I) {
            const double T = (A.From + 90.0 * I / Steps) * std::numbers::pi / 180;
            Points.Add(A.CX + RX * std::cos(T), A.CY + RY * std::sin(T));
        }
        const TMapPoint End = Points.GetPoint(Points.Count() - 1);
        Points.Add(End.X, End.Y);
    }
    const TMapPoint Start = Points.GetPoint(First);
    Points.Add(Start.X, Start.Y);
}

void TRectangle::Draw() {
    TCustomMapObject::Draw();
    TChartix* M = Map();
    if (!M || Parts().Count() == 0) return;
    if (FCornerDiameter > 0) return DrawRounded();
    int SX0, SY0, SX1, SY1;
    M->MapToScreen(X0(), Y0(), SX0, SY0, false);
    M->MapToScreen(X1(), Y1(), SX1, SY1, false);
    TCanvas* C = M->Canvas();
    if (UseBGColor()) {
        C->Pen()->SetStyle(psClear);
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(BGColor());
        C->Rectangle(SX0, SY0, SX1, SY1);
    }
    // Always the rectangle's own pen and brush: selection set-ups made by the
    // caller do not show on it.
    C->SetPen(ReadPen());
    C->SetBrush(ReadBrush());
    C->Rectangle(SX0, SY0, SX1, SY1);
}

void TRectangle::DrawRounded() {
    TChartix* M = Map();
    TMapPoints Outline;
    AddRoundRectOutline(Outline, X0(), Y0(), X1(), Y1(), FCornerDiameter);
    std::vector<TPoint> Screen;
    Screen.reserve(static_cast<size_t>(Outline.Count()));
    for (const TMapPoint& P : Outline) {
        TPoint S;
        M->MapToScreen(P.X, P.Y, S.X, S.Y, false);
        // Many arc points fall on one pixel when the rounding is small on screen.
        if (Screen.empty() || S.X != Screen.back().X || S.Y != Screen.back().Y) Screen.push_back(S);
    }
    TCanvas* C = M->Canvas();
    const int N = static_cast<int>(Screen.size());
    if (UseBGColor()) {
        C->Pen()->SetStyle(psClear);
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(BGColor());
        C->Polygon(Screen.data(), N);
    }
    C->SetPen(ReadPen());
    C->SetBrush(ReadBrush());
    C->Polygon(Screen.data(), N);
}

void TRectangle::DrawSelection() {
    if (!Map() || !Map()->ShowSelection()) return;
    TCustomMapObject::DrawSelection();
    Draw();
}

bool TRectangle::Contains(TCustomMapObject* Obj) {
    const TBounds B = Obj->GetBounds();
    return ContainsRect(B.MinX, B.MinY, B.MaxX, B.MaxY);
}

bool TRectangle::IntersectsRect(double X1, double Y1, double X2, double Y2) {
    return ContainsPoint(X1, Y1) || ContainsPoint(X2, Y1) || ContainsPoint(X2, Y2) ||
           ContainsPoint(X1, Y2);
}

} // namespace Mapobjects
