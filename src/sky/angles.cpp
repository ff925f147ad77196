#include "sky/angles.h"

#include <cmath>

double DegToRad(double degrees) {
    return degrees * PiValue / 180;
}

double RadToDeg(double radians) {
    return radians * 180 / PiValue;
}

double ArcSine(double x) {
    // Exactly at the zenith or nadir (and past it through rounding) the quotient has no value;
    // the formula tends to +-PiValue/2 there.
    if (x >= 1) return PiValue / 2;
    if (x <= -1) return -PiValue / 2;
    if (std::isnan(x)) return 0;
    return std::atan(x / std::sqrt(1 - x * x));
}

double DegMinToRadians(std::int16_t whole, double minutes) {
    return (whole + minutes / 60.0) * 3.14159265358979 / 180.0;
}
