#pragma once

#include "sky/skystate.h"

#include <QDateTime>

// The night's computations run on plain day counts of Universal Time; the site's civil time
// appears only at their edges. These are the only turns between the two, through the site's
// clock.

// Days, with fraction, from 2000-01-01 12:00:00 UT to an instant (a Qt::UTC value).
double DaysFromJ2000Utc(const QDateTime& utc);
// The instant of a day count, to the nearest second, as a Qt::UTC value.
QDateTime UtcFromDays(double daysFromJ2000Ut);

// A civil reading of the site's clock as the day count of its instant.
double CivilToDays(const SkyState& sky, const CivilTime& civil);
// The site's civil reading at a day count.
CivilTime DaysToCivil(const SkyState& sky, double daysFromJ2000Ut);
