#include "geodesy/GeoCircle.h"

#include "core/MapObjects.h"
#include "geodesy/GaussKruger.h"
#include "platform/Canvas.h"

#include <cmath>

namespace Mapobjects {

TGeoCircle::TGeoCircle() {
    GeneratePoints();
}

void TGeoCircle::SetCenterX(double V) {
    FCenterX = V;
    GeneratePoints();
}

void TGeoCircle::SetCenterY(double V) {
    FCenterY = V;
    GeneratePoints();
}

void TGeoCircle::SetRadius(double V) {
    FRadius = V;
    GeneratePoints();
}

void TGeoCircle::SetPieCount(std::int32_t V) {
    FPieCount = V;
    GeneratePoints();
}

void TGeoCircle::GeneratePoints() {
    Parts().Clear();
    // The extent is the new ring's own: a moved or shrunk circle must not
    // keep being hit (regions are hit by their box) where it used to be.
    Parts().ResetBounds();
    TMapPoints& Ring = Parts().Add()->Points();
    if (FPieCount <= 0) return;

    double X0, Y0;
    BL2XY(FCenterY, FCenterX, X0, Y0, 0);
    // Every point is read back in the centre's zone: a wide circle near the
    // zone's edge has eastings past its million, which would otherwise be
    // read as offsets in the neighbouring zone, a thousand kilometres away.
    const double Zone = std::floor(Y0 / 1000000);
    const double Step = 360.0 / FPieCount;
    constexpr double Pi = 3.141592653589793;
    for (std::int32_t I = 1; I <= FPieCount; ++I) {
        // A bearing clockwise from north: cos to the northing, sin to the
        // easting.
        const double A = Pi * (I * Step) / 180;
        double B, L;
        const double PY = Y0 + FRadius * std::sin(A);
        // Exact: both are whole multiples of PY's last digit.
        XY2BLInZone(X0 + FRadius * std::cos(A), Zone, PY - Zone * 1000000, B, L);
        if (L > 180) L -= 360;
        Ring.Add(L, B);
    }
    const TMapPoint First = Ring.GetPoint(0);
    Ring.Add(First);
}

} // namespace Mapobjects

namespace Geocircle {

using namespace Mapobjects;

TGeoCircle::TGeoCircle() {
    TMapPoints& P = Parts().Add()->Points();
    P.Add(0, 0);
    P.Add(0, 1);
    P.Add(1, 1);
    P.Add(1, 0);
}

void TGeoCircle::SetRadius(double V) {
    FRadius = V;
    RecalculatePoints();
}

void TGeoCircle::SetY(double V) {
    FY = V;
    RecalculatePoints();
}

void TGeoCircle::SetX(double V) {
    FX = V;
    RecalculatePoints();
}

void TGeoCircle::RecalculatePoints() {
    constexpr double ArcSecond = 1.0 / 3600;
    double N1, E1, N2, E2, N3, E3;
    BL2XY(FY, FX, N1, E1, 0);
    BL2XY(FY + ArcSecond, FX, N2, E2, 0);
    BL2XY(FY, FX + ArcSecond, N3, E3, 0);
    // Metres per arc-second. The eastings carry their zone: across a zone
    // border dE takes in the zone step and the box all but closes in x.
    const double DN = std::fabs(N1 - N2);
    const double DE = std::fabs(E1 - E3);
    const double B = FRadius / DN / 3600;
    const double A = FRadius / DE / 3600;

    // The four corners are this object's own; an emptied geometry gets them
    // back rather than failing.
    if (Parts().Count() == 0) Parts().Add();
    TMapPoints& P = Parts().Items(0)->Points();
    while (P.Count() < 4)
        P.Add(0, 0);
    P.GetPoint(0) = {FX - A, FY - B};
    P.GetPoint(1) = {FX - A, FY + B};
    P.GetPoint(2) = {FX + A, FY + B};
    P.GetPoint(3) = {FX + A, FY - B};
    // Written in place, so the kept extent follows only by a recount.
    UpdateBounds();
}

void TGeoCircle::Draw() {
    TCustomMapObject::Draw();
    TChartix* M = Map();
    if (!M || Parts().Count() < 1) return;
    const TMapPoints& P = Parts().Items(0)->Points();
    if (P.Count() < 4) return;
    int X0, Y0, X2, Y2;
    M->MapToScreen(P.GetPoint(0).X, P.GetPoint(0).Y, X0, Y0, false);
    M->MapToScreen(P.GetPoint(2).X, P.GetPoint(2).Y, X2, Y2, false);
    M->GetCanvas()->Ellipse(X0, Y0, X2, Y2);
}

void TGeoCircle::DrawSelection() {
    // As every other kind: without ShowSelection the canvas is not set up
    // for the inverting highlight, and drawing would leave a plain ellipse.
    if (!Map() || !Map()->ShowSelection()) return;
    TCustomMapObject::DrawSelection();
    Draw();
}

bool TGeoCircle::ContainsPoint(double X, double Y) {
    if (Parts().Count() == 0) return false;
    const TMapPoints& P = Parts().Items(0)->Points();
    if (P.Count() < 4) return false;
    const TMapPoint& P0 = P.GetPoint(0);
    const TMapPoint& P2 = P.GetPoint(2);
    const double A = (P2.X - P0.X) / 2;
    const double B = (P2.Y - P0.Y) / 2;
    if (A == 0 || B == 0) return false;
    const double U = (X - P0.X - A) / A;
    const double V = (Y - P0.Y - B) / B;
    return U * U + V * V <= 1;
}

} // namespace Geocircle
