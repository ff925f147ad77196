#include "sky/coordinates.h"
#include "sky/skytime.h"

#include <QtTest>

namespace {

QDateTime Civil(int y, int mo, int d, int h, int mi, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

// Days from 2000-01-01 12:00 UT to a UT calendar instant, by plain day arithmetic.
double DaysAt(const QDate& utDate, double utHours) {
    return double(QDate(2000, 1, 1).daysTo(utDate)) - 0.5 + utHours / 24;
}

} // namespace

class TestSkyTime : public QObject {
    Q_OBJECT
private slots:
    void timeValues() {
        const double early = DaysAt(QDate(1997, 4, 6), 0);
        struct Case {
            const char* name;
            QDateTime local;
            int zone;
            bool daylight;
            double lonDeg, days, ut, siderealDeg; // NaN: sidereal not checked
        } const cases[] = {
            {"epoch", Civil(2000, 1, 1, 12, 0), 0, false, 0, 0, 12, 280.46},
            {"epoch as 07:00 at -5", Civil(2000, 1, 1, 7, 0), -5, false, 0, 0, 12, 280.46},
            {"epoch as 08:00 DST at -5", Civil(2000, 1, 1, 8, 0), -5, true, 0, 0, 12, 280.46},
            {"epoch at 75 W", Civil(2000, 1, 1, 7, 0), -5, false, -75, 0, 12, 205.46},
            {"23:30 at -5, next day", Civil(2024, 3, 14, 23, 30), -5, false, 0,
             DaysAt(QDate(2024, 3, 15), 4.5), 4.5, qQNaN()},
            {"01:00 at +3, previous day", Civil(2024, 3, 14, 1, 0), 3, false, 0,
             DaysAt(QDate(2024, 3, 13), 22), 22, qQNaN()},
            {"19:00 at -5 stays 24", Civil(2024, 3, 14, 19, 0), -5, false, 0,
             DaysAt(QDate(2024, 3, 15), 0), 24, qQNaN()},
            {"13:00 at -5 DST", Civil(2024, 7, 4, 13, 0), -5, true, 0,
             DaysAt(QDate(2024, 7, 4), 17), 17, qQNaN()},
            {"13:00 at -5", Civil(2024, 7, 4, 13, 0), -5, false, 0, DaysAt(QDate(2024, 7, 4), 18),
             18, qQNaN()},
            {"one second", Civil(2000, 1, 1, 12, 0, 1), 0, false, 0, 1.0 / 86400, 12 + 1.0 / 3600,
             qQNaN()},
            // The sum is below -360 here; 360 is added once only.
            {"before the epoch", Civil(1997, 4, 6, 0, 0), 0, false, -170, early, 0,
             early * 0.985647 + 100.46 - 170 + 360},
        };
        for (const Case& c : cases) {
            SkyState sky;
            QVERIFY(SetObservingTime(sky, c.local));
            SetSiteClock(sky, std::int16_t(c.zone), c.daylight);
            SetObserverPosition(sky, 0, DegToRad(c.lonDeg));
            SetTarget(sky, 0, 0);
            TargetAltitude(sky);
            QVERIFY2(qAbs(sky.DaysFromJ2000 - c.days) < 1e-9, c.name);
            QVERIFY2(qAbs(sky.UniversalHours - c.ut) < 1e-12, c.name);
            QVERIFY2(qIsNaN(c.siderealDeg) ||
                         qAbs(RadToDeg(sky.SiderealAngle) - c.siderealDeg) < 1e-9,
                     c.name);
            // The three separate operations give what the altitude computation stored.
            QCOMPARE(ComputeDaysFromJ2000(sky), sky.DaysFromJ2000);
            QCOMPARE(ComputeUniversalHours(sky), sky.UniversalHours);
            QCOMPARE(ComputeSiderealAngle(sky), sky.SiderealAngle);
        }
    }

    void settingTheObservingTime() {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        SkyState sky;
        QVERIFY(SetObservingTime(sky, QStringLiteral("3/14/2024 9:05:07 PM"), us));
        QVERIFY(!sky.UseNow);
        QCOMPARE(sky.ObservingTime, Civil(2024, 3, 14, 21, 5, 7));
        // "Now" keeps the typed instant; "now" is no keyword and no date, so nothing changes.
        QVERIFY(SetObservingTime(sky, QStringLiteral("Now")));
        QVERIFY(sky.UseNow);
        QCOMPARE(sky.ObservingTime, Civil(2024, 3, 14, 21, 5, 7));
        sky.UseNow = false;
        QVERIFY(!SetObservingTime(sky, QStringLiteral("now"), us));
        QVERIFY(!sky.UseNow);
        // A value of any time zone setting gives its calendar fields, without the milliseconds.
        QVERIFY(SetObservingTime(
            sky, QDateTime(QDate(2024, 7, 1), QTime(23, 59, 59, 870), Qt::LocalTime)));
        QCOMPARE(sky.ObservingTime, Civil(2024, 7, 1, 23, 59, 59));
        QCOMPARE(sky.ObservingTime.timeSpec(), Qt::UTC);
        QVERIFY(!SetObservingTime(sky, QDateTime()));
    }

    void computerTimeZoneNeverShiftsTheTypedInstant() {
        // 02:30 on the day New York springs forward does not exist there; as a civil time of
        // the site it is still 02:30, which is 07:30 UT at zone -5.
        const QByteArray oldTz = qgetenv("TZ");
        qputenv("TZ", "America/New_York");
        SkyState sky;
        SetObservingTime(sky, QStringLiteral("3/10/2024 2:30:00 AM"),
                         QLocale(QLocale::English, QLocale::UnitedStates));
        SetSiteClock(sky, -5, false);
        const double ut = ComputeUniversalHours(sky);
        oldTz.isEmpty() ? qunsetenv("TZ") : qputenv("TZ", oldTz);
        QCOMPARE(sky.ObservingTime, Civil(2024, 3, 10, 2, 30));
        QCOMPARE(ut, 7.5);
    }

    void nowModeFollowsTheClock() {
        auto clock = std::make_shared<FixedClock>(Civil(2024, 3, 14, 23, 0));
        SkyState sky;
        sky.clock = clock;
        SetObservingTime(sky, QStringLiteral("Now"));
        SetSiteClock(sky, 1, false);
        QCOMPARE(ComputeUniversalHours(sky), 22.0);
        const double before = ComputeDaysFromJ2000(sky);
        QVERIFY(qAbs(before - DaysAt(QDate(2024, 3, 14), 22)) < 1e-9);
        clock->advanceSeconds(3600);
        QCOMPARE(ComputeUniversalHours(sky), 23.0);
        QVERIFY(qAbs(ComputeDaysFromJ2000(sky) - before - 1.0 / 24) < 1e-9);
        // A clock handing back Qt::LocalTime values is read by its calendar fields alone.
        clock->set(QDateTime(QDate(2024, 3, 14), QTime(10, 0), Qt::LocalTime));
        QCOMPARE(ComputeUniversalHours(sky), 9.0);
    }

    void systemClockGivesLocalCalendarTime() {
        SystemClock clock;
        for (int i = 0; i < 3; ++i) {
            const QDateTime local = QDateTime::currentDateTime();
            const QDateTime read = clock.localNow();
            QCOMPARE(read.timeSpec(), Qt::UTC);
            QVERIFY(qAbs(QDateTime(local.date(), local.time(), Qt::UTC).msecsTo(read)) < 1500);
            QTest::qWait(400);
        }
    }
};

QTEST_MAIN(TestSkyTime)
#include "test_sky_time.moc"
