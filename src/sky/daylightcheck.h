#pragma once

#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <cstdint>
#include <optional>

// Whether a site's daylight-saving tick agrees with the computer's own time-zone rules. A site
// whose standard offset equals the computer zone's is taken to lie in the computer's region; for
// any other site the rules are unknown here and nothing is checked.
enum class DaylightTick { NotChecked, Agrees, TickedInStandardTime, UntickedInDaylightTime };

DaylightTick CheckDaylightTick(const QTimeZone& computerZone, std::int16_t siteZoneHours,
                               bool siteDaylight, const QDateTime& utcInstant);

// Whether the computer's zone keeps daylight time at the instant; nothing when the site's zone is
// not the computer's.
std::optional<bool> ComputerDaylightFor(const QTimeZone& computerZone, std::int16_t siteZoneHours,
                                        const QDateTime& utcInstant);

// The status line's site text: the name, and in plain words a tick that the computer's rules
// contradict, e.g. "Cherry Springs: DST ticked, standard time on this date".
QString SiteStatusText(const QString& siteName, DaylightTick tick);
