#pragma once

#include "sky/skystate.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>

// "Now" (exactly, case-sensitive) makes the observing instant follow the clock and leaves
// ObservingTime as it was. Any other text is read as a local civil date and time in the given
// locale (see ParseCivilDateTime); the instant then becomes fixed. Returns false, changing
// nothing, for a text that does not read as a date.
bool SetObservingTime(SkyState& sky, const QString& value, const QLocale& locale = QLocale());
// Fixes the observing instant at the calendar date and time of day (whole seconds) of the value,
// whatever its time zone setting. Returns false, changing nothing, for an invalid value.
bool SetObservingTime(SkyState& sky, const QDateTime& localCivil);

void SetSiteClock(SkyState& sky, std::int16_t zone, bool daylight);

// The local civil instant the computations use: one clock reading in "Now" mode, otherwise
// ObservingTime. Always a Qt::UTC calendar value.
QDateTime LocalInstant(const SkyState& sky);

// The present instant as the site's civil date and time: the clock's UTC instant plus the
// site's zone and, when ticked, the daylight hour. A Qt::UTC calendar value like ObservingTime.
QDateTime SiteCivilNow(const SkyState& sky);
// A site's civil calendar value as the instant it stands for (Qt::UTC), by the site's clock.
QDateTime SiteCivilToUtc(const SkyState& sky, const QDateTime& localCivil);

// Days, with fraction, from 2000-01-01 12:00:00 UT to the observing instant.
double ComputeDaysFromJ2000(const SkyState& sky);
// UT time of day in hours, 0..24 inclusive.
double ComputeUniversalHours(const SkyState& sky);
// Local sidereal time in radians from DaysFromJ2000, UniversalHours and the longitude stored in
// the state, so the two values before it must be computed and stored first.
double ComputeSiderealAngle(const SkyState& sky);

// The same two time values for an instant already read, so that one clock reading serves both.
double DaysFromJ2000At(const SkyState& sky, const QDateTime& local);
double UniversalHoursAt(const SkyState& sky, const QDateTime& local);
