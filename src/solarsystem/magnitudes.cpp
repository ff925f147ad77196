#include "solarsystem/magnitudes.h"

#include "solarsystem/deltat.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <initializer_list>

namespace {

constexpr double DegPerRad = 180.0 / ERFA_DPI;
constexpr double MoonMeanDistanceAu = 384400e3 / ERFA_DAU;

double Dot(const double a[3], const double b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
double Norm(const double a[3]) {
    return std::sqrt(Dot(a, a));
}

// Sine of the latitude, on a body whose north pole is at (poleRaDeg, poleDecDeg), of the point
// that has the viewer overhead; toBody points from the viewer to the body.
double SubLatitudeSine(double poleRaDeg, double poleDecDeg, const double toBody[3]) {
    double pole[3];
    eraS2c(poleRaDeg / DegPerRad, poleDecDeg / DegPerRad, pole);
    return -Dot(pole, toBody) / Norm(toBody);
}

// Saturn with its rings; ringTiltSine is the sine of the rings' opening seen from the observer.
// Phase angles from the Earth stay below the formula's 6.5 degrees and the tilt below 27.
double Saturn(double alpha, double ringTiltSine) {
    return -8.914 - 1.825 * ringTiltSine + 0.026 * alpha -
           0.378 * ringTiltSine * std::exp(-2.25 * alpha);
}

// Uranus' polar regions are brighter than its equator: phi is the mean of the absolute
// latitudes (degrees) of the points under the Sun and under the observer.
double Uranus(double alpha, double phi) {
    return -7.110 - 8.4e-4 * phi + 6.587e-3 * alpha + 1.045e-4 * alpha * alpha;
}

// Neptune brightened by about 0.1 magnitude between 1980 and 2000.
double Neptune(double centuriesTt) {
    const double year = 2000 + 100 * centuriesTt;
    if (year <= 1980) return -6.89;
    if (year >= 2000) return -7.00;
    return -6.89 - 0.0055 * (year - 1980);
}

} // namespace

double PhaseAngle(const double fromSun[3], const double fromObserver[3]) {
    const double cross[3] = {fromSun[1] * fromObserver[2] - fromSun[2] * fromObserver[1],
                             fromSun[2] * fromObserver[0] - fromSun[0] * fromObserver[2],
                             fromSun[0] * fromObserver[1] - fromSun[1] * fromObserver[0]};
    return std::atan2(Norm(cross), Dot(fromSun, fromObserver));
}

double VisualMagnitude(Body body, const double fromSun[3], const double fromObserver[3],
                       double centuriesTt) {
    const double r = Norm(fromSun), d = Norm(fromObserver);
    const double a = PhaseAngle(fromSun, fromObserver) * DegPerRad;
    switch (body) {
    case Body::Moon:
        return -12.73 + 0.026 * a + 4e-9 * std::pow(a, 4) +
               5 * std::log10(r * d / MoonMeanDistanceAu);
    case Body::Mercury:
        return 5 * std::log10(r * d) + Poly(a, {-0.613, 6.3280e-2, -1.6336e-3, 3.3644e-5,
                                                -3.4265e-7, 1.6893e-9, -3.0334e-12});
    case Body::Venus:
        return 5 * std::log10(r * d) +
               (a < 163.7 ? Poly(a, {-4.384, -1.044e-3, 3.687e-4, -2.814e-6, 8.938e-9})
                          : Poly(a, {236.05828, -2.81914, 8.39034e-3}));
    case Body::Mars:
        return 5 * std::log10(r * d) + (a <= 50 ? Poly(a, {-1.601, 2.267e-2, -1.302e-4})
                                                : Poly(a, {-0.367, -0.02573, 3.445e-4}));
    case Body::Jupiter: // the Earth never sees Jupiter at a phase angle above 12 degrees
        return 5 * std::log10(r * d) + Poly(a, {-9.395, -3.7e-4, 6.16e-4});
    case Body::Saturn: {
        const double tilt = SubLatitudeSine(40.589 - 0.036 * centuriesTt,
                                            83.537 - 0.004 * centuriesTt, fromObserver);
        return 5 * std::log10(r * d) + Saturn(a, std::fabs(tilt));
    }
    case Body::Uranus: {
        const double underSun = std::asin(SubLatitudeSine(257.311, -15.175, fromSun));
        const double underObserver = std::asin(SubLatitudeSine(257.311, -15.175, fromObserver));
        const double phi = (std::fabs(underSun) + std::fabs(underObserver)) / 2 * DegPerRad;
        return 5 * std::log10(r * d) + Uranus(a, phi);
    }
    case Body::Neptune:
        return 5 * std::log10(r * d) + Neptune(centuriesTt);
    }
    return 0;
}
