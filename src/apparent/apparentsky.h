#pragma once

#include <erfa.h>

#include <array>

// The apparent topocentric place: where an object stands in the sky of one instant at one site,
// with precession and nutation (IAU 2006/2000A), the Sun's light deflection, annual and diurnal
// aberration and refraction, by ERFA. UT1 is taken as the civil UT and the pole as fixed; TT is
// UT plus the program's Delta T (see solarsystem/deltat.h). The site stands at sea level.
//
// The work is split as ERFA splits it: everything that depends on the instant and the site only
// is done once (MakeApparentSky), after which each object costs a few vector operations, two
// trigonometric functions and the refraction (ApparentHorizontal). Plain C++ with ERFA only.

struct ApparentSky {
    // False for an instant outside the years 1000..3000 (the span the Moon's and planets'
    // theories cover, and the one these places are checked over) or a site that is not finite.
    bool ok = false;
    // What it was made for.
    double daysUt = 0; // days from 2000-01-01 12:00 UT
    double latitude = 0;
    double longitude = 0;
    // ERFA's star-independent parameters; refraction is left to ApparentRefraction, so refa and
    // refb are zero.
    eraASTROM astrom{};
    double cosEral = 1, sinEral = 0; // of the local Earth rotation angle
};

ApparentSky MakeApparentSky(double daysFromJ2000Ut, double latitudeRad, double longitudeRad);

// The sky of a nearby instant (within about an hour) made from one already built: only the
// Earth's rotation is brought up to date, which costs a sine and a cosine instead of the whole
// sky. Precession, nutation and the Earth's velocity move by well under 0.1" in that time.
ApparentSky TurnedTo(const ApparentSky& sky, double daysFromJ2000Ut);

struct HorizontalPlace {
    double altitude = 0; // radians, refracted
    double azimuth = 0;  // radians, 0 <= A < 2 pi, north 0, east pi/2
};

// The apparent altitude and azimuth of a direction given by right ascension and declination in
// radians in the J2000 (ICRS) frame: a catalogue position, or the astrometric place of a body as
// seen from the site (PlaceBodyFromSite). A sky that is not ok gives altitude and azimuth 0.
HorizontalPlace ApparentHorizontal(const ApparentSky& sky, double raRad, double decRad);

// The same for a direction given as a vector in the J2000 (ICRS) axes (any length but zero).
HorizontalPlace ApparentHorizontal(const ApparentSky& sky, const double direction[3]);

// The skies of the last few instants asked for, so that a caller that goes through many objects
// at few instants in any order (the print-out: one object over all its steps, then the next)
// builds each sky once.
class ApparentSkyCache {
public:
    const ApparentSky& At(double daysFromJ2000Ut, double latitudeRad, double longitudeRad);

private:
    static constexpr int Size = 64;
    std::array<ApparentSky, Size> skies_{};
    std::array<bool, Size> filled_{};
    int newest_ = -1;
};
