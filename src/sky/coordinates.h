#pragma once

#include "sky/angles.h"
#include "sky/skystate.h"

void SetObserverPosition(SkyState& sky, double latitudeRad, double longitudeRad);
// ra is the hour count in the catalogue's unit (hours * PiValue / 180); dec in radians.
void SetTarget(SkyState& sky, double ra, double dec);
double ComputeHourAngle(const SkyState& sky);

// Refreshes the time values, the sidereal angle and the hour angle, stores them, and returns
// the altitude of the target in radians. With Precise set (and an instant in 1000..3000) it is
// the apparent, refracted altitude, and the azimuth is computed with it.
double TargetAltitude(SkyState& sky);
// Azimuth in radians, 0 <= A < 2 pi, north 0, east pi/2. Uses the altitude and hour angle left
// by the TargetAltitude call just before it.
double TargetAzimuth(SkyState& sky);
