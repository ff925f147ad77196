#include "sky/skytime.h"

#include "sky/angles.h"
#include "sky/civiltime.h"

namespace {

constexpr qint64 MsPerHour = 3600000;
constexpr double MsPerDay = 86400000.0;

const QDateTime& J2000Epoch() {
    static const QDateTime epoch(QDate(2000, 1, 1), QTime(12, 0), Qt::UTC);
    return epoch;
}

// Hours to take from local civil time to reach UT.
qint64 ZoneOffsetMs(const SkyState& sky) {
    qint64 offset = qint64(sky.SiteTimeZone) * MsPerHour;
    if (sky.SiteDaylight) offset += MsPerHour;
    return offset;
}

// Date and time of day of any QDateTime taken as a plain Qt::UTC calendar value.
QDateTime CalendarValue(const QDateTime& value) {
    const QTime t = value.time();
    return QDateTime(value.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
}

} // namespace

bool SetObservingTime(SkyState& sky, const QString& value, const QLocale& locale) {
    if (value == QLatin1String("Now")) {
        sky.UseNow = true;
        return true;
    }
    const std::optional<QDateTime> parsed = ParseCivilDateTime(value, locale);
    if (!parsed) return false;
    sky.ObservingTime = *parsed;
    sky.UseNow = false;
    return true;
}

bool SetObservingTime(SkyState& sky, const QDateTime& localCivil) {
    if (!localCivil.isValid()) return false;
    sky.ObservingTime = CalendarValue(localCivil);
    sky.UseNow = false;
    return true;
}

void SetSiteClock(SkyState& sky, std::int16_t zone, bool daylight) {
    sky.SiteTimeZone = zone;
    sky.SiteDaylight = daylight;
}

QDateTime LocalInstant(const SkyState& sky) {
    return sky.UseNow ? SiteCivilNow(sky) : sky.ObservingTime;
}

QDateTime SiteCivilNow(const SkyState& sky) {
    return sky.clock->utcNow().toUTC().addMSecs(ZoneOffsetMs(sky));
}

QDateTime SiteCivilToUtc(const SkyState& sky, const QDateTime& localCivil) {
    return CalendarValue(localCivil).addMSecs(-ZoneOffsetMs(sky));
}

double DaysFromJ2000At(const SkyState& sky, const QDateTime& local) {
    // Integer milliseconds keep the whole-second instants exact until the one division.
    const qint64 ms = J2000Epoch().msecsTo(local) - ZoneOffsetMs(sky);
    return double(ms) / MsPerDay;
}

double UniversalHoursAt(const SkyState& sky, const QDateTime& local) {
    const qint64 ms = qint64(local.time().msecsSinceStartOfDay()) - ZoneOffsetMs(sky);
    double hours = double(ms) / double(MsPerHour);
    if (hours < 0) hours += 24;
    if (hours > 24) hours -= 24;
    return hours;
}

double ComputeDaysFromJ2000(const SkyState& sky) {
    return DaysFromJ2000At(sky, LocalInstant(sky));
}

double ComputeUniversalHours(const SkyState& sky) {
    return UniversalHoursAt(sky, LocalInstant(sky));
}

double ComputeSiderealAngle(const SkyState& sky) {
    double s = sky.DaysFromJ2000 * 0.985647 + 100.46 + RadToDeg(sky.ObserverLongitude) +
               sky.UniversalHours * 15;
    if (s < 0) s += 360;
    return DegToRad(s);
}
