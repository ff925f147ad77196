#include "sky/daylightcheck.h"

std::optional<bool> ComputerDaylightFor(const QTimeZone& computerZone, std::int16_t siteZoneHours,
                                        const QDateTime& utcInstant) {
    if (!computerZone.isValid() || !utcInstant.isValid()) return std::nullopt;
    if (computerZone.standardTimeOffset(utcInstant) != int(siteZoneHours) * 3600)
        return std::nullopt;
    return computerZone.isDaylightTime(utcInstant);
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
