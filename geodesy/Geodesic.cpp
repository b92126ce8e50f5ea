#include "geodesy/Geodesic.h"

#include <cmath>
#include <numbers>

namespace Mapobjects {

namespace {

constexpr double Rad = std::numbers::pi / 180;

double GreatCircle(const TEllipsoid& E, double L1, double B1, double L2, double B2) {
    const double R = E.A * (1 - E.F / 3); // the mean radius (2a + b) / 3
    const double H = std::pow(std::sin((B2 - B1) / 2), 2) +
                     std::cos(B1) * std::cos(B2) * std::pow(std::sin((L2 - L1) / 2), 2);
    return 2 * R * std::asin(std::min(1.0, std::sqrt(H)));
}

} // namespace

double GeodesicDistance(const TEllipsoid& E, double Lon1, double Lat1, double Lon2, double Lat2) {
    const double L1 = Lon1 * Rad, B1 = Lat1 * Rad, L2 = Lon2 * Rad, B2 = Lat2 * Rad;
    const double A = E.A, F = E.F, B = A * (1 - F);
    const double L = std::remainder(L2 - L1, 2 * std::numbers::pi);
    const double U1 = std::atan((1 - F) * std::tan(B1)), U2 = std::atan((1 - F) * std::tan(B2));
    const double SinU1 = std::sin(U1), CosU1 = std::cos(U1);
    const double SinU2 = std::sin(U2), CosU2 = std::cos(U2);
    double Lambda = L, SinSigma = 0, CosSigma = 1, Sigma = 0, Cos2Alpha = 1, Cos2SigmaM = 0;
    for (int Step = 0; Step < 200; ++Step) {
        const double SinLambda = std::sin(Lambda), CosLambda = std::cos(Lambda);
        SinSigma = std::hypot(CosU2 * SinLambda, CosU1 * SinU2 - SinU1 * CosU2 * CosLambda);
        if (SinSigma == 0) return 0; // the same point
        CosSigma = SinU1 * SinU2 + CosU1 * CosU2 * CosLambda;
        Sigma = std::atan2(SinSigma, CosSigma);
        const double SinAlpha = CosU1 * CosU2 * SinLambda / SinSigma;
        Cos2Alpha = 1 - SinAlpha * SinAlpha;
        // On the equator the mid-point term is not defined and not needed.
        Cos2SigmaM = Cos2Alpha != 0 ? CosSigma - 2 * SinU1 * SinU2 / Cos2Alpha : 0;
        const double C = F / 16 * Cos2Alpha * (4 + F * (4 - 3 * Cos2Alpha));
        const double Previous = Lambda;
        Lambda =
            L + (1 - C) * F * SinAlpha *
                    (Sigma + C * SinSigma *
                                 (Cos2SigmaM + C * CosSigma * (-1 + 2 * Cos2SigmaM * Cos2SigmaM)));
        if (std::abs(Lambda - Previous) < 1e-12) {
            const double U2Sq = Cos2Alpha * (A * A - B * B) / (B * B);
            const double K1 = 1 + U2Sq / 16384 * (4096 + U2Sq * (-768 + U2Sq * (320 - 175 * U2Sq)));
            const double K2 = U2Sq / 1024 * (256 + U2Sq * (-128 + U2Sq * (74 - 47 * U2Sq)));
            const double DeltaSigma =
                K2 * SinSigma *
                (Cos2SigmaM + K2 / 4 *
                                  (CosSigma * (-1 + 2 * Cos2SigmaM * Cos2SigmaM) -
                                   K2 / 6 * Cos2SigmaM * (-3 + 4 * SinSigma * SinSigma) *
                                       (-3 + 4 * Cos2SigmaM * Cos2SigmaM)));
            return B * K1 * (Sigma - DeltaSigma);
        }
        if (std::abs(Lambda) > std::numbers::pi) break; // antipodal: it will not settle
    }
    return GreatCircle(E, L1, B1, L2, B2);
}

} // namespace Mapobjects
