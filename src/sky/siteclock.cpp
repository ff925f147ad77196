#include "sky/siteclock.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr qint64 SecondsPerDay = 86400;

qint64 FloorDiv(qint64 a, qint64 b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// The reading as a plain calendar value; Qt::UTC only keeps Qt from applying any zone to it.
QDateTime CalendarOf(const CivilTime& civil) {
    return QDateTime(civil.date(), civil.time(), Qt::UTC);
}

CivilTime CivilOf(const QDateTime& calendar) {
    return CivilTime(calendar.date(), calendar.time());
}

} // namespace

CivilTime::CivilTime(const QDate& date, const QTime& time, bool laterOfRepeated)
    : valid_(date.isValid() && time.isValid()), later_(laterOfRepeated) {
    if (valid_) seconds_ = date.toJulianDay() * SecondsPerDay + time.msecsSinceStartOfDay() / 1000;
}

QDate CivilTime::date() const {
    return valid_ ? QDate::fromJulianDay(FloorDiv(seconds_, SecondsPerDay)) : QDate();
}

QTime CivilTime::time() const {
    if (!valid_) return QTime();
    return QTime::fromMSecsSinceStartOfDay(
        int((seconds_ - FloorDiv(seconds_, SecondsPerDay) * SecondsPerDay) * 1000));
}

CivilTime CivilTime::addSecs(qint64 seconds) const {
    CivilTime moved = *this;
    moved.seconds_ += seconds;
    moved.later_ = false;
    return moved;
}

SiteClock SiteClock::FixedOffset(std::int16_t zoneHours, bool daylight) {
    SiteClock clock;
    clock.fixedSeconds_ = (int(zoneHours) + (daylight ? 1 : 0)) * 3600;
    clock.fixedDaylight_ = daylight;
    return clock;
}

SiteClock SiteClock::Named(const QTimeZone& zone) {
    SiteClock clock;
    if (!zone.isValid() || zone.id().isEmpty()) return clock;
    clock.named_ = true;
    clock.zone_ = zone;
    return clock;
}

int SiteClock::offsetAt(const QDateTime& utc) const {
    if (!named_) return fixedSeconds_;
    if (utc != cachedInstant_ || !utc.isValid()) {
        cachedInstant_ = utc;
        cachedOffset_ = zone_.offsetFromUtc(utc);
    }
    return cachedOffset_;
}

CivilTime SiteClock::toCivil(const QDateTime& utc) const {
    const CivilTime civil = CivilOf(utc.toUTC().addSecs(offsetAt(utc)));
    if (!named_) return civil;
    const CivilToUtc first = toUtc(civil);
    if (first.reading != CivilReading::Repeated || first.utc.secsTo(utc) <= 0) return civil;
    return CivilTime(civil.date(), civil.time(), true);
}

CivilToUtc SiteClock::toUtc(const CivilTime& civil) const {
    CivilToUtc out;
    const QDateTime calendar = CalendarOf(civil);
    if (!named_ || !civil.isValid()) {
        out.utc = civil.isValid() ? calendar.addSecs(-fixedSeconds_) : QDateTime();
        return out;
    }
    if (civil == cachedCivil_) return cachedUtc_;

    // The offsets in force within a day either side cover every instant that can show the
    // reading (no zone is more than 14 hours from UTC).
    std::vector<int> offsets;
    for (const int days : {-1, 0, 1}) {
        const int o = zone_.offsetFromUtc(calendar.addDays(days));
        if (std::find(offsets.begin(), offsets.end(), o) == offsets.end()) offsets.push_back(o);
    }
    std::vector<QDateTime> matches;
    for (const int o : offsets) {
        const QDateTime u = calendar.addSecs(-o);
        if (zone_.offsetFromUtc(u) == o &&
            std::find(matches.begin(), matches.end(), u) == matches.end())
            matches.push_back(u);
    }
    std::sort(matches.begin(), matches.end());

    auto changeAround = [&](const QDateTime& after) {
        const QTimeZone::OffsetData change = zone_.previousTransition(after.addSecs(1));
        const QDateTime at = change.atUtc;
        out.changeFrom = CivilOf(at.addSecs(zone_.offsetFromUtc(at.addSecs(-1))));
        out.changeTo = CivilOf(at.addSecs(change.offsetFromUtc));
    };
    if (matches.size() == 1) {
        out.utc = matches.front();
    } else if (matches.size() >= 2) {
        out.reading = CivilReading::Repeated;
        out.utc = civil.laterOfRepeated() ? matches.back() : matches.front();
        changeAround(matches.back());
    } else {
        // No instant shows it: read with the offset before the jump, it lands after the jump
        // by as much as it lies after the jump's start.
        out.reading = CivilReading::Skipped;
        out.utc = calendar.addSecs(-zone_.offsetFromUtc(calendar.addDays(-1)));
        changeAround(out.utc);
    }
    cachedCivil_ = civil;
    cachedUtc_ = out;
    return out;
}

namespace {

// The lowest offset a zone keeps within half a year either side: its standard time, whichever
// of its two times its rules call daylight.
int LowestOffset(const QTimeZone& zone, const QDateTime& utc) {
    int lowest = zone.offsetFromUtc(utc);
    for (const QTimeZone::OffsetData& t : zone.transitions(utc.addDays(-183), utc.addDays(183)))
        lowest = std::min(lowest, t.offsetFromUtc);
    return lowest;
}

} // namespace

std::int16_t SiteClock::standardHoursAt(const QDateTime& utc) const {
    const int seconds =
        named_ ? LowestOffset(zone_, utc) : fixedSeconds_ - (fixedDaylight_ ? 3600 : 0);
    return std::int16_t(std::lround(seconds / 3600.0));
}

bool SiteClock::daylightAt(const QDateTime& utc) const {
    return named_ ? zone_.offsetFromUtc(utc) > LowestOffset(zone_, utc) : fixedDaylight_;
}

QString SiteClock::offsetText(const QDateTime& utc) const {
    const int seconds = offsetAt(utc);
    if (seconds == 0) return QStringLiteral("UTC");
    const int minutes = std::abs(seconds) / 60;
    return QStringLiteral("UTC%1%2:%3")
        .arg(QLatin1Char(seconds < 0 ? '-' : '+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}
