#include "night/nighttext.h"

#include "night/nightclock.h"
#include "sky/civiltime.h"
#include "sky/textformats.h"

#include <cmath>

namespace {

const QString None = QStringLiteral("none");

QString TimeText(const SkyState& sky, double days, const QLocale& locale) {
    return CivilDateTimeText(DaysToCivil(sky, days), locale);
}

QString EventText(const SkyState& sky, const std::optional<double>& days, const QLocale& locale) {
    return days ? TimeText(sky, *days, locale) : None;
}

QString SpansText(const SkyState& sky, const std::vector<Span>& spans, const QLocale& locale) {
    QStringList parts;
    for (const Span& s : spans)
        parts << TimeText(sky, s.from, locale) + QStringLiteral(" \u2013 ") +
                     TimeText(sky, s.to, locale);
    return parts.join(QStringLiteral("; "));
}

QString DarkText(const SkyState& sky, const NightEvents& night, const QLocale& locale) {
    if (night.kind == NightKind::PolarDay)
        return QStringLiteral("polar day: no astronomical darkness");
    if (night.darkness.empty()) return QStringLiteral("no astronomical darkness");
    if (night.darkWithoutMoon.empty()) return QStringLiteral("none: the Moon is up");
    return SpansText(sky, night.darkWithoutMoon, locale);
}

} // namespace

QString CompassPoint(double azimuth) {
    static const char* const points[8] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
    const double eighths = azimuth / (2 * 3.14159265358979323846) * 8;
    const int index = ((int(std::lround(eighths)) % 8) + 8) % 8;
    return QLatin1String(points[index]);
}

std::vector<NightLine> NightLines(const SkyState& sky, const NightEvents& night,
                                  const QLocale& locale) {
    const auto event = [&](const char* label, const std::optional<double>& days) {
        return NightLine{QLatin1String(label), EventText(sky, days, locale)};
    };
    return {
        event("Sunset", night.sunset),
        event("Civil twilight ends", night.civilEnds),
        event("Nautical twilight ends", night.nauticalEnds),
        event("Astronomical twilight ends", night.astronomicalEnds),
        event("Astronomical twilight begins", night.astronomicalBegins),
        event("Nautical twilight begins", night.nauticalBegins),
        event("Civil twilight begins", night.civilBegins),
        event("Sunrise", night.sunrise),
        event("Moonrise", night.moonrise),
        event("Moonset", night.moonset),
        {QStringLiteral("Moon"),
         QStringLiteral("%1% lit, %2")
             .arg(std::lround(night.moon.illuminated * 100))
             .arg(night.moon.waxing ? QStringLiteral("waxing") : QStringLiteral("waning"))},
        {QStringLiteral("Dark without the Moon"), DarkText(sky, night, locale)},
    };
}

QString NightHeadline(const SkyState& sky, const NightEvents& night, const QLocale& locale) {
    const QDate first = DaysToCivil(sky, night.windowFrom).date();
    const QString dates =
        QStringLiteral("The night of %1 to %2")
            .arg(CivilDateTimeText(CivilTime(first, QTime(0, 0)), locale),
                 CivilDateTimeText(CivilTime(first.addDays(1), QTime(0, 0)), locale));
    switch (night.kind) {
    case NightKind::PolarDay:
        return dates + QStringLiteral(": polar day, the Sun does not set.");
    case NightKind::PolarNight:
        return dates + QStringLiteral(": polar night, the Sun does not rise.");
    case NightKind::Ordinary:
        break;
    }
    return dates + QLatin1Char('.');
}

QStringList ObjectColumnTitles() {
    return {QStringLiteral("Object"), QStringLiteral("rises"), QStringLiteral("sets"),
            QStringLiteral("highest"), QStringLiteral("clear in darkness")};
}

QStringList ObjectLineTexts(const SkyState& sky, const ObjectNight& object, const QLocale& locale) {
    QString rises, sets;
    switch (object.up) {
    case UpKind::AlwaysUp:
        rises = sets = QStringLiteral("always up");
        break;
    case UpKind::NeverUp:
        rises = sets = QStringLiteral("never up");
        break;
    case UpKind::RisesOrSets:
        rises = EventText(sky, object.rises, locale);
        sets = EventText(sky, object.sets, locale);
        break;
    }
    const QString highest =
        QStringLiteral("%1, %2, %3")
            .arg(TimeText(sky, object.highestAt, locale),
                 AngleText(object.highestAltitude).trimmed(), CompassPoint(object.highestAzimuth));
    const QString clear = object.clearInDarkness.empty()
                              ? QStringLiteral("not tonight")
                              : SpansText(sky, object.clearInDarkness, locale);
    return {object.designation, rises, sets, highest, clear};
}
