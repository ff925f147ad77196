#pragma once

#include "sky/skystate.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>

// "Now" (exactly, case-sensitive) makes the observing instant follow the clock and leaves
// ObservingTime as it was. Any other text is read as the site's civil date and time in the given
// locale (see ParseCivilDateTime); the instant then becomes fixed. Returns false, changing
// nothing, for a text that does not read as a date.
bool SetObservingTime(SkyState& sky, const QString& value, const QLocale& locale = QLocale());
// Fixes the observing instant at a civil reading of the site's clock. Returns false, changing
// nothing, for an invalid value.
bool SetObservingTime(SkyState& sky, const CivilTime& civil);

// A site without a zone name: a whole-hour zone and the daylight tick.
void SetSiteClock(SkyState& sky, std::int16_t zone, bool daylight);
// A site with a zone name: its rules decide the offset for each date; zone and daylight stay as
// the site record holds them. An invalid zone falls back to the fixed offset.
void SetSiteClock(SkyState& sky, std::int16_t zone, bool daylight, const QTimeZone& named);

// The instant the computations use, read once: in Now mode the clock's reading, otherwise
// ObservingTime, both as the site's civil time and as UTC.
struct SiteInstant {
    CivilTime civil;
    QDateTime utc;         // Qt::UTC, with the clock's milliseconds in Now mode
    int offsetSeconds = 0; // civil minus UTC at this instant
};
SiteInstant InstantInUse(const SkyState& sky);
// The civil reading of the instant in use.
inline CivilTime CivilInstant(const SkyState& sky) {
    return InstantInUse(sky).civil;
}

// The present instant as the site's civil date and time, by the site's clock.
CivilTime SiteCivilNow(const SkyState& sky);

// Days, with fraction, from 2000-01-01 12:00:00 UT to an instant (a Qt::UTC value).
double DaysFromJ2000Utc(const QDateTime& utc);
// The instant of a day count, to the nearest second, as a Qt::UTC value.
QDateTime UtcFromDays(double daysFromJ2000Ut);

// Days, with fraction, from 2000-01-01 12:00:00 UT to the observing instant.
double ComputeDaysFromJ2000(const SkyState& sky);
// UT time of day in hours, 0..24 inclusive.
double ComputeUniversalHours(const SkyState& sky);
// Local sidereal time in radians from DaysFromJ2000, UniversalHours and the longitude stored in
// the state, so the two values before it must be computed and stored first.
double ComputeSiderealAngle(const SkyState& sky);

// The same two time values for an instant already read, so that one clock reading serves both.
double DaysFromJ2000At(const SiteInstant& instant);
double UniversalHoursAt(const SiteInstant& instant);
