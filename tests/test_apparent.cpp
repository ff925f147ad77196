// Apparent places: the refraction against published tables, whole places against ERFA's one-shot
// chain eraAtco13 (which shares none of the program's per-instant shortcuts), and against
// apparent places printed in Meeus, Astronomical Algorithms (2nd ed.). Run with -v to print every
// measured value.

#include "apparent/apparentsky.h"
#include "apparent/refraction.h"
#include "solarsystem/deltat.h"
#include "solarsystem/solarsystem.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <cstdio>
#include <cstring>

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

constexpr double Deg = ERFA_DD2R, ArcMin = Deg / 60;

double Days(int y, int m, int d, double hours) {
    double jd0 = 0, jd1 = 0;
    eraCal2jd(y, m, d, &jd0, &jd1);
    return jd0 + jd1 - ERFA_DJ00 + hours / 24;
}

// The refraction of an object seen at the apparent altitude, by solving for its true altitude.
double RefractionSeenAt(double apparent) {
    double low = apparent - 2 * Deg, high = apparent;
    for (int i = 0; i < 60; ++i) {
        const double mid = (low + high) / 2;
        (RefractedAltitude(mid) < apparent ? low : high) = mid;
    }
    return apparent - (low + high) / 2;
}

// Bennett's table for 10 C and 1010 hPa (Meeus, chapter 16): refraction at apparent altitudes.
void Refraction() {
    const struct {
        double altitude, arcmin, tolerance;
    } table[] = {{0, 34.5, 1.0}, {5, 9.9, 0.3}, {10, 5.3, 0.15}, {45, 1.0, 0.05}};
    for (const auto& row : table) {
        char what[40];
        std::snprintf(what, sizeof what, "refraction at %g deg (arcmin)", row.altitude);
        Near(what, RefractionSeenAt(row.altitude * Deg) / ArcMin, row.arcmin, row.tolerance);
    }
    // From nadir to zenith: finite, never negative, nothing at either end, and the shown altitude
    // rises with the true one (so no two true altitudes show alike and nothing jumps).
    int wrong = 0;
    double before = -ERFA_DPI;
    for (double h = -90 * Deg; h <= 90 * Deg; h += 0.001 * Deg) {
        const double r = RefractionAt(h), shown = RefractedAltitude(h);
        wrong += !std::isfinite(r) || r < 0 || !(shown > before);
        before = shown;
    }
    Near("refraction bad or not rising, nadir to zenith", wrong, 0, 0);
    Near("refraction at zenith (arcsec)", RefractionAt(90 * Deg) / ERFA_DAS2R, 0, 1e-9);
    Near("refraction 5 deg below the horizon", RefractionAt(-5 * Deg), 0, 0);
    Near("refraction of NaN", RefractionAt(std::nan("")), 0, 0);
}

// eraAtco13 from UTC: the UTC and UT1 - UTC that make its TT and UT1 the program's.
HorizontalPlace OneShot(double ra, double dec, double daysUt, double lat, double lon) {
    int y, m, d;
    double fd = 0, dat = 0;
    eraJd2cal(ERFA_DJ00, daysUt, &y, &m, &d, &fd);
    eraDat(y, m, d, fd, &dat); // 0 before 1960, the last known value far ahead
    const double ttMinusUtc = dat + 32.184;
    const double utcShift = DeltaTSeconds(daysUt) - ttMinusUtc;
    double aob, zob, hob, dob, rob, eo;
    eraAtco13(ra, dec, 0, 0, 0, 0, ERFA_DJ00, daysUt + utcShift / 86400, -utcShift, lon, lat, 0, 0,
              0, 1010, 10, 0.5, 0.55, &aob, &zob, &hob, &dob, &rob, &eo);
    return {ERFA_DPI / 2 - zob, aob};
}

// Above 15 degrees the program's refraction is ERFA's model, so the whole place must agree
// with the one-shot chain to rounding, in 2026 and far from it.
void AgainstOneShot() {
    const struct {
        const char* what;
        double days, lat, lon;
    } skies[] = {{"2026 Paris", Days(2026, 3, 14, 21.5), 48.85, 2.35},
                 {"2026 Sydney", Days(2026, 8, 2, 11.25), -33.87, 151.2},
                 {"1200 Cairo", Days(1200, 5, 1, 20), 30.05, 31.23},
                 {"2900 Denver", Days(2900, 11, 30, 4), 39.74, -104.99}};
    for (const auto& s : skies) {
        const ApparentSky sky = MakeApparentSky(s.days, s.lat * Deg, s.lon * Deg);
        double worst = 0;
        int placed = 0;
        for (int i = 0; i < 400; ++i) {
            const double ra = i * 0.77 * Deg, dec = std::asin(std::fmod(i * 0.613, 2.0) - 1);
            const HorizontalPlace want = OneShot(ra, dec, s.days, s.lat * Deg, s.lon * Deg);
            if (want.altitude < 15 * Deg) continue;
            const HorizontalPlace got = ApparentHorizontal(sky, ra, dec);
            worst =
                std::fmax(worst, eraSeps(got.azimuth, got.altitude, want.azimuth, want.altitude));
            ++placed;
        }
        char what[60];
        std::snprintf(what, sizeof what, "%s: worst of %d from eraAtco13 (arcsec)", s.what, placed);
        Near(what, worst / ERFA_DAS2R, 0, 0.1);
    }
}

// An apparent place of date (true equator and equinox) as altitude and azimuth at the site,
// refracted by the program's refraction.
HorizontalPlace FromPlaceOfDate(double raDeg, double decDeg, double daysUt, double lat,
                                double lon) {
    const double tt = TtDaysFromUt(daysUt);
    const double hourAngle = eraGst06a(ERFA_DJ00, daysUt, ERFA_DJ00, tt) + lon - raDeg * Deg;
    double azimuth = 0, elevation = 0;
    eraHd2ae(hourAngle, decDeg * Deg, lat, &azimuth, &elevation);
    return {RefractedAltitude(elevation), azimuth};
}

double ArcMinFrom(const HorizontalPlace& got, const HorizontalPlace& want) {
    return eraSeps(got.azimuth, got.altitude, want.azimuth, want.altitude) / ArcMin;
}

void PublishedPlaces() {
    const double lat = 50 * Deg, lon = 5 * Deg;
    // Example 23.a: theta Persei at 2028-11-13.19 TT. The test moves the J2000 place by the proper
    // motion (+0.03425 s and -0.0895" a year) itself; Meeus gives 41.5599646, +49.3520685.
    const double tt = Days(2028, 11, 13, 0.19 * 24), years = tt / 365.25;
    const double ut = tt - DeltaTSeconds(tt) / 86400;
    const ApparentSky sky2028 = MakeApparentSky(ut, lat, lon);
    const double ra = (41.0499417 + 0.03425 * 15 / 3600 * years) * Deg;
    const double dec = (49.2284667 - 0.0895 / 3600 * years) * Deg;
    Near("theta Persei 2028 (arcmin)",
         ArcMinFrom(ApparentHorizontal(sky2028, ra, dec),
                    FromPlaceOfDate(41.5599646, 49.3520685, ut, lat, lon)),
         0, 0.02);

    // Example 33.a: Venus at 1992-12-20 0h TT, geocentric 316.172725, -18.888011; seen from the
    // site it stands up to 10" elsewhere.
    const double venusTt = Days(1992, 12, 20, 0), venusUt = venusTt - 58.3 / 86400;
    const BodyPlace venus = PlaceBodyFromSite(Body::Venus, venusUt, lat, lon);
    Near("Venus 1992 (arcmin)",
         ArcMinFrom(ApparentHorizontal(MakeApparentSky(venusUt, lat, lon), venus.rightAscension,
                                       venus.declination),
                    FromPlaceOfDate(316.172725, -18.888011, venusUt, lat, lon)),
         0, 0.2);

    // At the greatest total eclipse of 2017-08-21 (18:25.5 UT, 36.97 N 87.67 W) the Moon's
    // centre covered the Sun's as seen; the Moon's light time must be taken the way its aberration
    // expects, or it stands 20" off.
    const double t = Days(2017, 8, 21, 18 + 25.5 / 60);
    const ApparentSky eclipse = MakeApparentSky(t, 36.967 * Deg, -87.667 * Deg);
    const BodyPlace moon = PlaceBodyFromSite(Body::Moon, t, 36.967 * Deg, -87.667 * Deg);
    const BodyPlace sun = PlaceSun(t);
    Near("2017 eclipse: apparent Moon from Sun (arcmin)",
         ArcMinFrom(ApparentHorizontal(eclipse, moon.rightAscension, moon.declination),
                    ApparentHorizontal(eclipse, sun.rightAscension, sun.declination)),
         0, 0.15);
}

// Outside the years 1000..3000 and for a site that is not a place nothing is made.
void Range() {
    const double inside = Days(2026, 1, 1, 0);
    Near("sky made outside 1000..3000",
         MakeApparentSky(Days(999, 12, 1, 0), 0.5, 0.5).ok +
             MakeApparentSky(Days(3001, 2, 1, 0), 0.5, 0.5).ok +
             MakeApparentSky(std::nan(""), 0.5, 0.5).ok,
         0, 0);
    Near("sky made for a NaN site", MakeApparentSky(inside, std::nan(""), 0.5).ok, 0, 0);
    const double zero[3] = {0, 0, 0};
    const HorizontalPlace none = ApparentHorizontal(MakeApparentSky(inside, 0.5, 0.5), zero);
    Near("place of a zero vector", std::fabs(none.altitude) + std::fabs(none.azimuth), 0, 0);

    // The cache answers with the sky of the instant asked for, also after others were made.
    ApparentSkyCache cache;
    for (int i = 0; i < 100; ++i)
        cache.At(inside + i / 24.0, 0.5, 0.5);
    Near("cached sky instant", cache.At(inside + 70 / 24.0, 0.5, 0.5).daysUt, inside + 70 / 24.0,
         0);
    Near("cached sky site", cache.At(inside + 70 / 24.0, 0.6, 0.5).latitude, 0.6, 0);
}

} // namespace

int main(int argc, char** argv) {
    verbose = argc > 1 && std::strcmp(argv[1], "-v") == 0;
    Refraction(), AgainstOneShot(), PublishedPlaces(), Range();
    std::printf("%s: %d failure(s)\n", failures ? "FAILED" : "passed", failures);
    return failures ? 1 : 0;
}
