#include "night/nightclock.h"

double CivilToDays(const SkyState& sky, const CivilTime& civil) {
    return DaysFromJ2000Utc(sky.siteClock.toUtc(civil).utc);
}

CivilTime DaysToCivil(const SkyState& sky, double daysFromJ2000Ut) {
    return sky.siteClock.toCivil(UtcFromDays(daysFromJ2000Ut));
}
