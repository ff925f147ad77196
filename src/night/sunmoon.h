#pragma once

#include <vector>

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

// The Sun and the Moon over a span of time, placed exactly once an hour and interpolated (three
// points, quadratic) in between: within a second of arc of the exact places, at a small part of
// their cost. Outside the span the nearest hours are extended.
class SunMoonTrack {
public:
    SunMoonTrack(double fromDays, double toDays, double latitude, double longitude);
    double sunAltitude(double days) const;
    double moonAboveRising(double days) const;
    // The Moon's upper limb, without refraction.
    double moonUpperLimb(double days) const { return moonAboveRising(days) - HorizonRefraction; }

    // Right ascension of the date less the equation of the equinoxes (so that the mean sidereal
    // time gives the hour angle), declination, apparent radius; radians.
    struct Node {
        double ra = 0, dec = 0, radius = 0;
    };

private:
    Node at(const std::vector<Node>& nodes, double days) const;
    double altitude(const Node& place, double days) const;

    double from_, latitude_, longitude_;
    std::vector<Node> sun_, moon_;
};

struct MoonPhase {
    double illuminated = 0; // 0..1
    bool waxing = false;
};
MoonPhase MoonPhaseAt(double daysFromJ2000Ut);
