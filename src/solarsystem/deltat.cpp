#include "solarsystem/deltat.h"

#include <initializer_list>

namespace {

// The long-term parabola, also the fallback outside the fitted years.
double LongTerm(double year) {
    const double u = (year - 1820) / 100;
    return -20 + 32 * u * u;
}

} // namespace

double DeltaTSeconds(double daysFromJ2000Ut) {
    const double y = 2000.0 + daysFromJ2000Ut / 365.25;
    if (y < 500 || y >= 2150) return LongTerm(y);
    if (y < 1600)
        return Poly((y - 1000) / 100,
                    {1574.2, -556.01, 71.23472, 0.319781, -0.8503463, -0.005050998, 0.0083572073});
    if (y < 1700) return Poly(y - 1600, {120, -0.9808, -0.01532, 1.0 / 7129});
    if (y < 1800) return Poly(y - 1700, {8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000});
    if (y < 1860)
        return Poly(y - 1800, {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272,
                               -0.0000001699, 0.000000000875});
    if (y < 1900)
        return Poly(y - 1860, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174});
    if (y < 1920) return Poly(y - 1900, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
    if (y < 1941) return Poly(y - 1920, {21.20, 0.84493, -0.076100, 0.0020936});
    if (y < 1961) return Poly(y - 1950, {29.07, 0.407, -1.0 / 233, 1.0 / 2547});
    if (y < 1986) return Poly(y - 1975, {45.45, 1.067, -1.0 / 260, -1.0 / 718});
    if (y < 2005)
        return Poly(y - 2000, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599});
    if (y < 2050) return Poly(y - 2000, {62.92, 0.32217, 0.005589});
    return LongTerm(y) - 0.5628 * (2150 - y);
}

double Poly(double x, std::initializer_list<double> coefficients) {
    double sum = 0, power = 1;
    for (double c : coefficients) {
        sum += c * power;
        power *= x;
    }
    return sum;
}
