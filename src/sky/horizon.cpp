#include "sky/horizon.h"

#include "sky/coordinates.h"

#include <cmath>

void BuildHorizonProfile(HorizonProfile& profile,
                         const std::array<std::int16_t, 8>& northToNorthWest) {
    for (int k = 0; k < 8; ++k) {
        const std::int16_t a = northToNorthWest[k];
        const std::int16_t b = northToNorthWest[(k + 1) % 8];
        const double step = double(std::int16_t(a - b)) / 45;
        // The value is carried from degree to degree by subtracting the step, so the rounding of
        // each entry follows the accumulated value, not a fresh interpolation.
        double v = a;
        for (int i = 45 * k; i <= 45 * k + 45; ++i) {
            profile[i] = std::int16_t(std::floor(v + 0.5));
            v -= step;
        }
    }
}

namespace {

// Nearest whole number, ties to the even one, whatever the floating-point rounding mode.
double RoundHalfEven(double x) {
    const double down = std::floor(x);
    const double diff = x - down;
    if (diff < 0.5) return down;
    if (diff > 0.5) return down + 1;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

} // namespace

double HorizonAltitudeAt(const HorizonProfile& profile, double azRad) {
    double d = RoundHalfEven(RadToDeg(azRad));
    // Azimuths of the position code never leave 0..360; anything else is kept inside the table.
    if (!(d >= 0)) d = 0;
    if (d > 360) d = 360;
    return DegToRad(profile[std::size_t(d)]);
}

bool IsInView(const HorizonProfile& profile, double altRad, double azRad) {
    return HorizonAltitudeAt(profile, azRad) < altRad;
}
