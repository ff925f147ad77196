#pragma once

#include "sky/siteclock.h"

#include <QLocale>
#include <QString>
#include <cstdint>

// Fixed-width texts of angles, magnitudes, counts and times for list rows and print-outs.

// Whole degrees right-aligned in four characters, the degree sign, a blank, minutes with one
// decimal and an apostrophe: "  45\u00B0 30.0'". Negative angles show the whole degree below them
// and positive minutes.
QString AngleText(double radians);

// "@@@@": the text right-aligned in four characters with leading blanks; longer texts in full.
QString RightAligned4(const QString& text);
// A number as plain decimal text: up to 15 significant digits, no trailing zeros, "." as the
// decimal point.
QString PlainNumberText(double value);
// A magnitude for the object list: "@@@@" of its plain text.
QString MagnitudeListText(double magnitude);
// "##.0": rounded half away from zero to one decimal, no leading zero (".5", ".0", "12.0").
QString OneDecimalText(double value);
// "0": an integer without leading zeros or blanks.
QString CountText(int value);
// "mm/dd/yy" of the calendar date.
QString ShortDateText(const CivilTime& value);
// "ttttt": the time of day, hours, minutes and seconds, in the locale's long time format.
QString LongTimeText(const CivilTime& value, const QLocale& locale = QLocale());

// The locale's long time format without its time-zone field (observing times are civil times of
// the site; the zone of the stored value means nothing).
QString LongTimeFormat(const QLocale& locale);
