// The night's events and each picked object's night.
//
// Reference times: the U.S. Naval Observatory's rise/set tables for 2019 at W081 00, N29 00
// (Universal Time, to the minute; sunrise and sunset for the Sun's upper limb with standard
// refraction, moonrise and moonset for the Moon's upper limb, topocentric) and its twilight
// times for 2022 at 28.538 N, 81.379 W, as collected in the test data of the Astronomy Engine
// project. Here they are written in the site's civil time, 5 hours behind UT.

#include "night/nightclock.h"
#include "night/nightevents.h"
#include "night/nighttext.h"
#include "night/objectnight.h"
#include "objectlist/bodyrecords.h"
#include "sky/coordinates.h"
#include "sky/horizon.h"
#include "sky/skytime.h"
#include "support/objects.h"

#include <QtTest>

namespace {

using Event = std::optional<double> NightEvents::*;

SkyState SiteSky(double latDeg, double lonDeg, int zone, bool dst = false) {
    SkyState sky;
    SetObserverPosition(sky, DegToRad(latDeg), DegToRad(lonDeg));
    SetSiteClock(sky, std::int16_t(zone), dst);
    return sky;
}

QDateTime CivilOf(const char* text) {
    const QDateTime t =
        QDateTime::fromString(QLatin1String(text), QStringLiteral("yyyy-MM-dd HH:mm"));
    return QDateTime(t.date(), t.time(), Qt::UTC);
}

double MinutesApart(double a, double b) {
    return std::fabs(a - b) * 1440;
}

QString LineValue(const std::vector<NightLine>& lines, const QString& label) {
    for (const NightLine& line : lines)
        if (line.label == label) return line.value;
    return QStringLiteral("(no line)");
}

AppState StateAt(const SkyState& sky, std::array<std::int16_t, 8> horizon) {
    AppState state;
    state.sky = sky;
    BuildHorizonProfile(state.horizon, horizon);
    return state;
}

int Pick(AppState& state, CatalogObject object) {
    state.store.objects.push_back(object);
    for (auto& slot : state.listSlots)
        if (slot == 0) {
            slot = std::int16_t(state.store.objects.size());
            break;
        }
    return int(state.store.objects.size()) - 1;
}

} // namespace

class TestNight : public QObject {
    Q_OBJECT
private slots:
    void almanacEvents_data();
    void almanacEvents();
};

void TestNight::almanacEvents_data() {
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<QDateTime>("typed");
    QTest::addColumn<int>("event");
    QTest::addColumn<QDateTime>("expected"); // invalid: "none" that night
    QTest::addColumn<double>("tolerance");   // minutes, beyond the tables' rounding

    const auto row = [](const char* name, double lat, double lon, const char* typed, int event,
                        const char* expected, double tolerance) {
        QTest::newRow(name) << lat << lon << CivilOf(typed) << event
                            << (expected ? CivilOf(expected) : QDateTime()) << tolerance;
    };
    // Night of 2019-12-10: the Moon, nearly full, rose before sunset and sets before sunrise.
    row("2019-12-10 sunset", 29, -81, "2019-12-10 20:00", 0, "2019-12-10 17:27", 1);
    row("2019-12-10 sunrise", 29, -81, "2019-12-10 20:00", 1, "2019-12-11 07:07", 1);
    row("2019-12-10 no moonrise", 29, -81, "2019-12-10 20:00", 2, nullptr, 0);
    row("2019-12-10 moonset", 29, -81, "2019-12-10 20:00", 3, "2019-12-11 06:24", 2);
    // Night of 2019-12-13: the Moon rises after sunset and sets after sunrise.
    row("2019-12-13 sunset", 29, -81, "2019-12-13 23:00", 0, "2019-12-13 17:28", 1);
    row("2019-12-13 moonrise", 29, -81, "2019-12-13 23:00", 2, "2019-12-13 19:01", 2);
    row("2019-12-13 no moonset", 29, -81, "2019-12-13 23:00", 3, nullptr, 0);
    // Twilight at Orlando: the evening of 2022-01-22 and the morning before it.
    row("2022-01-22 civil ends", 28.538, -81.379, "2022-01-22 12:00", 4, "2022-01-22 18:21", 1);
    row("2022-01-22 nautical ends", 28.538, -81.379, "2022-01-22 12:00", 5, "2022-01-22 18:50", 1);
    row("2022-01-22 astronomical ends", 28.538, -81.379, "2022-01-22 12:00", 6, "2022-01-22 19:18",
        1);
    row("2022-01-22 astronomical begins", 28.538, -81.379, "2022-01-22 03:00", 7,
        "2022-01-22 05:55", 1);
    row("2022-01-22 nautical begins", 28.538, -81.379, "2022-01-22 03:00", 8, "2022-01-22 06:23",
        1);
    row("2022-01-22 civil begins", 28.538, -81.379, "2022-01-22 03:00", 9, "2022-01-22 06:52", 1);
}

void TestNight::almanacEvents() {
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(QDateTime, typed);
    QFETCH(int, event);
    QFETCH(QDateTime, expected);
    QFETCH(double, tolerance);
    static const Event events[] = {&NightEvents::sunset,           &NightEvents::sunrise,
                                   &NightEvents::moonrise,         &NightEvents::moonset,
                                   &NightEvents::civilEnds,        &NightEvents::nauticalEnds,
                                   &NightEvents::astronomicalEnds, &NightEvents::astronomicalBegins,
                                   &NightEvents::nauticalBegins,   &NightEvents::civilBegins};
    const SkyState sky = SiteSky(lat, lon, -5);
    const NightEvents night = ComputeNightEvents(sky, typed);
    const std::optional<double>& found = night.*events[event];
    if (!expected.isValid()) {
        QVERIFY2(!found, qPrintable(DaysToCivil(sky, found.value_or(0)).toString()));
        return;
    }
    QVERIFY(found);
    // The tables round to the minute: half a minute on top of the tolerance.
    const double apart = MinutesApart(*found, CivilToDays(sky, expected));
    QVERIFY2(apart <= tolerance + 0.5, qPrintable(DaysToCivil(sky, *found).toString(Qt::ISODate) +
                                                  QStringLiteral(" is %1 min off").arg(apart)));
}

QTEST_GUILESS_MAIN(TestNight)
#include "test_night.moc"
