#include "sky/clock.h"

QDateTime SystemClock::localNow() const {
    // The only place where the computer's own time zone enters the program.
    const QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}
