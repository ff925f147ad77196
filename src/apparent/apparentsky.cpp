#include "apparent/apparentsky.h"

#include "apparent/refraction.h"
#include "solarsystem/deltat.h"
#include "solarsystem/solarsystem.h"

#include <erfam.h>

#include <cmath>

ApparentSky MakeApparentSky(double daysFromJ2000Ut, double latitudeRad, double longitudeRad) {
    ApparentSky sky;
    sky.daysUt = daysFromJ2000Ut;
    sky.latitude = latitudeRad;
    sky.longitude = longitudeRad;
    if (!InErfaRange(daysFromJ2000Ut) || !std::isfinite(latitudeRad) ||
        !std::isfinite(longitudeRad))
        return sky;

    // What eraApco13 does from UTC, with the program's own TT and UT1 = UT instead of leap
    // seconds and an observed UT1 - UTC (neither exists outside the present era).
    const double tt = TtDaysFromUt(daysFromJ2000Ut);
    double heliocentric[2][3], barycentric[2][3];
    eraEpv00(ERFA_DJ00, tt, heliocentric, barycentric); // status 1: outside 1900..2100, still fine
    double npb[3][3];
    eraPnm06a(ERFA_DJ00, tt, npb);
    double x = 0, y = 0;
    eraBpn2xy(npb, &x, &y);
    const double s = eraS06(ERFA_DJ00, tt, x, y);
    const double era = eraEra00(ERFA_DJ00, daysFromJ2000Ut);
    const double sp = eraSp00(ERFA_DJ00, tt);
    eraApco(ERFA_DJ00, tt, barycentric, heliocentric[0], x, y, s, era, longitudeRad, latitudeRad,
            0.0, 0.0, 0.0, sp, 0.0, 0.0, &sky.astrom);
    sky.cosEral = std::cos(sky.astrom.eral);
    sky.sinEral = std::sin(sky.astrom.eral);
    sky.ok = true;
    return sky;
}

ApparentSky TurnedTo(const ApparentSky& sky, double daysFromJ2000Ut) {
    ApparentSky turned = sky;
    turned.daysUt = daysFromJ2000Ut;
    if (!sky.ok) return turned;
    eraAper(eraEra00(ERFA_DJ00, daysFromJ2000Ut), &turned.astrom);
    turned.cosEral = std::cos(turned.astrom.eral);
    turned.sinEral = std::sin(turned.astrom.eral);
    return turned;
}

HorizontalPlace ApparentHorizontal(const ApparentSky& sky, const double direction[3]) {
    HorizontalPlace place;
    if (!sky.ok) return place;
    // ERFA's declarations lack const; these calls only read.
    auto& a = const_cast<eraASTROM&>(sky.astrom);

    // eraAtciq for a source without proper motion: the Sun's light deflection, aberration, and
    // the turn into the celestial intermediate system.
    double length = 0, p[3], deflected[3], aberrated[3], cirs[3];
    eraPn(const_cast<double*>(direction), &length, p);
    if (!(length > 0)) return place;
    eraLdsun(p, a.eh, a.em, deflected);
    eraAb(deflected, a.v, a.em, a.bm1, aberrated);
    eraRxp(a.bpn, aberrated, cirs);

    // eraAtioq without polar motion: minus hour angle and declination, diurnal aberration, then
    // the local horizon (x south, y east, z up).
    const double x = sky.cosEral * cirs[0] + sky.sinEral * cirs[1];
    const double y = sky.cosEral * cirs[1] - sky.sinEral * cirs[0];
    const double z = cirs[2];
    const double f = 1.0 - a.diurab * y;
    const double xh = f * x, yh = f * (y + a.diurab), zh = f * z;
    const double south = a.sphi * xh - a.cphi * zh;
    const double east = yh;
    const double up = a.cphi * xh + a.sphi * zh;

    const double flat = std::sqrt(south * south + east * east);
    // At the zenith no direction is defined; north is shown.
    place.azimuth = flat > 0 ? eraAnp(std::atan2(east, -south)) + 0.0 : 0.0;
    place.altitude = RefractedAltitude(std::atan2(up, flat));
    return place;
}

HorizontalPlace ApparentHorizontal(const ApparentSky& sky, double raRad, double decRad) {
    double direction[3];
    eraS2c(raRad, decRad, direction);
    return ApparentHorizontal(sky, direction);
}

const ApparentSky& ApparentSkyCache::At(double daysFromJ2000Ut, double latitudeRad,
                                        double longitudeRad) {
    auto matches = [&](int i) {
        const ApparentSky& s = skies_[std::size_t(i)];
        return filled_[std::size_t(i)] && s.daysUt == daysFromJ2000Ut &&
               s.latitude == latitudeRad && s.longitude == longitudeRad;
    };
    if (newest_ >= 0 && matches(newest_)) return skies_[std::size_t(newest_)];
    for (int i = 0; i < Size; ++i) {
        if (matches(i)) {
            newest_ = i;
            return skies_[std::size_t(i)];
        }
    }
    newest_ = (newest_ + 1) % Size;
    skies_[std::size_t(newest_)] = MakeApparentSky(daysFromJ2000Ut, latitudeRad, longitudeRad);
    filled_[std::size_t(newest_)] = true;
    return skies_[std::size_t(newest_)];
}
