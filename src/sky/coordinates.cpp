#include "sky/coordinates.h"

#include "apparent/apparentsky.h"
#include "sky/skytime.h"

#include <cmath>

void SetObserverPosition(SkyState& sky, double latitudeRad, double longitudeRad) {
    sky.ObserverLatitude = latitudeRad;
    sky.ObserverLongitude = longitudeRad;
}

void SetTarget(SkyState& sky, double ra, double dec) {
    sky.TargetRightAscension = ra * 15;
    sky.TargetDeclination = dec;
}

double ComputeHourAngle(const SkyState& sky) {
    double h = sky.SiderealAngle - sky.TargetRightAscension;
    if (h < 0) h += TwoPiValue;
    return h;
}

namespace {

// The apparent place of the target at the instant just stored; false, leaving the target alone,
// outside the years the apparent place covers.
bool PlaceTargetPrecisely(SkyState& sky) {
    if (!sky.apparentSkies) sky.apparentSkies = std::make_shared<ApparentSkyCache>();
    const ApparentSky& apparent =
        sky.apparentSkies->At(sky.DaysFromJ2000, sky.ObserverLatitude, sky.ObserverLongitude);
    if (!apparent.ok) return false;
    const HorizontalPlace place =
        ApparentHorizontal(apparent, sky.TargetRightAscension, sky.TargetDeclination);
    sky.TargetAltitudeValue = place.altitude;
    sky.TargetAzimuthValue = place.azimuth;
    return true;
}

} // namespace

double TargetAltitude(SkyState& sky) {
    // One reading of the instant serves both time values, so they can never straddle a
    // change of second or of day.
    const SiteInstant instant = InstantInUse(sky);
    sky.DaysFromJ2000 = DaysFromJ2000At(instant);
    sky.UniversalHours = UniversalHoursAt(instant);
    sky.SiderealAngle = ComputeSiderealAngle(sky);
    sky.TargetHourAngle = ComputeHourAngle(sky);
    sky.TargetPrecise = sky.Precise && PlaceTargetPrecisely(sky);
    if (sky.TargetPrecise) return sky.TargetAltitudeValue;

    const double phi = sky.ObserverLatitude;
    const double delta = sky.TargetDeclination;
    const double x = std::sin(delta) * std::sin(phi) +
                     std::cos(phi) * std::cos(delta) * std::cos(sky.TargetHourAngle);
    sky.TargetAltitudeValue = ArcSine(x);
    return sky.TargetAltitudeValue;
}

double TargetAzimuth(SkyState& sky) {
    if (sky.TargetPrecise) return sky.TargetAzimuthValue;
    const double phi = sky.ObserverLatitude;
    const double delta = sky.TargetDeclination;
    const double num = -std::cos(delta) * std::cos(phi) * std::sin(sky.TargetHourAngle);
    const double den = std::sin(delta) - std::sin(sky.TargetAltitudeValue) * std::sin(phi);

    double a;
    if (den < 0) {
        a = std::atan(num / den) + PiValue;
    } else if (den > 0) {
        a = std::atan(num / den);
        if (num < 0) a += TwoPiValue;
    } else if (num > 0) {
        // Exactly on the prime vertical: the limit from either side of it, east...
        a = PiValue / 2;
    } else if (num < 0) {
        // ...or west.
        a = 3 * PiValue / 2;
    } else {
        // At the zenith, or for an observer at a pole, no direction is defined; north is shown.
        a = 0;
    }
    // A target on the meridian may give minus zero; show it as plain zero.
    sky.TargetAzimuthValue = a + 0.0;
    return sky.TargetAzimuthValue;
}
