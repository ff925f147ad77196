#include "night/sunmoon.h"

#include "solarsystem/deltat.h"
#include "solarsystem/solarsystem.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace {

// Altitude of a direction given as astrometric J2000 right ascension and declination.
double AltitudeOfDate(double ra, double dec, double daysUt, double latitude, double longitude) {
    double j2000[3], ofDate[3], npb[3][3];
    eraS2c(ra, dec, j2000);
    eraPnm00b(ERFA_DJ00, TtDaysFromUt(daysUt), npb);
    eraRxp(npb, j2000, ofDate);
    double raDate = 0, decDate = 0;
    eraC2s(ofDate, &raDate, &decDate);
    const double hourAngle = eraGst00b(ERFA_DJ00, daysUt) + longitude - raDate;
    const double sinAlt = std::sin(decDate) * std::sin(latitude) +
                          std::cos(decDate) * std::cos(latitude) * std::cos(hourAngle);
    return std::asin(std::fmax(-1.0, std::fmin(1.0, sinAlt)));
}

} // namespace

double SunAltitude(double daysUt, double latitude, double longitude) {
    const BodyPlace sun = PlaceSun(daysUt);
    if (!sun.inRange) return std::nan("");
    return AltitudeOfDate(sun.rightAscension, sun.declination, daysUt, latitude, longitude);
}

MoonSight SeeMoon(double daysUt, double latitude, double longitude) {
    const BodyPlace moon = PlaceBody(Body::Moon, daysUt, latitude, longitude);
    if (!moon.inRange) return {std::nan(""), 0};
    return {AltitudeOfDate(moon.rightAscension, moon.declination, daysUt, latitude, longitude),
            moon.diameterArcsec / 2 * ERFA_DAS2R};
}

double MoonAboveRising(double daysUt, double latitude, double longitude) {
    const MoonSight moon = SeeMoon(daysUt, latitude, longitude);
    return moon.altitude + moon.radius + HorizonRefraction;
}

MoonPhase MoonPhaseAt(double daysUt) {
    const BodyPlace moon = PlaceMoonGeocentric(daysUt);
    const BodyPlace sun = PlaceSun(daysUt);
    // Waxing while the Moon stands less than half a turn east of the Sun, along the ecliptic.
    double m[3], s[3], eclM[3], eclS[3], r[3][3];
    eraS2c(moon.rightAscension, moon.declination, m);
    eraS2c(sun.rightAscension, sun.declination, s);
    eraEcm06(ERFA_DJ00, TtDaysFromUt(daysUt), r);
    eraRxp(r, m, eclM);
    eraRxp(r, s, eclS);
    const double elongation = eraAnp(std::atan2(eclM[1], eclM[0]) - std::atan2(eclS[1], eclS[0]));
    return {moon.illuminatedFraction, elongation < ERFA_DPI};
}
