#pragma once

#include "solarsystem/body.h"

#include <array>

// Places of the Moon and the planets for the observing lists, from the analytical theories in
// ERFA. Positions are astrometric right ascension and declination in the J2000 (ICRS) frame, the
// frame of every catalogue position the program handles; nothing is precessed to the date.
// Plain C++ with ERFA only, so it can be used and tested without Qt.

const char* BodyName(Body body); // "Moon", "Mercury", ... "Neptune"

struct BodyPlace {
    bool inRange = false;           // false outside InErfaRange; then every other field is zero
    double rightAscension = 0;      // radians, J2000 (ICRS), 0..2pi
    double declination = 0;         // radians
    double magnitude = 0;           // visual
    double illuminatedFraction = 0; // 0..1
    double diameterArcsec = 0;      // apparent equatorial diameter
    double distanceAu = 0;          // from the observer (geocentre, or topocentre for the Moon)
};

// daysFromJ2000Ut: days (with fraction) from 2000-01-01 12:00:00 UT to the instant (UT).
// latitude/longitude: the observing site in radians, north and east positive (height 0).
// Only the Moon depends on the site (and is left unplaced for a site that is not finite); the
// planets are placed from the Earth's centre.
BodyPlace PlaceBody(Body body, double daysFromJ2000Ut, double latitudeRad, double longitudeRad);

// Every body for one instant, indexed by Body; shares the Earth's position between them.
std::array<BodyPlace, BodyCount> PlaceAllBodies(double daysFromJ2000Ut, double latitudeRad,
                                                double longitudeRad);

// For the apparent place (apparent/apparentsky.h): every body as seen from the site, where it
// stood when the light now arriving there left it, with the light time reckoned as the aberration
// applied afterwards expects it. The direction is astrometric, in the J2000 (ICRS) axes; the other
// fields as for PlaceBody. Unplaced for a site that is not finite.
BodyPlace PlaceBodyFromSite(Body body, double daysFromJ2000Ut, double latitudeRad,
                            double longitudeRad);
std::array<BodyPlace, BodyCount> PlaceAllBodiesFromSite(double daysFromJ2000Ut, double latitudeRad,
                                                        double longitudeRad);

// The Moon as seen from the Earth's centre (no parallax).
BodyPlace PlaceMoonGeocentric(double daysFromJ2000Ut);

// The Sun from the Earth's centre, same frame and conventions.
BodyPlace PlaceSun(double daysFromJ2000Ut);

// True when the instant is finite and within the years 1000..3000 on some civil clock (UTC-12 to
// UTC+14); whether it is within them on the site's own clock is the caller's to ask.
bool InErfaRange(double daysFromJ2000Ut);
