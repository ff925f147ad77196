#include "sky/coordinates.h"
#include "sky/skytime.h"

#include <QtTest>

namespace {

QDateTime Civil(int y, int mo, int d, int h, int mi, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

// Days from 2000-01-01 12:00 UT to the given UT calendar instant, by plain day arithmetic.
double DaysAt(const QDate& utDate, double utHours) {
    return double(QDate(2000, 1, 1).daysTo(utDate)) - 0.5 + utHours / 24;
}

} // namespace

class TestSkyTime : public QObject {
    Q_OBJECT
private slots:
    void timeValues_data() {
        QTest::addColumn<QDateTime>("local");
        QTest::addColumn<int>("zone");
        QTest::addColumn<bool>("daylight");
        QTest::addColumn<double>("lonDeg");
        QTest::addColumn<double>("days");
        QTest::addColumn<double>("ut");
        QTest::addColumn<double>("siderealDeg");

        QTest::newRow("epoch at Greenwich")
            << Civil(2000, 1, 1, 12, 0) << 0 << false << 0.0 << 0.0 << 12.0 << 280.46;
        QTest::newRow("epoch as 07:00 at zone -5")
            << Civil(2000, 1, 1, 7, 0) << -5 << false << 0.0 << 0.0 << 12.0 << 280.46;
        QTest::newRow("epoch as 08:00 daylight at zone -5")
            << Civil(2000, 1, 1, 8, 0) << -5 << true << 0.0 << 0.0 << 12.0 << 280.46;
        QTest::newRow("23:30 at zone -5 is the next UT day")
            << Civil(2024, 3, 14, 23, 30) << -5 << false << 0.0 << DaysAt(QDate(2024, 3, 15), 4.5)
            << 4.5 << qQNaN();
        QTest::newRow("01:00 at zone +3 is the previous UT day")
            << Civil(2024, 3, 14, 1, 0) << 3 << false << 0.0 << DaysAt(QDate(2024, 3, 13), 22)
            << 22.0 << qQNaN();
        QTest::newRow("19:00 at zone -5 stays 24")
            << Civil(2024, 3, 14, 19, 0) << -5 << false << 0.0 << DaysAt(QDate(2024, 3, 15), 0)
            << 24.0 << qQNaN();
        QTest::newRow("13:00 at zone -5 with daylight")
            << Civil(2024, 7, 4, 13, 0) << -5 << true << 0.0 << DaysAt(QDate(2024, 7, 4), 17)
            << 17.0 << qQNaN();
        QTest::newRow("13:00 at zone -5 without daylight")
            << Civil(2024, 7, 4, 13, 0) << -5 << false << 0.0 << DaysAt(QDate(2024, 7, 4), 18)
            << 18.0 << qQNaN();
        // West longitude enters the sidereal sum with its sign: 280.46 - 75.
        QTest::newRow("epoch at 75 W")
            << Civil(2000, 1, 1, 7, 0) << -5 << false << -75.0 << 0.0 << 12.0 << 205.46;
        // 1000 days before the epoch the sum is below -360; 360 is added once only.
        const double early = DaysAt(QDate(1997, 4, 6), 0);
        QTest::newRow("long before the epoch")
            << Civil(1997, 4, 6, 0, 0) << 0 << false << -170.0 << early << 0.0
            << (early * 0.985647 + 100.46 - 170.0 + 360);
        QTest::newRow("seconds count") << Civil(2000, 1, 1, 12, 0, 1) << 0 << false << 0.0
                                       << 1.0 / 86400 << 12 + 1.0 / 3600 << qQNaN();
    }
    void timeValues() {
        QFETCH(QDateTime, local);
        QFETCH(int, zone);
        QFETCH(bool, daylight);
        QFETCH(double, lonDeg);
        QFETCH(double, days);
        QFETCH(double, ut);
        QFETCH(double, siderealDeg);

        SkyState sky;
        QVERIFY(SetObservingTime(sky, local));
        SetSiteClock(sky, std::int16_t(zone), daylight);
        SetObserverPosition(sky, 0, DegToRad(lonDeg));
        sky.DaysFromJ2000 = ComputeDaysFromJ2000(sky);
        sky.UniversalHours = ComputeUniversalHours(sky);
        sky.SiderealAngle = ComputeSiderealAngle(sky);
        QVERIFY2(qAbs(sky.DaysFromJ2000 - days) < 1e-9,
                 qPrintable(QString::number(sky.DaysFromJ2000, 'g', 17)));
        QCOMPARE(sky.UniversalHours, ut);
        if (!qIsNaN(siderealDeg))
            QVERIFY2(qAbs(RadToDeg(sky.SiderealAngle) - siderealDeg) < 1e-9,
                     qPrintable(QString::number(RadToDeg(sky.SiderealAngle), 'g', 17)));

        // The altitude computation leaves the same three values behind.
        SkyState again = sky;
        SetTarget(again, 0, 0);
        TargetAltitude(again);
        QCOMPARE(again.DaysFromJ2000, sky.DaysFromJ2000);
        QCOMPARE(again.UniversalHours, sky.UniversalHours);
        QCOMPARE(again.SiderealAngle, sky.SiderealAngle);
    }

    void nowKeywordIsExactAndKeepsTheTypedInstant() {
        SkyState sky;
        const QDateTime typed = Civil(2024, 3, 14, 21, 5, 7);
        QVERIFY(SetObservingTime(sky, typed));
        QVERIFY(!sky.UseNow);
        QVERIFY(SetObservingTime(sky, QStringLiteral("Now")));
        QVERIFY(sky.UseNow);
        QCOMPARE(sky.ObservingTime, typed);

        // Lower case is not the keyword; it is no date either, so nothing changes.
        sky.UseNow = false;
        QVERIFY(!SetObservingTime(sky, QStringLiteral("now")));
        QVERIFY(!sky.UseNow);
        QCOMPARE(sky.ObservingTime, typed);
    }

    void typedTextFixesTheInstant() {
        SkyState sky;
        sky.UseNow = true;
        QVERIFY(SetObservingTime(sky, QStringLiteral("3/14/2024 9:05:07 PM"),
                                 QLocale(QLocale::English, QLocale::UnitedStates)));
        QVERIFY(!sky.UseNow);
        QCOMPARE(sky.ObservingTime, Civil(2024, 3, 14, 21, 5, 7));
    }

    void dateTimeValueKeepsCalendarFieldsAndWholeSeconds() {
        SkyState sky;
        // A local-spec value: only its calendar fields count, and the milliseconds go.
        const QDateTime local(QDate(2024, 7, 1), QTime(23, 59, 59, 870), Qt::LocalTime);
        QVERIFY(SetObservingTime(sky, local));
        QCOMPARE(sky.ObservingTime.timeSpec(), Qt::UTC);
        QCOMPARE(sky.ObservingTime, Civil(2024, 7, 1, 23, 59, 59));
        QVERIFY(!SetObservingTime(sky, QDateTime()));
        QCOMPARE(sky.ObservingTime, Civil(2024, 7, 1, 23, 59, 59));
    }

    void computerTimeZoneNeverShiftsTheTypedInstant() {
        // 02:30 on the day New York springs forward does not exist there; as a civil time of the
        // site it is still 02:30, and at zone -5 it is 07:30 UT.
        const QByteArray oldTz = qgetenv("TZ");
        qputenv("TZ", "America/New_York");
        SkyState sky;
        QVERIFY(SetObservingTime(sky, QStringLiteral("3/10/2024 2:30:00 AM"),
                                 QLocale(QLocale::English, QLocale::UnitedStates)));
        SetSiteClock(sky, -5, false);
        const double ut = ComputeUniversalHours(sky);
        const double days = ComputeDaysFromJ2000(sky);
        if (oldTz.isEmpty())
            qunsetenv("TZ");
        else
            qputenv("TZ", oldTz);
        QCOMPARE(sky.ObservingTime, Civil(2024, 3, 10, 2, 30));
        QCOMPARE(ut, 7.5);
        QVERIFY(qAbs(days - DaysAt(QDate(2024, 3, 10), 7.5)) < 1e-9);
    }

    void nowModeFollowsTheClock() {
        auto clock = std::make_shared<FixedClock>(Civil(2024, 3, 14, 23, 0));
        SkyState sky;
        sky.clock = clock;
        SetObservingTime(sky, Civil(2001, 1, 1, 0, 0));
        SetObservingTime(sky, QStringLiteral("Now"));
        SetSiteClock(sky, 1, false);
        QCOMPARE(ComputeUniversalHours(sky), 22.0);
        const double before = ComputeDaysFromJ2000(sky);
        QVERIFY(qAbs(before - DaysAt(QDate(2024, 3, 14), 22)) < 1e-9);

        clock->advanceSeconds(3600);
        QCOMPARE(ComputeUniversalHours(sky), 23.0);
        QVERIFY(qAbs(ComputeDaysFromJ2000(sky) - before - 1.0 / 24) < 1e-9);

        // A clock handing back local-spec values is read by its calendar fields alone.
        clock->set(QDateTime(QDate(2024, 3, 14), QTime(10, 0), Qt::LocalTime));
        QCOMPARE(ComputeUniversalHours(sky), 9.0);
    }

    void systemClockGivesTheComputersLocalCalendarTime() {
        SystemClock clock;
        for (int i = 0; i < 3; ++i) {
            const QDateTime local = QDateTime::currentDateTime();
            const QDateTime read = clock.localNow();
            QCOMPARE(read.timeSpec(), Qt::UTC);
            const QDateTime expected(local.date(), local.time(), Qt::UTC);
            QVERIFY2(qAbs(expected.msecsTo(read)) < 1500,
                     qPrintable(read.toString(Qt::ISODateWithMs)));
            QTest::qWait(400);
        }
    }
};

QTEST_MAIN(TestSkyTime)
#include "test_sky_time.moc"
