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
#include "sky/civiltime.h"
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

CivilTime CivilOf(const char* text) {
    const QDateTime t =
        QDateTime::fromString(QLatin1String(text), QStringLiteral("yyyy-MM-dd HH:mm"));
    return CivilTime(t.date(), t.time());
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
    // Against the almanac tables (29 N 81 W and Orlando, zone -5); an empty expectation: "none"
    // that night. The tables round to the minute: half a minute on top of the tolerance.
    void almanacEvents() {
        static const Event events[] = {
            &NightEvents::sunset,           &NightEvents::sunrise,
            &NightEvents::moonrise,         &NightEvents::moonset,
            &NightEvents::civilEnds,        &NightEvents::nauticalEnds,
            &NightEvents::astronomicalEnds, &NightEvents::astronomicalBegins,
            &NightEvents::nauticalBegins,   &NightEvents::civilBegins};
        const double orlandoLat = 28.538, orlandoLon = -81.379;
        const struct {
            double lat, lon;
            const char *typed, *expected;
            int event;
            double tolerance; // minutes
        } cases[] = {// Night of 2019-12-10: the Moon, nearly full, rose before sunset and sets
                     // before sunrise.
                     {29, -81, "2019-12-10 20:00", "2019-12-10 17:27", 0, 1},
                     {29, -81, "2019-12-10 20:00", "2019-12-11 07:07", 1, 1},
                     {29, -81, "2019-12-10 20:00", nullptr, 2, 0},
                     {29, -81, "2019-12-10 20:00", "2019-12-11 06:24", 3, 2},
                     // Night of 2019-12-13: the Moon rises after sunset and sets after sunrise.
                     {29, -81, "2019-12-13 23:00", "2019-12-13 17:28", 0, 1},
                     {29, -81, "2019-12-13 23:00", "2019-12-13 19:01", 2, 2},
                     {29, -81, "2019-12-13 23:00", nullptr, 3, 0},
                     // Twilight at Orlando: the evening of 2022-01-22 and the morning before it.
                     {orlandoLat, orlandoLon, "2022-01-22 12:00", "2022-01-22 18:21", 4, 1},
                     {orlandoLat, orlandoLon, "2022-01-22 12:00", "2022-01-22 18:50", 5, 1},
                     {orlandoLat, orlandoLon, "2022-01-22 12:00", "2022-01-22 19:18", 6, 1},
                     {orlandoLat, orlandoLon, "2022-01-22 03:00", "2022-01-22 05:55", 7, 1},
                     {orlandoLat, orlandoLon, "2022-01-22 03:00", "2022-01-22 06:23", 8, 1},
                     {orlandoLat, orlandoLon, "2022-01-22 03:00", "2022-01-22 06:52", 9, 1}};
        for (const auto& c : cases) {
            const SkyState sky = SiteSky(c.lat, c.lon, -5);
            const NightEvents night = ComputeNightEvents(sky, CivilOf(c.typed));
            const std::optional<double>& found = night.*events[c.event];
            const QString text = found ? CivilDateTimeText(DaysToCivil(sky, *found), QLocale::c())
                                       : QStringLiteral("none");
            const QString name =
                QStringLiteral("%1, event %2: %3").arg(c.typed).arg(c.event).arg(text);
            QVERIFY2(bool(found) == bool(c.expected), qPrintable(name));
            if (found)
                QVERIFY2(MinutesApart(*found, CivilToDays(sky, CivilOf(c.expected))) <=
                             c.tolerance + 0.5,
                         qPrintable(name));
        }
    }

    // 29 N 81 W, zone -5: sunset near 17:27, sunrise near 07:07. In the afternoon the coming night,
    // after midnight the night under way, after sunrise the next night.
    void whichNight() {
        const SkyState sky = SiteSky(29, -81, -5);
        for (const auto& [typed, sunsetDay] : {std::pair{"2019-12-10 14:00", 10},
                                               {"2019-12-10 22:00", 10},
                                               {"2019-12-11 03:00", 10},
                                               {"2019-12-11 07:30", 11}}) {
            const NightEvents night = ComputeNightEvents(sky, CivilOf(typed));
            QVERIFY2(night.sunset && night.sunrise, typed);
            const QDate sunsetDate(2019, 12, sunsetDay);
            QVERIFY2(DaysToCivil(sky, *night.sunset).date() == sunsetDate &&
                         DaysToCivil(sky, *night.sunrise).date() == sunsetDate.addDays(1) &&
                         night.from == *night.sunset && night.to == *night.sunrise,
                     typed);
        }
    }

    void highLatitudesSayWhatTheSunDoes() {
        // 60 N at midsummer: the Sun dips to about -6.6 deg, so civil twilight ends and begins but
        // nautical and astronomical darkness never come.
        const SkyState north60 = SiteSky(60, 0, 0);
        const NightEvents june = ComputeNightEvents(north60, CivilOf("2019-06-21 20:00"));
        QCOMPARE(june.kind, NightKind::Ordinary);
        QVERIFY(june.sunset && june.sunrise && june.civilEnds && june.civilBegins);
        QVERIFY(!june.nauticalEnds && !june.nauticalBegins);
        QVERIFY(!june.astronomicalEnds && !june.astronomicalBegins && june.darkness.empty());
        QCOMPARE(LineValue(NightLines(north60, june), "Dark without the Moon"),
                 QStringLiteral("no astronomical darkness"));
        QCOMPARE(LineValue(NightLines(north60, june), "Nautical twilight ends"),
                 QStringLiteral("none"));

        // 80 N: the Sun stays up all June day and down all December day.
        const SkyState north80 = SiteSky(80, 0, 0);
        const NightEvents day = ComputeNightEvents(north80, CivilOf("2019-06-21 22:00"));
        QCOMPARE(day.kind, NightKind::PolarDay);
        QVERIFY(!day.sunset && !day.sunrise && !day.civilEnds && day.darkness.empty());
        QVERIFY(NightHeadline(north80, day).contains("polar day"));
        QVERIFY(LineValue(NightLines(north80, day), "Dark without the Moon")
                    .contains("no astronomical"));

        // In December the Sun's noon altitude there is about -13.4 deg: no sunrise, no civil or
        // nautical limit, yet the astronomical limits are crossed.
        const NightEvents polar = ComputeNightEvents(north80, CivilOf("2019-12-21 22:00"));
        QCOMPARE(polar.kind, NightKind::PolarNight);
        QVERIFY(!polar.sunset && !polar.sunrise && !polar.civilEnds && !polar.nauticalBegins);
        QVERIFY(polar.astronomicalEnds && polar.astronomicalBegins);
        QVERIFY(NightHeadline(north80, polar).contains("polar night"));
        QCOMPARE(polar.to - polar.from, 1.0);
    }

    void nightAcrossTheEndOfDaylightTime() {
        // New York's clocks go back from 02:00 to 01:00 on 2026-11-01: the evening is read in
        // daylight time, the morning in standard time, and the instants are those of a site on
        // standard time all night.
        SkyState named = SiteSky(40.7, -74.0, -5, true);
        SetSiteClock(named, -5, true, QTimeZone("America/New_York"));
        const SkyState standard = SiteSky(40.7, -74.0, -5, false);
        const NightEvents a = ComputeNightEvents(named, CivilOf("2026-10-31 22:00"));
        const NightEvents b = ComputeNightEvents(standard, CivilOf("2026-10-31 21:00"));
        QVERIFY(a.sunset && a.sunrise && b.sunset && b.sunrise);
        QVERIFY(MinutesApart(*a.sunset, *b.sunset) < 0.05);
        QVERIFY(MinutesApart(*a.sunrise, *b.sunrise) < 0.05);
        QCOMPARE(DaysToCivil(named, *a.sunset).secsTo(DaysToCivil(standard, *b.sunset)), -3600);
        QCOMPARE(DaysToCivil(named, *a.sunrise), DaysToCivil(standard, *b.sunrise));
        QCOMPARE(a.to - a.from, b.to - b.from);
    }

    void darkWithoutTheMoonIsDarkAndMoonless() {
        // A night with the Moon setting part way through (2019-12-13, it rises at 19:01).
        const SkyState sky = SiteSky(29, -81, -5);
        const NightEvents night = ComputeNightEvents(sky, CivilOf("2019-12-13 23:00"));
        QCOMPARE(night.darkWithoutMoon.size(), std::size_t(1));
        const Span dark = night.darkWithoutMoon.front();
        QVERIFY(MinutesApart(dark.from, *night.astronomicalEnds) < 0.1);
        QVERIFY(MinutesApart(dark.to, *night.moonrise) < 0.1);
        for (double t = dark.from + 0.001; t < dark.to; t += 0.01) {
            QVERIFY(SunAltitude(t, sky.ObserverLatitude, sky.ObserverLongitude) <
                    AstronomicalTwilightAltitude);
            QVERIFY(MoonAboveRising(t, sky.ObserverLatitude, sky.ObserverLongitude) < 0);
        }
        const QString text = LineValue(NightLines(sky, night), "Dark without the Moon");
        QVERIFY2(text.contains(" \u2013 ") && text.endsWith("19:01:") == false, qPrintable(text));
        QVERIFY(LineValue(NightLines(sky, night), "Moon").contains("waning"));
    }

    // 41.7 N: declination -30 culminates due south at about 18 deg, +80 circles the pole between
    // about 32 and 52 deg. Horizons N NE E SE S SW W NW.
    void objectsAgainstTheSitesHorizon() {
        const struct {
            double dec;
            std::array<std::int16_t, 8> profile;
            UpKind up;
        } cases[] = {{-30, {30, 30, 5, 5, 5, 5, 5, 30}, UpKind::RisesOrSets}, // low southern trees
                     {-30, {0, 0, 25, 25, 25, 25, 25, 0}, UpKind::NeverUp},   // a southern ridge
                     {80, {0, 0, 0, 0, 0, 0, 0, 0}, UpKind::AlwaysUp},        // circumpolar
                     {80, {40, 40, 0, 0, 0, 0, 0, 40}, UpKind::RisesOrSets}}; // a northern ridge
        for (const auto& [dec, profile, upKind] : cases) {
            const int up = int(upKind);
            AppState state = StateAt(SiteSky(41.7, -77.8, -5), profile);
            Pick(state, MakeObject("N", "NGC 1", 3.0, dec, 8));
            const NightEvents night = ComputeNightEvents(state.sky, CivilOf("2026-12-10 21:00"));
            const std::vector<ObjectNight> objects = ComputeObjectNights(state, night);
            QCOMPARE(objects.size(), std::size_t(1));
            const ObjectNight& o = objects.front();
            QCOMPARE(int(o.up), up);
            const QStringList texts = ObjectLineTexts(state.sky, o);
            if (up == int(UpKind::NeverUp)) {
                QCOMPARE(texts.mid(1, 2), QStringList({"never up", "never up"}));
                QCOMPARE(texts[4], QStringLiteral("not tonight"));
            } else if (up == int(UpKind::AlwaysUp)) {
                QCOMPARE(texts.mid(1, 2), QStringList({"always up", "always up"}));
                QCOMPARE(o.clearInDarkness.size(), night.darkness.size());
            } else {
                QVERIFY(o.rises && o.sets);
            }
            QCOMPARE(o.path.size() > 100, true);
        }
    }

    void objectTimesFollowTheRows() {
        for (const bool precise : {false, true}) {
            // Rising, setting and the highest point agree with the rows' own test, "In View Only":
            // a minute before rising the object is not in view, a minute after it is.
            AppState state = StateAt(SiteSky(41.7, -77.8, -5), {8, 6, 5, 5, 45, 8, 8, 8});
            state.sky.Precise = precise;
            Pick(state, MakeObject("M", "M 42", 5.5883, -5.39, 4));
            AppendBodyRecords(state.store);
            state.listSlots[1] = std::int16_t(state.store.objects.size() - 8 + int(Body::Moon) + 1);
            state.listSlots[2] =
                std::int16_t(state.store.objects.size() - 8 + int(Body::Jupiter) + 1);
            // Already up at noon: the rise is the one before the evening, not the next day's.
            Pick(state, MakeObject("M", "M 31", 0.7123, 41.27, 3.4));
            const NightEvents night = ComputeNightEvents(state.sky, CivilOf("2026-12-10 21:00"));
            const std::vector<ObjectNight> objects = ComputeObjectNights(state, night);
            QCOMPARE(objects.size(), std::size_t(4));

            SkyState rows = state.sky;
            const auto inView = [&](const ObjectNight& o, double days) {
                SetObservingTime(rows, DaysToCivil(rows, days));
                const int body = BodyInSlot(state.store, o.storeIndex);
                if (body >= 0)
                    PlaceBodyRecord(state, o.storeIndex),
                        rows.ObservingTime = state.sky.ObservingTime;
                const CatalogObject& record = state.store.objects[std::size_t(o.storeIndex)];
                SetTarget(rows, record.RA, record.Dec);
                const double alt = TargetAltitude(rows);
                return std::pair{IsInView(state.horizon, alt, TargetAzimuth(rows)), alt};
            };
            const double minute = 1.0 / 1440;
            for (const ObjectNight& o : objects) {
                QVERIFY2(o.rises && o.sets && *o.rises < *o.sets, qPrintable(o.designation));
                state.sky.UseNow = false;
                for (double edge : {*o.rises, *o.sets}) {
                    state.sky.ObservingTime = DaysToCivil(state.sky, edge - 2 * minute);
                    const bool before = inView(o, edge - 2 * minute).first;
                    state.sky.ObservingTime = DaysToCivil(state.sky, edge + 2 * minute);
                    const bool after = inView(o, edge + 2 * minute).first;
                    QVERIFY2(before != after, qPrintable(o.designation));
                    QCOMPARE(after, edge == *o.rises);
                }
                for (double off : {-2 * minute, 2 * minute}) {
                    if (o.highestAt + off < night.from || o.highestAt + off > night.to) continue;
                    state.sky.ObservingTime = DaysToCivil(state.sky, o.highestAt + off);
                    QVERIFY(inView(o, o.highestAt + off).second <= o.highestAltitude + 1e-9);
                }
            }
            // M 42 (43 deg at its highest) passes behind the 45 deg southern ridge: clear twice.
            QCOMPARE(objects[0].clearInDarkness.size(), std::size_t(2));
        }
    }
};

QTEST_GUILESS_MAIN(TestNight)
#include "test_night.moc"
