#include "sky/skytime.h"

#include "sky/angles.h"
#include "sky/civiltime.h"

#include <cmath>

namespace {

constexpr double MsPerHour = 3600000.0;
constexpr double MsPerDay = 86400000.0;

const QDateTime& J2000Epoch() {
    static const QDateTime epoch(QDate(2000, 1, 1), QTime(12, 0), Qt::UTC);
    return epoch;
}

} // namespace

bool SetObservingTime(SkyState& sky, const QString& value, const QLocale& locale) {
    if (value == QLatin1String("Now")) {
        sky.UseNow = true;
        return true;
    }
    const std::optional<CivilTime> parsed = ParseCivilDateTime(value, locale);
    if (!parsed) return false;
    sky.ObservingTime = *parsed;
    sky.UseNow = false;
    return true;
}

bool SetObservingTime(SkyState& sky, const CivilTime& civil) {
    if (!civil.isValid()) return false;
    sky.ObservingTime = civil;
    sky.UseNow = false;
    return true;
}

void SetSiteClock(SkyState& sky, std::int16_t zone, bool daylight) {
    sky.SiteTimeZone = zone;
    sky.SiteDaylight = daylight;
    sky.siteClock = SiteClock::FixedOffset(zone, daylight);
}

void SetSiteClock(SkyState& sky, std::int16_t zone, bool daylight, const QTimeZone& named) {
    SetSiteClock(sky, zone, daylight);
    if (named.isValid() && !named.id().isEmpty()) sky.siteClock = SiteClock::Named(named);
}

SiteInstant InstantInUse(const SkyState& sky) {
    SiteInstant at;
    if (sky.UseNow) {
        at.utc = sky.clock->utcNow().toUTC();
        at.civil = sky.siteClock.toCivil(at.utc);
    } else {
        at.civil = sky.ObservingTime;
        at.utc = sky.siteClock.toUtc(at.civil).utc;
    }
    at.offsetSeconds = sky.siteClock.offsetAt(at.utc);
    return at;
}

CivilTime SiteCivilNow(const SkyState& sky) {
    return sky.siteClock.toCivil(sky.clock->utcNow().toUTC());
}

double DaysFromJ2000Utc(const QDateTime& utc) {
    // Integer milliseconds keep the whole-second instants exact until the one division.
    return double(J2000Epoch().msecsTo(utc)) / MsPerDay;
}

QDateTime UtcFromDays(double daysFromJ2000Ut) {
    return J2000Epoch().addSecs(qint64(std::llround(daysFromJ2000Ut * 86400.0)));
}

double DaysFromJ2000At(const SiteInstant& instant) {
    return DaysFromJ2000Utc(instant.utc);
}

double UniversalHoursAt(const SiteInstant& instant) {
    // From the civil time of day, so that local 19:00 at zone -5 gives 24 rather than 0.
    const qint64 ms = qint64(instant.civil.time().msecsSinceStartOfDay()) +
                      instant.utc.time().msec() - qint64(instant.offsetSeconds) * 1000;
    double hours = double(ms) / MsPerHour;
    if (hours < 0) hours += 24;
    if (hours > 24) hours -= 24;
    return hours;
}

double ComputeDaysFromJ2000(const SkyState& sky) {
    return DaysFromJ2000At(InstantInUse(sky));
}

double ComputeUniversalHours(const SkyState& sky) {
    return UniversalHoursAt(InstantInUse(sky));
}

double ComputeSiderealAngle(const SkyState& sky) {
    double s = sky.DaysFromJ2000 * 0.985647 + 100.46 + RadToDeg(sky.ObserverLongitude) +
               sky.UniversalHours * 15;
    if (s < 0) s += 360;
    return DegToRad(s);
}
