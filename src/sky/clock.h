#pragma once

#include <QDateTime>

// The computer clock, as the program sees it: the present instant, a Qt::UTC QDateTime. The
// site's zone and daylight tick turn it into the site's civil time (SiteCivilNow); the
// computer's own zone plays no part in that. Tests replace the clock with a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime utcNow() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime utcNow() const override { return QDateTime::currentDateTimeUtc(); }
};

class FixedClock : public Clock {
public:
    explicit FixedClock(const QDateTime& instant) : instant_(instant.toUTC()) {}
    QDateTime utcNow() const override { return instant_; }
    void set(const QDateTime& instant) { instant_ = instant.toUTC(); }
    void advanceSeconds(qint64 seconds) { instant_ = instant_.addSecs(seconds); }

private:
    QDateTime instant_;
};
