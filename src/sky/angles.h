#pragma once

#include <cstdint>

// The program's pi and full turn, used as written rather than a library pi.
constexpr double PiValue = 3.14159265358979;
constexpr double TwoPiValue = 6.28318530717958;

double DegToRad(double degrees);
double RadToDeg(double radians);
// arctan(x / sqrt(1 - x * x)); at and beyond the ends of -1..1 it gives +-PiValue/2, the limit of
// the formula, instead of dividing by zero.
double ArcSine(double x);

// (whole + minutes / 60) in radians; the minutes are added even when whole is negative.
double DegMinToRadians(std::int16_t whole, double minutes);
