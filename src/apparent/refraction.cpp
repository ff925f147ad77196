#include "apparent/refraction.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace {

constexpr double Degree = ERFA_DD2R;

struct ModelCoefficients {
    double a = 0, b = 0;
};

const ModelCoefficients& Coefficients() {
    static const ModelCoefficients c = [] {
        ModelCoefficients m;
        eraRefco(1010.0, 10.0, 0.5, 0.55, &m.a, &m.b);
        return m;
    }();
    return c;
}

// ERFA's model as eraAtioq applies it, Newton step included, for a true altitude above about 3
// degrees (it is zero at the zenith).
double HighModel(double h) {
    const ModelCoefficients& c = Coefficients();
    const double s = std::sin(h);
    const double tanZ = std::cos(h) / s;
    const double w = c.b * tanZ * tanZ;
    return (c.a + w) * tanZ / (1.0 + (c.a + 3.0 * w) / (s * s));
}

// Saemundsson: R = 1.02' cot(h + 10.3 / (h + 5.11)), h in degrees, true altitude. Finite for
// every altitude above -5.11 degrees; used only above the fade (about -1.8 degrees).
double LowModel(double h) {
    const double d = h / Degree;
    return 1.02 / 60.0 * Degree / std::tan((d + 10.3 / (d + 5.11)) * Degree);
}

double Unfaded(double h) {
    if (h >= 3.5 * Degree) return HighModel(h);
    if (h <= 2.5 * Degree) return LowModel(h);
    const double w = (h - 2.5 * Degree) / Degree;
    return w * HighModel(h) + (1 - w) * LowModel(h);
}

// The true altitude at which an object appears at -1 degree.
double FadeStart() {
    static const double start = [] {
        double low = -3 * Degree, high = -1 * Degree;
        for (int i = 0; i < 60; ++i) {
            const double mid = (low + high) / 2;
            (mid + LowModel(mid) < -Degree ? low : high) = mid;
        }
        return (low + high) / 2;
    }();
    return start;
}

} // namespace

double RefractionAt(double h) {
    if (!std::isfinite(h)) return 0;
    const double start = FadeStart();
    if (h >= start) return Unfaded(std::fmin(h, ERFA_DPI / 2));
    const double left = 1 - (start - h) / Degree;
    return left > 0 ? LowModel(start) * left : 0;
}
