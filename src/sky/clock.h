#pragma once

#include <QDateTime>

// The computer clock, as the program sees it. The reading is the computer's local civil date and
// time of day, handed back as a Qt::UTC QDateTime that is used as a plain calendar value, so no
// time-zone or daylight rule can shift it afterwards. Tests replace the clock with a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime localNow() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime localNow() const override;

private:
    // Turning the computer's time into local civil time is slow, and a long pass reads the clock
    // once per object. Offsets change only on whole seconds, so the conversion is done once per
    // second and the milliseconds are added to it. (The program has one thread.)
    mutable qint64 cachedSecond_ = -1;
    mutable QDateTime cachedStart_;
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
