#include "night/nightclock.h"

#include <cmath>

namespace {

const QDateTime& J2000() {
    static const QDateTime epoch(QDate(2000, 1, 1), QTime(12, 0), Qt::UTC);
    return epoch;
}

} // namespace

double DaysFromJ2000Utc(const QDateTime& utc) {
    return double(J2000().msecsTo(utc)) / 86400000.0;
}

QDateTime UtcFromDays(double daysFromJ2000Ut) {
    return J2000().addSecs(qint64(std::llround(daysFromJ2000Ut * 86400.0)));
}

double CivilToDays(const SkyState& sky, const CivilTime& civil) {
    return DaysFromJ2000Utc(sky.siteClock.toUtc(civil).utc);
}

CivilTime DaysToCivil(const SkyState& sky, double daysFromJ2000Ut) {
    return sky.siteClock.toCivil(UtcFromDays(daysFromJ2000Ut));
}
