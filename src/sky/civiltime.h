#pragma once

#include "sky/siteclock.h"

#include <QLocale>
#include <QString>
#include <optional>

// Date-and-time texts of local civil instants, shared by every field that shows or reads one.

// The locale's short date, a blank and its long time (without a time-zone field); a value
// exactly at midnight shows the date alone. A two-digit year of the short date is written with
// four digits so that the text always reads back as the same day. The text is all digits and
// separators (and the locale's morning/afternoon marker), because the boxes that edit it take
// digits only: where the locale writes month names or words (the C locale's "6 Dec 2026"), the
// date is written year-month-day ("2026-12-06") and the time as 24-hour "HH:mm:ss".
QString CivilDateTimeText(const CivilTime& civil, const QLocale& locale = QLocale());

// Reads a date, or a date followed by a time, in the order of the locale's short date. Accepts
// every text CivilDateTimeText writes, the same text with digits changed, and a time followed by
// a morning/afternoon marker: the locale's own AM/PM texts or a single letter A or P, in either
// case. Returns the civil reading, or nothing when the text is not a valid date.
std::optional<CivilTime> ParseCivilDateTime(const QString& text, const QLocale& locale = QLocale());

// The characters besides digits that the civil text of the locale is made of: its date and time
// separators (dot, slash, dash, colon ...) and the blank between date and time.
QString CivilSeparators(const QLocale& locale = QLocale());
// Whether the locale's civil time carries a morning/afternoon marker (a 12-hour clock).
bool CivilTimeHasMarker(const QLocale& locale = QLocale());

inline bool IsCivilDateTime(const QString& text, const QLocale& locale = QLocale()) {
    return ParseCivilDateTime(text, locale).has_value();
}
