#include "sky/daylightcheck.h"

#include <set>

namespace {

QString ReadingText(const CivilTime& civil) {
    return civil.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           civil.time().toString(QStringLiteral("HH:mm"));
}

} // namespace

std::optional<bool> ComputerDaylightFor(const QTimeZone& computerZone, std::int16_t siteZoneHours,
                                        const QDateTime& utcInstant) {
    if (!computerZone.isValid() || !utcInstant.isValid()) return std::nullopt;
    const int year = utcInstant.toUTC().date().year();
    const QDateTime from(QDate(year, 1, 1), QTime(0, 0), Qt::UTC);
    const QDateTime to(QDate(year + 1, 1, 1), QTime(0, 0), Qt::UTC);
    std::set<int> offsets{computerZone.offsetFromUtc(from)};
    for (const QTimeZone::OffsetData& change : computerZone.transitions(from, to))
        offsets.insert(change.offsetFromUtc);
    const int standard = int(siteZoneHours) * 3600;
    if (offsets != std::set<int>{standard, standard + 3600}) return std::nullopt;
    return computerZone.offsetFromUtc(utcInstant) == standard + 3600;
}

DaylightTick CheckDaylightTick(const QTimeZone& computerZone, std::int16_t siteZoneHours,
                               bool siteDaylight, const QDateTime& utcInstant) {
    const std::optional<bool> daylight =
        ComputerDaylightFor(computerZone, siteZoneHours, utcInstant);
    if (!daylight) return DaylightTick::NotChecked;
    if (*daylight == siteDaylight) return DaylightTick::Agrees;
    return siteDaylight ? DaylightTick::TickedInStandardTime : DaylightTick::UntickedInDaylightTime;
}

QString SiteStatusText(const QString& siteName, DaylightTick tick) {
    switch (tick) {
    case DaylightTick::TickedInStandardTime:
        return siteName + QStringLiteral(": DST ticked, standard time on this date");
    case DaylightTick::UntickedInDaylightTime:
        return siteName + QStringLiteral(": DST not ticked, daylight time on this date");
    default:
        return siteName;
    }
}

QString SkippedTimeMessage(const CivilTime& typed, const CivilToUtc& reading,
                           const QString& siteName) {
    return QStringLiteral("%1 does not exist at %2: clocks go from %3 to %4.")
        .arg(ReadingText(typed), siteName,
             reading.changeFrom.time().toString(QStringLiteral("HH:mm")),
             reading.changeTo.time().toString(QStringLiteral("HH:mm")));
}

QString RepeatedTimeNote(const CivilTime& typed, const QString& siteName) {
    return QStringLiteral("%1 happens twice at %2: the first (daylight time) is used")
        .arg(ReadingText(typed), siteName);
}
