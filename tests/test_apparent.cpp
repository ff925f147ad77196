// Apparent places against published refraction tables, ERFA's one-shot chain eraAtco13 (none of
// the program's per-instant shortcuts) and places printed in Meeus, Astronomical Algorithms.

#include "apparent/apparentsky.h"
#include "apparent/refraction.h"
#include "solarsystem/deltat.h"
#include "solarsystem/solarsystem.h"

#include <erfam.h>

#include <cmath>
#include <cstdio>

namespace {

int failures = 0;

void Near(const char* what, double got, double want, double tolerance) {
    if (std::fabs(got - want) <= tolerance) return;
    ++failures;
    std::printf("FAIL %s: got %.6g, want %.6g +- %.3g\n", what, got, want, tolerance);
}

constexpr double Deg = ERFA_DD2R, ArcMin = Deg / 60;

double Days(int y, int m, int d, double hours) {
    double jd0 = 0, jd1 = 0;
    eraCal2jd(y, m, d, &jd0, &jd1);
    return jd0 + jd1 - ERFA_DJ00 + hours / 24;
}

double ArcMinApart(const HorizontalPlace& a, const HorizontalPlace& b) {
    return eraSeps(a.azimuth, a.altitude, b.azimuth, b.altitude) / ArcMin;
}

// Bennett's table for 10 C and 1010 hPa (Meeus, chapter 16) at apparent altitudes (at 5 degrees
// ERFA's model, which the program follows from 3.5 degrees up, stands 0.5' below it); from nadir
// to zenith never negative and the shown altitude always rising (nothing jumps); nothing at the
// zenith, far below the horizon or for NaN.
void Refraction() {
    for (const auto& [altitude, arcmin, tolerance] :
         {std::array{0.0, 34.5, 1.0}, {5, 9.9, 0.6}, {10, 5.3, 0.15}, {45, 1.0, 0.05}}) {
        double low = (altitude - 2) * Deg, high = altitude * Deg; // the true altitude
        for (int i = 0; i < 60; ++i)
            (RefractedAltitude((low + high) / 2) < altitude * Deg ? low : high) = (low + high) / 2;
        Near("refraction (arcmin)", (altitude * Deg - low) / ArcMin, arcmin, tolerance);
    }
    int wrong = RefractionAt(90 * Deg) > 1e-15 || RefractionAt(-5 * Deg) != 0 ||
                RefractionAt(std::nan("")) != 0;
    for (double h = -90 * Deg, before = -10; h <= 90 * Deg;
         before = RefractedAltitude(h), h += 0.001 * Deg)
        wrong += !(RefractionAt(h) >= 0) || !(RefractedAltitude(h) > before);
    Near("refraction values wrong", wrong, 0, 0);
}

// Above 15 degrees the refraction is ERFA's model, so every place must agree to rounding, also
// in 1200 and 2900. eraAtco13 takes UTC: it gets the UTC and UT1 - UTC that make its TT and UT1
// the program's.
void AgainstOneShot() {
    for (const auto& [days, lat, lon] : {std::array{Days(2026, 3, 14, 21.5), 48.85, 2.35},
                                         {Days(2026, 8, 2, 11.25), -33.87, 151.2},
                                         {Days(1200, 5, 1, 20), 30.05, 31.23},
                                         {Days(2900, 11, 30, 4), 39.74, -104.99}}) {
        const ApparentSky sky = MakeApparentSky(days, lat * Deg, lon * Deg);
        const double shift = DeltaTSeconds(days) - (days < 0 ? 0 : 37) - 32.184; // TAI - UTC
        double worst = 0, az, zd, ha, dc, rc, eo;
        for (int i = 0; i < 400; ++i) {
            const double ra = i * 0.77 * Deg, dec = std::asin(std::fmod(i * 0.613, 2.0) - 1);
            eraAtco13(ra, dec, 0, 0, 0, 0, ERFA_DJ00, days + shift / 86400, -shift, lon * Deg,
                      lat * Deg, 0, 0, 0, 1010, 10, 0.5, 0.55, &az, &zd, &ha, &dc, &rc, &eo);
            if (zd < 75 * Deg)
                worst = std::fmax(
                    worst, ArcMinApart(ApparentHorizontal(sky, ra, dec), {ERFA_DPI / 2 - zd, az}));
        }
        Near("worst from eraAtco13 (arcsec)", worst * 60, 0, 0.1);
    }
}

void PublishedPlaces() {
    // Example 23.a: theta Persei at 2028-11-13.19 TT, apparent 41.5599646, +49.3520685 of date;
    // the J2000 place is moved here by its proper motion (+0.03425 s, -0.0895" a year).
    const double lat = 50 * Deg, lon = 5 * Deg, tt = Days(2028, 11, 13, 0.19 * 24);
    const double ut = tt - DeltaTSeconds(tt) / 86400, years = tt / 365.25;
    double az = 0, el = 0;
    eraHd2ae(eraGst06a(ERFA_DJ00, ut, ERFA_DJ00, tt) + lon - 41.5599646 * Deg, 49.3520685 * Deg,
             lat, &az, &el);
    Near("theta Persei 2028 (arcmin)",
         ArcMinApart(ApparentHorizontal(MakeApparentSky(ut, lat, lon),
                                        (41.0499417 + 0.03425 / 240 * years) * Deg,
                                        (49.2284667 - 0.0895 / 3600 * years) * Deg),
                     {RefractedAltitude(el), az}),
         0, 0.02);
    // At the greatest total eclipse of 2017-08-21 (18:25.5 UT, 36.97 N 87.67 W) the Moon's centre
    // covered the Sun's; taken with the wrong light time the Moon stands 20" off.
    const double t = Days(2017, 8, 21, 18 + 25.5 / 60), siteLat = 36.967 * Deg;
    const ApparentSky eclipse = MakeApparentSky(t, siteLat, -87.667 * Deg);
    const BodyPlace moon = PlaceBodyFromSite(Body::Moon, t, siteLat, -87.667 * Deg);
    const BodyPlace sun = PlaceSun(t);
    Near("2017 eclipse: Moon from Sun (arcmin)",
         ArcMinApart(ApparentHorizontal(eclipse, moon.rightAscension, moon.declination),
                     ApparentHorizontal(eclipse, sun.rightAscension, sun.declination)),
         0, 0.15);
    // A sky turned by half an hour with the Earth stands where a sky made afresh does.
    const double later = t + 0.5 / 24;
    Near("turned sky (arcsec)",
         ArcMinApart(ApparentHorizontal(TurnedTo(eclipse, later), 1.2, 0.3),
                     ApparentHorizontal(MakeApparentSky(later, siteLat, -87.667 * Deg), 1.2, 0.3)) *
             60,
         0, 0.05);
    // Nothing outside the years 1000..3000 or for a site that is not a place; the cache answers
    // for the instant and site asked, also after many others.
    const double now = Days(2026, 1, 1, 0);
    ApparentSkyCache cache;
    for (int i = 0; i < 100; ++i)
        cache.At(now + i / 24.0, 0.5, 0.5);
    const ApparentSky& again = cache.At(now + 70 / 24.0, 0.6, 0.5);
    Near("skies made where none can be, cache wrong",
         MakeApparentSky(Days(999, 12, 1, 0), 0, 0).ok +
             MakeApparentSky(Days(3001, 2, 1, 0), 0, 0).ok +
             MakeApparentSky(now, std::nan(""), 0).ok + (again.daysUt != now + 70 / 24.0) +
             (again.latitude != 0.6),
         0, 0);
}

} // namespace

int main() {
    Refraction(), AgainstOneShot(), PublishedPlaces();
    std::printf("%s: %d failure(s)\n", failures ? "FAILED" : "passed", failures);
    return failures ? 1 : 0;
}
