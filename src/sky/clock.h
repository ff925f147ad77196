#pragma once

#include <QDateTime>

// The computer clock, as the program sees it. The reading is the computer's local civil date and
// time of day, handed back as a UTC-spec QDateTime that is used as a plain calendar value, so no
// time-zone or daylight rule can shift it afterwards. Tests replace the clock with a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime localNow() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime localNow() const override;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime instant) : instant_(instant) {}
    QDateTime localNow() const override { return instant_; }
    void set(QDateTime instant) { instant_ = instant; }
    void advanceSeconds(qint64 seconds) { instant_ = instant_.addSecs(seconds); }

private:
    QDateTime instant_;
};
