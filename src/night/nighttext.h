#pragma once

#include "night/nightevents.h"
#include "night/objectnight.h"
#include "sky/skystate.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <vector>

// What the Tonight tables and the print-out say, as texts. Times are the site's civil date and
// time in the form of the main window's time box.

struct NightLine {
    QString label;
    QString value;
};

// The night's lines in their fixed order: Sunset, the six twilight limits, Sunrise, Moonrise,
// Moonset, Moon, Dark without the Moon.
std::vector<NightLine> NightLines(const SkyState& sky, const NightEvents& night,
                                  const QLocale& locale = QLocale());

// A line above the table: which night it is, and whether the Sun stays up or down.
QString NightHeadline(const SkyState& sky, const NightEvents& night,
                      const QLocale& locale = QLocale());

// The columns of the objects table, and one object's texts under them.
QStringList ObjectColumnTitles();
QStringList ObjectLineTexts(const SkyState& sky, const ObjectNight& object,
                            const QLocale& locale = QLocale());

// N, NE, E, ... NW: the compass point nearest an azimuth in radians.
QString CompassPoint(double azimuth);
