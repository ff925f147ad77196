#pragma once

// The Sun and the Moon seen from a site, for the night's events: apparent places of the date
// (precession and nutation applied, Greenwich apparent sidereal time), the Moon topocentric.
// UT1 is taken as UTC (under a second apart). Site latitude and longitude in radians.

// Altitude of the Sun's centre without refraction, radians.
double SunAltitude(double daysFromJ2000Ut, double latitude, double longitude);

// Altitude of the Moon's centre without refraction, and its apparent radius, radians.
struct MoonSight {
    double altitude = 0;
    double radius = 0;
};
MoonSight SeeMoon(double daysFromJ2000Ut, double latitude, double longitude);

// Refraction at the horizon, 34 minutes of arc: the Sun rises and sets when its centre stands
// at -(34' + 16') = -0 deg 50', the Moon when its upper limb touches the horizon.
constexpr double HorizonRefraction = 34.0 / 60.0 * 3.14159265358979323846 / 180.0;
constexpr double SunriseAltitude = -50.0 / 60.0 * 3.14159265358979323846 / 180.0;

// The Moon's altitude above the one it rises and sets at: positive while its upper limb, lifted
// by refraction, stands above the horizon.
double MoonAboveRising(double daysFromJ2000Ut, double latitude, double longitude);

struct MoonPhase {
    double illuminated = 0; // 0..1
    bool waxing = false;
};
MoonPhase MoonPhaseAt(double daysFromJ2000Ut);
