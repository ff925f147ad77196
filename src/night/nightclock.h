#pragma once

#include "sky/skystate.h"
#include "sky/skytime.h"

#include <QDateTime>

// The night's computations run on plain day counts of Universal Time; the site's civil time
// appears only at their edges. These are the only turns between the two, through the site's
// clock (the day counts of UTC instants are in sky/skytime.h).

// A civil reading of the site's clock as the day count of its instant.
double CivilToDays(const SkyState& sky, const CivilTime& civil);
// The site's civil reading at a day count.
CivilTime DaysToCivil(const SkyState& sky, double daysFromJ2000Ut);
