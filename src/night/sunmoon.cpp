#include "night/sunmoon.h"

#include "solarsystem/deltat.h"
#include "solarsystem/solarsystem.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double HourDays = 1.0 / 24;

double Altitude(double dec, double hourAngle, double latitude) {
    const double sinAlt = std::sin(dec) * std::sin(latitude) +
                          std::cos(dec) * std::cos(latitude) * std::cos(hourAngle);
    return std::asin(std::fmax(-1.0, std::fmin(1.0, sinAlt)));
}

double MeanSiderealTime(double daysUt) {
    return eraGmst00(ERFA_DJ00, daysUt, ERFA_DJ00, TtDaysFromUt(daysUt));
}

// The place of the date of a direction given as astrometric J2000 right ascension and
// declination, its right ascension less the equation of the equinoxes.
SunMoonTrack::Node OfDate(double ra, double dec, double daysUt) {
    double j2000[3], ofDate[3], npb[3][3];
    eraS2c(ra, dec, j2000);
    eraPnm00b(ERFA_DJ00, TtDaysFromUt(daysUt), npb);
    eraRxp(npb, j2000, ofDate);
    SunMoonTrack::Node node;
    eraC2s(ofDate, &node.ra, &node.dec);
    node.ra -= eraGst00b(ERFA_DJ00, daysUt) - MeanSiderealTime(daysUt);
    return node;
}

double AltitudeOfDate(double ra, double dec, double daysUt, double latitude, double longitude) {
    const SunMoonTrack::Node node = OfDate(ra, dec, daysUt);
    return Altitude(node.dec, MeanSiderealTime(daysUt) + longitude - node.ra, latitude);
}

SunMoonTrack::Node SunNode(double daysUt) {
    const BodyPlace sun = PlaceSun(daysUt);
    return sun.inRange ? OfDate(sun.rightAscension, sun.declination, daysUt)
                       : SunMoonTrack::Node{0, std::nan(""), 0};
}

SunMoonTrack::Node MoonNode(double daysUt, double latitude, double longitude) {
    const BodyPlace moon = PlaceBody(Body::Moon, daysUt, latitude, longitude);
    if (!moon.inRange) return {0, std::nan(""), 0};
    SunMoonTrack::Node node = OfDate(moon.rightAscension, moon.declination, daysUt);
    node.radius = moon.diameterArcsec / 2 * ERFA_DAS2R;
    return node;
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

SunMoonTrack::SunMoonTrack(double fromDays, double toDays, double latitude, double longitude)
    : from_(fromDays - HourDays), latitude_(latitude), longitude_(longitude) {
    const int hours = std::max(3, int(std::ceil((toDays - from_) / HourDays)) + 2);
    for (int i = 0; i < hours; ++i) {
        const double t = from_ + i * HourDays;
        sun_.push_back(SunNode(t));
        moon_.push_back(MoonNode(t, latitude, longitude));
    }
    // Right ascension made continuous, so that no interpolation runs across a wrap.
    for (std::vector<Node>* nodes : {&sun_, &moon_})
        for (std::size_t i = 1; i < nodes->size(); ++i) {
            double& ra = (*nodes)[i].ra;
            const double previous = (*nodes)[i - 1].ra;
            ra = previous + std::remainder(ra - previous, 2 * ERFA_DPI);
        }
}

SunMoonTrack::Node SunMoonTrack::at(const std::vector<Node>& nodes, double days) const {
    const double x = (days - from_) / HourDays;
    const std::size_t last = nodes.size() - 1;
    const std::size_t mid = std::size_t(std::clamp(std::lround(x), 1L, long(last) - 1));
    const double u = x - double(mid); // -1..1 around the middle node
    const Node &a = nodes[mid - 1], &b = nodes[mid], &c = nodes[mid + 1];
    const auto quadratic = [u](double ya, double yb, double yc) {
        return yb + u * (yc - ya) / 2 + u * u * (ya - 2 * yb + yc) / 2;
    };
    return {quadratic(a.ra, b.ra, c.ra), quadratic(a.dec, b.dec, c.dec),
            quadratic(a.radius, b.radius, c.radius)};
}

double SunMoonTrack::altitude(const Node& place, double days) const {
    return Altitude(place.dec, MeanSiderealTime(days) + longitude_ - place.ra, latitude_);
}

double SunMoonTrack::sunAltitude(double days) const {
    return altitude(at(sun_, days), days);
}

double SunMoonTrack::moonAboveRising(double days) const {
    const Node moon = at(moon_, days);
    return altitude(moon, days) + moon.radius + HorizonRefraction;
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
