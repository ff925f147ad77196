#pragma once

#include "sky/skystate.h"

// The program's pi and full turn, used as written rather than a library pi.
constexpr double PiValue = 3.14159265358979;
constexpr double TwoPiValue = 6.28318530717958;

double DegToRad(double degrees);
double RadToDeg(double radians);
// arctan(x / sqrt(1 - x * x)); at and beyond the ends of -1..1 it gives +-PiValue/2, the limit of
// the formula, instead of dividing by zero.
double ArcSine(double x);

void SetObserverPosition(SkyState& sky, double latitudeRad, double longitudeRad);
// ra is the hour count in the catalogue's unit (hours * PiValue / 180); dec in radians.
void SetTarget(SkyState& sky, double ra, double dec);
double ComputeHourAngle(const SkyState& sky);

// Refreshes the time values, the sidereal angle and the hour angle, stores them, and returns
// the altitude of the target in radians.
double TargetAltitude(SkyState& sky);
// Azimuth in radians, 0 <= A < 2 pi, north 0, east pi/2. Uses the altitude and hour angle left
// by the TargetAltitude call just before it.
double TargetAzimuth(SkyState& sky);
