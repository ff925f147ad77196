#include "sky/clock.h"

QDateTime SystemClock::localNow() const {
    const qint64 utcMs = QDateTime::currentMSecsSinceEpoch();
    const qint64 second = utcMs >= 0 ? utcMs / 1000 : (utcMs - 999) / 1000;
    if (second != cachedSecond_ || !cachedStart_.isValid()) {
        // The only place where the computer's own time zone enters the program.
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(second * 1000, Qt::LocalTime);
        cachedStart_ = QDateTime(local.date(), local.time(), Qt::UTC);
        cachedSecond_ = second;
    }
    return cachedStart_.addMSecs(utcMs - second * 1000);
}
