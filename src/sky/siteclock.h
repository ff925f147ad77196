#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QTimeZone>
#include <cstdint>

// A date and time of day read off a site's own clock, in whole seconds. It is not an instant:
// only the site's SiteClock turns it into one. Where an autumn change repeats an hour, the same
// reading happens twice; `laterOfRepeated` marks the second (standard-time) one.
class CivilTime {
public:
    CivilTime() = default;
    CivilTime(const QDate& date, const QTime& time, bool laterOfRepeated = false);

    bool isValid() const { return valid_; }
    QDate date() const;
    QTime time() const;
    bool laterOfRepeated() const { return later_; }

    // The reading moved by whole seconds on the calendar, as a wall clock that never changes
    // would show it. Real time between two readings is the SiteClock's business.
    CivilTime addSecs(qint64 seconds) const;
    qint64 secsTo(const CivilTime& other) const { return other.seconds_ - seconds_; }

    friend bool operator==(const CivilTime& a, const CivilTime& b) {
        return a.valid_ == b.valid_ && a.seconds_ == b.seconds_ && a.later_ == b.later_;
    }
    friend bool operator!=(const CivilTime& a, const CivilTime& b) { return !(a == b); }
    friend bool operator<(const CivilTime& a, const CivilTime& b) {
        return a.seconds_ != b.seconds_ ? a.seconds_ < b.seconds_ : a.later_ < b.later_;
    }

private:
    qint64 seconds_ = 0; // from the start of Julian day 0
    bool valid_ = false;
    bool later_ = false;
};

// How a civil reading maps onto real time at a site.
enum class CivilReading {
    Unique,   // exactly one instant
    Skipped,  // in the hour a spring change jumps over: no instant shows this reading
    Repeated, // in the hour an autumn change repeats: two instants show it
};

struct CivilToUtc {
    QDateTime utc; // Qt::UTC; for a skipped reading, the reading moved on by the jump
    CivilReading reading = CivilReading::Unique;
    // For Skipped and Repeated: the clock's reading just before the change and just after it
    // ("clocks go from 02:00 to 03:00").
    CivilTime changeFrom, changeTo;
};

// A site's clock: the time-zone rules of a named zone (offset by date, half hours, past rule
// changes), or a fixed whole-hour zone plus one hour when daylight time is ticked. Every turn
// between a site's civil time and UTC goes through here.
class SiteClock {
public:
    SiteClock() = default; // fixed offset 0
    static SiteClock FixedOffset(std::int16_t zoneHours, bool daylight);
    // A zone the database knows; an invalid zone gives the fixed offset 0.
    static SiteClock Named(const QTimeZone& zone);

    bool isNamed() const { return named_; }
    QByteArray zoneName() const { return named_ ? zone_.id() : QByteArray(); }

    // Seconds the site's clock runs ahead of UTC at the instant.
    int offsetAt(const QDateTime& utc) const;
    CivilTime toCivil(const QDateTime& utc) const;
    // A repeated reading gives the first (daylight) instant unless it is marked as the later one.
    CivilToUtc toUtc(const CivilTime& civil) const;

    // The zone as the site record keeps it: the standard offset to the nearest whole hour and
    // whether daylight time is in force at the instant.
    std::int16_t standardHoursAt(const QDateTime& utc) const;
    bool daylightAt(const QDateTime& utc) const;
    // The offset for display, "UTC+05:30", "UTC-07:00", "UTC".
    QString offsetText(const QDateTime& utc) const;

private:
    bool named_ = false;
    QTimeZone zone_;
    int fixedSeconds_ = 0;
    bool fixedDaylight_ = false;
    // The last named-zone conversion: a selection pass asks for the same one thousands of times.
    mutable CivilTime cachedCivil_;
    mutable CivilToUtc cachedUtc_;
    mutable QDateTime cachedInstant_;
    mutable int cachedOffset_ = 0;
};
