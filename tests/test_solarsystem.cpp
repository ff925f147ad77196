// Places of the Moon, the planets and the Sun, checked against events and published values that
// anyone can look up. Run with -v to print every measured value.

#include "solarsystem/solarsystem.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

int failures = 0;
bool verbose = false;

void Near(const char* what, double got, double want, double tolerance) {
    const bool ok = std::fabs(got - want) <= tolerance;
    failures += !ok;
    if (!ok || verbose)
        std::printf("%s %s: got %.6g, want %.6g +- %.3g\n", ok ? "ok  " : "FAIL", what, got, want,
                    tolerance);
}

constexpr double Deg = ERFA_DD2R, ArcMin = Deg / 60, ArcSec = ERFA_DAS2R;
constexpr double AuKm = ERFA_DAU / 1000;

// Days from 2000-01-01 12:00 UT to the UT instant y-m-d plus hours.
double Days(int y, int m, int d, double hours) {
    double jd0 = 0, jd1 = 0;
    eraCal2jd(y, m, d, &jd0, &jd1);
    return jd0 + jd1 - ERFA_DJ00 + hours / 24;
}

double Separation(const BodyPlace& a, const BodyPlace& b) {
    return eraSeps(a.rightAscension, a.declination, b.rightAscension, b.declination);
}

// Arcsec from a place to an apparent place of date (as yearbooks print them) turned to J2000
// axes by undoing precession and nutation; annual aberration, at most 20.5", is left in.
double FromApparent(const BodyPlace& p, double raDeg, double decDeg, double daysTt) {
    double npb[3][3], ofDate[3], j2000[3], ra = 0, dec = 0;
    eraPnm06a(ERFA_DJ00, daysTt, npb);
    eraS2c(raDeg * Deg, decDeg * Deg, ofDate);
    eraTrxp(npb, ofDate, j2000);
    eraC2s(j2000, &ra, &dec);
    return eraSeps(ra, dec, p.rightAscension, p.declination) / ArcSec;
}

struct Showing {
    const char* what;
    Body body;
    double days, want;
};

void ClosePairsAndEclipses() {
    // Least separations from the Sun's centre in transits (NASA's transit tables), arcsec.
    const Showing transits[] = {
        {"Mercury transit 2019", Body::Mercury, Days(2019, 11, 11, 15.33), 75.9},
        {"Mercury transit 2016", Body::Mercury, Days(2016, 5, 9, 14.957), 318.5},
        {"Venus transit 2012", Body::Venus, Days(2012, 6, 6, 1.493), 554.4}};
    for (const Showing& s : transits) {
        const BodyPlace planet = PlaceBody(s.body, s.days, 0, 0);
        Near(s.what, Separation(planet, PlaceSun(s.days)) / ArcSec, s.want, 5);
        Near(s.what, planet.illuminatedFraction, 0, 0.001);
    }
    const double great = Days(2020, 12, 21, 18);
    Near("Jupiter-Saturn 2020-12-21 (arcmin)",
         Separation(PlaceBody(Body::Jupiter, great, 0, 0), PlaceBody(Body::Saturn, great, 0, 0)) /
             ArcMin,
         6.1, 0.1);

    // 2017-08-21 greatest eclipse, 18:25.5 UT, seen from under it at 36.97 N, 87.67 W; eclipse
    // magnitude 1.0306, gamma 0.4367 (from the Earth's centre the Moon passed ~26' from the Sun).
    const double t = Days(2017, 8, 21, 18 + 25.5 / 60);
    const BodyPlace sun = PlaceSun(t), moon = PlaceBody(Body::Moon, t, 36.967 * Deg, -87.667 * Deg);
    Near("2017 eclipse: Moon from Sun (arcmin)", Separation(moon, sun) / ArcMin, 0, 1);
    Near("2017 eclipse: geocentric Moon from Sun (arcmin)",
         Separation(PlaceMoonGeocentric(t), sun) / ArcMin, 26, 3);
    Near("2017 eclipse: diameter ratio", moon.diameterArcsec / sun.diameterArcsec, 1.0306, 0.002);
    Near("2017 eclipse: lit fraction", moon.illuminatedFraction, 0, 0.001);
    // 2022-05-16 greatest eclipse, 04:11.5 UT: gamma -0.2532 put the Moon's centre that many
    // Earth radii from the axis of the shadow.
    const double u = Days(2022, 5, 16, 4 + 11.5 / 60);
    const BodyPlace full = PlaceMoonGeocentric(u);
    Near("2022 eclipse: Moon from antisolar point (arcmin)",
         (ERFA_DPI - Separation(full, PlaceSun(u))) / ArcMin,
         0.2532 * std::asin(6378.137 / (full.distanceAu * AuKm)) / ArcMin, 0.5);
    Near("2022 eclipse: lit fraction", full.illuminatedFraction, 1, 0.001);
}

// Meeus, Astronomical Algorithms (2nd ed.), examples 25.b, 33.a and 47.a: apparent places at
// 0h TT in 1992 (Delta T 58.3 s); then other published distances and sizes.
void PublishedPlaces() {
    const double sunDay = Days(1992, 10, 13, 0), venusDay = Days(1992, 12, 20, 0),
                 moonDay = Days(1992, 4, 12, 0), deltaT = 58.3 / 86400;
    const BodyPlace sun = PlaceSun(sunDay - deltaT);
    const BodyPlace venus = PlaceBody(Body::Venus, venusDay - deltaT, 0, 0);
    const BodyPlace moon = PlaceMoonGeocentric(moonDay - deltaT);
    Near("Sun 1992 (arcsec)", FromApparent(sun, 198.378121, -7.783817, sunDay), 0, 25);
    Near("Sun 1992 (au)", sun.distanceAu, 0.99760775, 1e-5);
    Near("Venus 1992 (arcsec)", FromApparent(venus, 316.172725, -18.888011, venusDay), 0, 25);
    Near("Venus 1992 (au)", venus.distanceAu, 0.910947, 2e-5);
    Near("Moon 1992 (arcsec)", FromApparent(moon, 134.688470, 13.768368, moonDay), 0, 10);
    Near("Moon 1992 (km)", moon.distanceAu * AuKm, 368409.7, 20);
    Near("Mars closest 2003-08-27 (au)",
         PlaceBody(Body::Mars, Days(2003, 8, 27, 9.85), 0, 0).distanceAu, 0.372719, 2e-5);
    Near("Jupiter 2022-09-26 (arcsec)",
         PlaceBody(Body::Jupiter, Days(2022, 9, 26, 20), 0, 0).diameterArcsec, 49.9, 0.2);
    Near("Sun at perihelion 2020 (arcsec)", PlaceSun(Days(2020, 1, 5, 8)).diameterArcsec, 1952, 3);
}

// Magnitudes quoted for these showings, rounded to 0.1; Venus at greatest brilliancy is 27% lit.
void Magnitudes() {
    const Showing rows[] = {
        {"Jupiter opposition 2022", Body::Jupiter, Days(2022, 9, 26, 20), -2.9},
        {"Mars opposition 2020", Body::Mars, Days(2020, 10, 13, 23), -2.6},
        {"Saturn opposition 2003, rings open", Body::Saturn, Days(2003, 12, 31, 12), -0.5},
        {"Uranus opposition 2022", Body::Uranus, Days(2022, 11, 9, 8), 5.6},
        {"Neptune opposition 2022", Body::Neptune, Days(2022, 9, 16, 22), 7.8},
        {"Venus greatest brilliancy 2020", Body::Venus, Days(2020, 4, 28, 12), -4.7},
        {"full Moon 2024-01-25", Body::Moon, Days(2024, 1, 25, 17.9), -12.7},
    };
    for (const Showing& s : rows)
        Near(s.what, PlaceBody(s.body, s.days, 0.7, 0).magnitude, s.want, 0.3);
    Near("Venus lit fraction", PlaceBody(Body::Venus, rows[5].days, 0, 0).illuminatedFraction, 0.27,
         0.03);
}

// Finite everywhere, and all zero when not placed.
bool Sane(const BodyPlace& p) {
    for (double v : {p.rightAscension, p.declination, p.magnitude, p.illuminatedFraction,
                     p.diameterArcsec, p.distanceAu})
        if (!std::isfinite(v) || (!p.inRange && v != 0)) return false;
    return true;
}

// The years 1000..3000 on every clock from UTC+14 to UTC-12, to the minute; outside, nothing is
// placed and nothing is NaN. Bodies placed one at a time match the full set.
void Range() {
    constexpr double Minute = 1.0 / 1440;
    const struct {
        double t;
        bool inRange;
    } instants[] = {{Days(500, 6, 1, 0), false},   {Days(1000, 1, 1, -14) - Minute, false},
                    {Days(1000, 1, 1, -14), true}, {Days(1950, 6, 1, 0), true},
                    {Days(3000, 1, 8, 0), true},   {Days(3001, 1, 1, 12) - Minute, true},
                    {Days(3001, 1, 1, 12), false}, {Days(3500, 6, 1, 0), false}};
    for (const auto& [t, inRange] : instants) {
        const int year = int(std::floor(2000 + t / 365.2425));
        const auto all = PlaceAllBodies(t, 0.8, -1.2);
        int wrong = InErfaRange(t) != inRange;
        for (const BodyPlace& p : {PlaceSun(t), PlaceMoonGeocentric(t)})
            wrong += p.inRange != inRange || !Sane(p);
        for (int b = 0; b < BodyCount; ++b) {
            const BodyPlace one = PlaceBody(static_cast<Body>(b), t, 0.8, -1.2);
            wrong += all[b].inRange != inRange || !Sane(all[b]) ||
                     one.rightAscension != all[b].rightAscension ||
                     one.magnitude != all[b].magnitude;
        }
        char what[40];
        std::snprintf(what, sizeof what, "year %d: places wrong", year);
        Near(what, wrong, 0, 0);
    }
    Near("NaN instant placed",
         InErfaRange(std::nan("")) + PlaceBody(Body::Mars, std::nan(""), 0, 0).inRange, 0, 0);
    Near("Moon placed for a NaN site", PlaceBody(Body::Moon, 0, std::nan(""), 0).inRange, 0, 0);
}

} // namespace

int main(int argc, char** argv) {
    verbose = argc > 1 && std::strcmp(argv[1], "-v") == 0;
    ClosePairsAndEclipses(), PublishedPlaces(), Magnitudes(), Range();
    std::printf("%s: %d failure(s)\n", failures ? "FAILED" : "passed", failures);
    return failures ? 1 : 0;
}
