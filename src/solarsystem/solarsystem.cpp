#include "solarsystem/solarsystem.h"

#include "solarsystem/deltat.h"
#include "solarsystem/magnitudes.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace {

constexpr double LightDaysPerAu = ERFA_AULT / ERFA_DAYSEC;
// Days from J2000 to 0h UT of 1 January of a year (Gregorian).
double NewYearDays(int year) {
    double jd0 = 0, jd1 = 0;
    eraCal2jd(year, 1, 1, &jd0, &jd1);
    return jd0 + jd1 - ERFA_DJ00;
}

// The years 1000 to 3000 on every civil clock: from 1 January 1000 at UTC+14 to the end of
// 31 December 3000 at UTC-12. The planetary theory is made for J2000 +- 1000 Julian years
// (999-12-25 to 3000-01-01); the year beyond its end costs it little.
const double FirstDay = NewYearDays(1000) - 14.0 / 24;
const double EndDay = NewYearDays(3001) + 12.0 / 24;

// Equatorial radii in km, indexed by Body.
constexpr double RadiusKm[BodyCount] = {1737.4, 2440.53, 6051.8, 3396.19,
                                        71492,  60268,   25559,  24764};
constexpr double SunRadiusKm = 695700;

const char* const Names[BodyCount] = {"Moon",    "Mercury", "Venus",  "Mars",
                                      "Jupiter", "Saturn",  "Uranus", "Neptune"};

// What all bodies of one instant share.
struct Instant {
    bool ok = false;
    double daysUt = 0, daysTt = 0;
    double earth[3] = {};         // heliocentric Earth, au
    double earthVelocity[3] = {}; // barycentric, au per day
};

void Subtract(const double a[3], const double b[3], double out[3]) {
    for (int i = 0; i < 3; ++i)
        out[i] = a[i] - b[i];
}

Instant MakeInstant(double daysUt) {
    Instant in;
    if (!InErfaRange(daysUt)) return in;
    in.daysUt = daysUt;
    in.daysTt = TtDaysFromUt(daysUt);
    double heliocentric[2][3], barycentric[2][3];
    // Status 1 only warns that the date is outside 1900..2100, where the series degrade slowly.
    if (eraEpv00(ERFA_DJ00, in.daysTt, heliocentric, barycentric) < 0) return in;
    eraCp(heliocentric[0], in.earth);
    eraCp(barycentric[1], in.earthVelocity);
    in.ok = true;
    return in;
}

// Callers often place the bodies one at a time for the same instant; the Earth is the costly
// part, so the last instant is kept.
const Instant& InstantAt(double daysUt) {
    thread_local Instant cached;
    thread_local double cachedDays = std::nan("");
    if (!(daysUt == cachedDays)) {
        cached = MakeInstant(daysUt);
        cachedDays = daysUt;
    }
    return cached;
}

// Direction, distance and apparent size of a body; toBody runs from the observer to it (au).
BodyPlace Describe(double toBody[3], double radiusKm) {
    BodyPlace place;
    double ra = 0, dec = 0;
    eraC2s(toBody, &ra, &dec);
    place.inRange = true;
    place.rightAscension = eraAnp(ra);
    place.declination = dec;
    place.distanceAu = eraPm(toBody);
    place.diameterArcsec =
        2 * std::asin(std::fmin(1.0, radiusKm * 1e3 / ERFA_DAU / place.distanceAu)) / ERFA_DAS2R;
    return place;
}

void SetPhase(BodyPlace& place, Body body, const double fromSun[3], const double fromObserver[3],
              double daysTt) {
    place.illuminatedFraction = (1 + std::cos(PhaseAngle(fromSun, fromObserver))) / 2;
    place.magnitude = VisualMagnitude(body, fromSun, fromObserver, daysTt / 36525);
}

// ERFA numbers the planets from Mercury = 1, with the Earth-Moon barycentre third.
int PlanetNumber(Body body) {
    const int index = static_cast<int>(body);
    return index < 3 ? index : index + 1;
}

// site: the observer's offset from the Earth's centre (zero for the geocentric place), au.
BodyPlace PlacePlanet(Body body, const Instant& in, const double site[3]) {
    double pv[2][3], fromObserver[3];
    double lightTime = 0;
    // The planet is seen where it stood when its light left; two corrections settle that time.
    for (int pass = 0; pass < 3; ++pass) {
        // Status 1 only says the date is more than a millennium from J2000.
        const int status = eraPlan94(ERFA_DJ00, in.daysTt - lightTime, PlanetNumber(body), pv);
        if (status != 0 && status != 1) return {};
        Subtract(pv[0], in.earth, fromObserver);
        Subtract(fromObserver, site, fromObserver);
        lightTime = eraPm(fromObserver) * LightDaysPerAu;
    }
    BodyPlace place = Describe(fromObserver, RadiusKm[static_cast<int>(body)]);
    SetPhase(place, body, pv[0], fromObserver, in.daysTt);
    return place;
}

// The site's offset from the Earth's centre in the GCRS, in au (polar motion neglected).
// The nutation model 2000B is ample: the offset only shifts the Moon, by up to a degree.
bool SiteOffset(const Instant& in, double latitude, double longitude, double site[3]) {
    double terrestrial[3];
    if (!std::isfinite(latitude) || !std::isfinite(longitude) ||
        eraGd2gc(ERFA_WGS84, longitude, latitude, 0, terrestrial) != 0)
        return false;
    double npb[3][3], polarMotion[3][3], celestialToTerrestrial[3][3];
    eraPnm00b(ERFA_DJ00, in.daysTt, npb);
    eraIr(polarMotion);
    eraC2teqx(npb, eraGst00b(ERFA_DJ00, in.daysUt), polarMotion, celestialToTerrestrial);
    eraTrxp(celestialToTerrestrial, terrestrial, site);
    eraSxp(1 / ERFA_DAU, site, site);
    return true;
}

// eraMoon98 gives the geocentric Moon in the GCRS; site is the observer's offset from the
// Earth's centre in the same frame.
BodyPlace PlaceMoonFrom(const Instant& in, const double site[3]) {
    double pv[2][3], fromObserver[3], fromSun[3];
    eraMoon98(ERFA_DJ00, in.daysTt, pv);
    Subtract(pv[0], site, fromObserver);
    for (int i = 0; i < 3; ++i)
        fromSun[i] = in.earth[i] + pv[0][i];
    BodyPlace place = Describe(fromObserver, RadiusKm[0]);
    SetPhase(place, Body::Moon, fromSun, fromObserver, in.daysTt);
    return place;
}

BodyPlace PlaceTopocentricMoon(const Instant& in, double latitude, double longitude) {
    double site[3];
    if (!in.ok || !SiteOffset(in, latitude, longitude, site)) return {};
    return PlaceMoonFrom(in, site);
}

// The Moon where it stood when the light now arriving left it, seen from the site, with the light
// time taken in the barycentric frame: the Earth's own motion during that time (about 20") is
// what the aberration applied afterwards undoes.
BodyPlace PlaceMoonWithLightTime(const Instant& in, const double site[3]) {
    double pv[2][3], fromObserver[3], fromSun[3];
    double lightTime = 0;
    for (int pass = 0; pass < 3; ++pass) {
        eraMoon98(ERFA_DJ00, in.daysTt - lightTime, pv);
        for (int i = 0; i < 3; ++i)
            fromObserver[i] = pv[0][i] - in.earthVelocity[i] * lightTime - site[i];
        lightTime = eraPm(fromObserver) * LightDaysPerAu;
    }
    for (int i = 0; i < 3; ++i)
        fromSun[i] = in.earth[i] + pv[0][i];
    BodyPlace place = Describe(fromObserver, RadiusKm[0]);
    SetPhase(place, Body::Moon, fromSun, fromObserver, in.daysTt);
    return place;
}

BodyPlace PlaceFromSite(Body body, const Instant& in, const double site[3]) {
    return body == Body::Moon ? PlaceMoonWithLightTime(in, site) : PlacePlanet(body, in, site);
}

constexpr double Geocentre[3] = {0, 0, 0};

} // namespace

const char* BodyName(Body body) {
    const int index = static_cast<int>(body);
    return index >= 0 && index < BodyCount ? Names[index] : "";
}

bool InErfaRange(double daysFromJ2000Ut) {
    return std::isfinite(daysFromJ2000Ut) && daysFromJ2000Ut >= FirstDay &&
           daysFromJ2000Ut < EndDay;
}

BodyPlace PlaceBody(Body body, double daysFromJ2000Ut, double latitudeRad, double longitudeRad) {
    const Instant& in = InstantAt(daysFromJ2000Ut);
    if (!in.ok) return {};
    if (body == Body::Moon) return PlaceTopocentricMoon(in, latitudeRad, longitudeRad);
    return PlacePlanet(body, in, Geocentre);
}

std::array<BodyPlace, BodyCount> PlaceAllBodies(double daysFromJ2000Ut, double latitudeRad,
                                                double longitudeRad) {
    std::array<BodyPlace, BodyCount> places{};
    const Instant& in = InstantAt(daysFromJ2000Ut);
    if (!in.ok) return places;
    places[0] = PlaceTopocentricMoon(in, latitudeRad, longitudeRad);
    for (int i = 1; i < BodyCount; ++i)
        places[i] = PlacePlanet(static_cast<Body>(i), in, Geocentre);
    return places;
}

BodyPlace PlaceBodyFromSite(Body body, double daysFromJ2000Ut, double latitudeRad,
                            double longitudeRad) {
    const Instant& in = InstantAt(daysFromJ2000Ut);
    double site[3];
    if (!in.ok || !SiteOffset(in, latitudeRad, longitudeRad, site)) return {};
    return PlaceFromSite(body, in, site);
}

std::array<BodyPlace, BodyCount> PlaceAllBodiesFromSite(double daysFromJ2000Ut, double latitudeRad,
                                                        double longitudeRad) {
    std::array<BodyPlace, BodyCount> places{};
    const Instant& in = InstantAt(daysFromJ2000Ut);
    double site[3];
    if (!in.ok || !SiteOffset(in, latitudeRad, longitudeRad, site)) return places;
    for (int i = 0; i < BodyCount; ++i)
        places[std::size_t(i)] = PlaceFromSite(static_cast<Body>(i), in, site);
    return places;
}

BodyPlace PlaceMoonGeocentric(double daysFromJ2000Ut) {
    const Instant& in = InstantAt(daysFromJ2000Ut);
    return in.ok ? PlaceMoonFrom(in, Geocentre) : BodyPlace{};
}

BodyPlace PlaceSun(double daysFromJ2000Ut) {
    const Instant& in = InstantAt(daysFromJ2000Ut);
    if (!in.ok) return {};
    double toSun[3];
    for (int i = 0; i < 3; ++i)
        toSun[i] = -in.earth[i];
    BodyPlace place = Describe(toSun, SunRadiusKm);
    place.illuminatedFraction = 1;
    place.magnitude = -26.74 + 5 * std::log10(place.distanceAu);
    return place;
}
