#include "geodesy/GaussKruger.h"

#include <cmath>

namespace Mapobjects {

namespace {

constexpr double Pi = 3.141592653589793;

// 6° in radians, a hair over the true value: a longitude exactly on a zone
// border (36°, say) falls into the western zone.
constexpr double ZoneWidth = 0.10471975514357039;
// Added once to a negative longitude; a little over 2π, which moves western
// longitudes by a few millimetres.
constexpr double FullTurn = 6.283185308;

} // namespace

void BL2XY(double B, double L, double& X, double& Y, std::int32_t ZoneShift) {
    const double Phi = B * Pi / 180;
    double Lambda = L * Pi / 180;
    if (Lambda < 0) Lambda += FullTurn;

    const double N0 = std::floor(Lambda / ZoneWidth); // zero-based zone of the longitude
    const double P = ZoneShift;
    const double l = Lambda - (N0 - P) * ZoneWidth - ZoneWidth / 2;
    const double l2 = l * l;

    const double SinPhi = std::sin(Phi);
    const double CosPhi = std::cos(Phi);
    const double c2 = CosPhi * CosPhi;
    const double a0 = 32140.404 - (135.3302 - (0.7092 - 0.004 * c2) * c2) * c2;
    const double a3 = (0.333333 + 0.001123 * c2) * c2 - 0.166667;
    const double a4 = (0.25 + 0.00252 * c2) * c2 - 0.04166;
    const double a5 = 0.0083 - (0.1667 - (0.1968 + 0.004 * c2) * c2) * c2;
    const double a6 = (0.166 * c2 - 0.084) * c2;
    // Radius of curvature in the prime vertical.
    const double N = 6399698.902 - (21562.267 - (108.973 - 0.612 * c2) * c2) * c2;

    X = 6367558.4969 * Phi - (a0 - (0.5 + (a4 + a6 * l2) * l2) * l2 * N) * SinPhi * CosPhi;
    const double y = (1 + (a3 + a5 * l2) * l2) * l * N * CosPhi;
    Y = y + (N0 + 1 - P) * 1000000 + 500000;
}

namespace {

// The inverse series for the zone number Zone and the offset q from its
// central meridian in thousands of kilometres.
void InverseSeries(double X, double Zone, double q, double& B, double& L) {
    // The inverse's arc factor is a single-precision number; 6367558.5 is
    // exact in one, so the float spells where it came from and loses nothing.
    constexpr double ArcFactor = static_cast<double>(6367558.5f);
    const double Beta = X / ArcFactor;

    const double L0 = (Zone - 0.5) / 9.5492966; // central meridian, radians

    // Footpoint latitude.
    const double SinBeta = std::sin(Beta);
    const double CosBeta = std::cos(Beta);
    const double cb2 = CosBeta * CosBeta;
    const double Bx = Beta + (502217 + (2936 + 24 * cb2) * cb2) * SinBeta * CosBeta * 1e-8;

    const double SinBx = std::sin(Bx);
    const double CosBx = std::cos(Bx);
    const double c2 = CosBx * CosBx;
    // The offset over N = c / sqrt(1 + e'^2 cos^2 Bx) and over cos Bx, with c
    // in thousands of kilometres like q.
    const double z = q * std::sqrt(1 + 0.00673853 * c2) / (6.3996989 * CosBx);
    const double z2 = z * z;

    const double b2 = (0.5 + 0.00337 * c2) * SinBx * CosBx;
    const double b3 = 0.3333 - (0.1667 - 0.0011 * c2) * c2;
    const double b4 = 0.25 + 0.162 * c2;
    const double b5 = 0.2 - 0.17 * c2;

    const double Br = Bx - (1 - b4 * z2) * b2 * z2;
    const double l = (1 - (b3 - b5 * z2) * z2) * z;

    B = Br * 180 / Pi;
    L = (L0 + l) * 180 / Pi;
}

} // namespace

void XY2BL(double X, double Y, double& B, double& L) {
    // Whole metres of easting. Floored as a double rather than converted to
    // an integer, so an easting beyond any integer's range stays defined; the
    // remainder keeps the sign of the easting, as an integer mod would.
    const double Yi = std::floor(Y);
    const double Zone = std::floor(Y / 1000000);
    const double q = std::fmod(Yi, 1000000.0) / 1000000 - 0.5;
    InverseSeries(X, Zone, q, B, L);
}

void XY2BLInZone(double X, double Zone, double Easting, double& B, double& L) {
    InverseSeries(X, Zone, std::floor(Easting) / 1000000 - 0.5, B, L);
}

} // namespace Mapobjects
