#pragma once

#include "sky/siteclock.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <cstdint>
#include <optional>

// Whether the daylight tick of a site without a zone name agrees with the computer's own zone.
// The computer's rules are taken for the site's only when, in the year of the instant, the
// computer's zone keeps exactly two offsets: the site's zone and one hour more. Anywhere else
// (a zone without daylight time, one on another offset, Arizona seen from Denver's summer) the
// two need not share rules, and nothing is checked.
enum class DaylightTick { NotChecked, Agrees, TickedInStandardTime, UntickedInDaylightTime };

DaylightTick CheckDaylightTick(const QTimeZone& computerZone, std::int16_t siteZoneHours,
                               bool siteDaylight, const QDateTime& utcInstant);

// Whether the computer's zone keeps its daylight hour at the instant; nothing when, by the rule
// above, its rules say nothing about the site's zone.
std::optional<bool> ComputerDaylightFor(const QTimeZone& computerZone, std::int16_t siteZoneHours,
                                        const QDateTime& utcInstant);

// The status line's site text: the name, and in plain words a tick that the computer's rules
// contradict, e.g. "Cherry Springs: DST ticked, standard time on this date".
QString SiteStatusText(const QString& siteName, DaylightTick tick);

// A typed time the site's clock skips: "2027-03-28 02:30 does not exist at Berlin: clocks go
// from 02:00 to 03:00."
QString SkippedTimeMessage(const CivilTime& typed, const CivilToUtc& reading,
                           const QString& siteName);
// A typed time the site's clock shows twice, for the status line.
QString RepeatedTimeNote(const CivilTime& typed, const QString& siteName);
