#include "sky/coordinates.h"
#include "sky/skytime.h"

#include <QtTest>
#include <cmath>

namespace {

double Deg(double d, double m = 0, double s = 0) {
    return d < 0 ? d - m / 60 - s / 3600 : d + m / 60 + s / 3600;
}

// Azimuth from an independent formula (two-argument arctangent, measured from south then turned
// to north), for comparison with the quadrant rule.
double ReferenceAzimuth(double phi, double delta, double h) {
    double a =
        std::atan2(std::sin(h), std::cos(h) * std::sin(phi) - std::tan(delta) * std::cos(phi)) +
        M_PI;
    if (a >= 2 * M_PI) a -= 2 * M_PI;
    return a;
}

// Fixes the stored altitude and hour angle as TargetAltitude would leave them, then asks for the
// azimuth.
double AzimuthAt(double phi, double delta, double h) {
    SkyState sky;
    sky.ObserverLatitude = phi;
    sky.TargetDeclination = delta;
    sky.TargetHourAngle = h;
    sky.TargetAltitudeValue =
        ArcSine(std::sin(delta) * std::sin(phi) + std::cos(phi) * std::cos(delta) * std::cos(h));
    return TargetAzimuth(sky);
}

double AngleGap(double a, double b) {
    double d = std::fmod(std::fabs(a - b), 2 * M_PI);
    return std::min(d, 2 * M_PI - d);
}

} // namespace

class TestSkyCoordinates : public QObject {
    Q_OBJECT
private slots:
    void conversions() {
        QCOMPARE(DegToRad(180), PiValue);
        QCOMPARE(RadToDeg(PiValue), 180.0);
        QCOMPARE(DegToRad(360), TwoPiValue);
        for (double d : {-123.456, -0.25, 0.0, 12.35, 359.99, 1234.5})
            QVERIFY(qAbs(RadToDeg(DegToRad(d)) - d) < 1e-12);
        // The program's pi is the written constant, a little below the library's.
        QVERIFY(PiValue < M_PI && M_PI - PiValue < 4e-15);
    }

    void arcSine() {
        for (double x : {-0.999999, -0.5, -1e-12, 0.0, 0.3, 0.8660254, 0.999999})
            QVERIFY(qAbs(ArcSine(x) - std::asin(x)) < 1e-9);
        // At the zenith and nadir (and past them through rounding) the value is the finite limit.
        QCOMPARE(ArcSine(1.0), PiValue / 2);
        QCOMPARE(ArcSine(-1.0), -PiValue / 2);
        QCOMPARE(ArcSine(1.0 + 1e-16 * 4), PiValue / 2);
        QVERIFY(qAbs(ArcSine(std::nextafter(1.0, 0.0)) - PiValue / 2) < 1e-7);
    }

    void azimuthQuadrants_data() {
        QTest::addColumn<double>("latDeg");
        QTest::addColumn<double>("decDeg");
        QTest::addColumn<double>("hourDeg");
        QTest::addColumn<double>("low"); // the azimuth lies in [low, high] degrees
        QTest::addColumn<double>("high");
        QTest::newRow("east, den > 0, north-east") << 40.0 << 60.0 << -60.0 << 0.0 << 90.0;
        QTest::newRow("east, den < 0, south-east") << 40.0 << -10.0 << -30.0 << 90.0 << 180.0;
        QTest::newRow("west, den < 0, south-west") << 40.0 << -10.0 << 30.0 << 180.0 << 270.0;
        QTest::newRow("west, den > 0, north-west") << 40.0 << 60.0 << 60.0 << 270.0 << 360.0;
        QTest::newRow("west given as a large hour angle")
            << 40.0 << 60.0 << 60.0 + 360 * 7 << 270.0 << 360.0;
        QTest::newRow("east given past one turn") << 40.0 << -10.0 << 330.0 << 90.0 << 180.0;
        QTest::newRow("southern site, south-west") << -33.0 << -70.0 << 40.0 << 180.0 << 270.0;
        QTest::newRow("southern site, north-east") << -33.0 << 20.0 << -50.0 << 0.0 << 90.0;
        QTest::newRow("below the horizon") << 40.0 << -70.0 << 150.0 << 0.0 << 360.0;
    }
    void azimuthQuadrants() {
        QFETCH(double, latDeg);
        QFETCH(double, decDeg);
        QFETCH(double, hourDeg);
        QFETCH(double, low);
        QFETCH(double, high);
        const double phi = DegToRad(latDeg), delta = DegToRad(decDeg), h = DegToRad(hourDeg);
        const double az = AzimuthAt(phi, delta, h);
        QVERIFY2(az >= DegToRad(low) && az <= DegToRad(high),
                 qPrintable(QString::number(RadToDeg(az))));
        QVERIFY(qAbs(az - ReferenceAzimuth(phi, delta, h)) < 1e-9);
    }

    void meridian() {
        const double phi = DegToRad(40);
        // South of the zenith: exactly the program's pi. North of it: exactly 0 (not minus zero).
        QCOMPARE(AzimuthAt(phi, DegToRad(10), 0), PiValue);
        const double north = AzimuthAt(phi, DegToRad(70), 0);
        QCOMPARE(north, 0.0);
        QVERIFY(!std::signbit(north));
        QCOMPARE(AzimuthAt(phi, DegToRad(70), TwoPiValue * 3), 0.0);
    }

    void divideByZeroPointsAreFiniteAndContinuous() {
        // On the equator a target on the celestial equator is always on the prime vertical, so
        // den is exactly 0: due east or due west, as the neighbouring positions approach.
        const double west = AzimuthAt(0, 0, 1.0);
        const double east = AzimuthAt(0, 0, TwoPiValue - 1.0);
        QCOMPARE(west, 3 * PiValue / 2);
        QCOMPARE(east, PiValue / 2);
        for (double eps : {1e-7, -1e-7}) {
            QVERIFY(AngleGap(AzimuthAt(0, eps, 1.0), west) < 1e-6);
            QVERIFY(AngleGap(AzimuthAt(0, eps, TwoPiValue - 1.0), east) < 1e-6);
        }

        // Exactly at the zenith and nadir: finite altitude of +-90 degrees, finite azimuth.
        for (double h : {0.0, PiValue}) {
            SkyState sky;
            sky.ObserverLatitude = 0;
            sky.TargetDeclination = 0;
            sky.TargetHourAngle = h;
            sky.TargetAltitudeValue = ArcSine(std::cos(h));
            QVERIFY(qAbs(qAbs(RadToDeg(sky.TargetAltitudeValue)) - 90) < 1e-9);
            const double az = TargetAzimuth(sky);
            QVERIFY(std::isfinite(az) && az >= 0 && az < TwoPiValue);
        }

        // Latitude 40, declination 40, on the meridian: at the zenith to within rounding.
        SkyState sky;
        SetObserverPosition(sky, DegToRad(40), 0);
        SetObservingTime(sky, QDateTime(QDate(2000, 1, 1), QTime(12, 0), Qt::UTC));
        // Sidereal angle 280.46 degrees; a right ascension of 280.46/15 hours puts H at 0.
        SetTarget(sky, DegToRad(280.46 / 15), DegToRad(40));
        const double alt = TargetAltitude(sky);
        const double az = TargetAzimuth(sky);
        QVERIFY(qAbs(RadToDeg(alt) - 90) < 1e-5);
        QVERIFY(std::isfinite(az) && az >= 0 && az < TwoPiValue);

        // An observer at a pole: the altitude is the declination.
        SkyState pole;
        SetObserverPosition(pole, PiValue / 2, 0);
        SetTarget(pole, DegToRad(3), DegToRad(25));
        QVERIFY(qAbs(RadToDeg(TargetAltitude(pole)) - 25) < 1e-6);
        const double poleAz = TargetAzimuth(pole);
        QVERIFY(std::isfinite(poleAz) && poleAz >= 0 && poleAz < TwoPiValue);
    }

    // Reference positions from an independent ephemeris (ICRS, no refraction), for the local
    // civil times given. The formulas here ignore precession, so agreement is within half a
    // degree on the sky, not exact.
    void realPositions_data() {
        QTest::addColumn<double>("latDeg");
        QTest::addColumn<double>("lonDeg");
        QTest::addColumn<int>("zone");
        QTest::addColumn<bool>("daylight");
        QTest::addColumn<QDateTime>("local");
        QTest::addColumn<double>("raHours");
        QTest::addColumn<double>("decDeg");
        QTest::addColumn<double>("altDeg");
        QTest::addColumn<double>("azDeg");

        struct Site {
            const char* name;
            double lat, lon;
            int zone;
            bool daylight;
            QDateTime local;
        };
        const Site sites[] = {
            {"Denver July", Deg(39, 44), Deg(-104, 59), -7, true,
             QDateTime(QDate(2024, 7, 15), QTime(22, 30), Qt::UTC)},
            {"Denver January", Deg(39, 44), Deg(-104, 59), -7, false,
             QDateTime(QDate(2024, 1, 20), QTime(21, 0), Qt::UTC)},
            {"Sydney January", Deg(-33, 52), Deg(151, 13), 10, true,
             QDateTime(QDate(2024, 1, 20), QTime(22, 0), Qt::UTC)},
            {"Sydney July", Deg(-33, 52), Deg(151, 13), 10, false,
             QDateTime(QDate(2024, 7, 15), QTime(19, 0), Qt::UTC)},
            {"Berlin October", Deg(52, 31), Deg(13, 24), 1, true,
             QDateTime(QDate(2025, 10, 1), QTime(23, 15, 30), Qt::UTC)},
        };
        struct Star {
            const char* name;
            double raHours, decDeg;
        };
        const Star stars[] = {
            {"Vega", 18 + 36 / 60.0 + 56.3 / 3600, Deg(38, 47, 1)},
            {"Polaris", 2 + 31 / 60.0 + 49.1 / 3600, Deg(89, 15, 51)},
            {"M31", 0 + 42 / 60.0 + 44.3 / 3600, Deg(41, 16, 9)},
            {"Omega Cen", 13 + 26 / 60.0 + 47.3 / 3600, Deg(-47, 28, 46)},
            {"Sirius", 6 + 45 / 60.0 + 8.9 / 3600, Deg(-16, 42, 58)},
        };
        // alt, az per site (rows) and star (columns).
        const double expected[5][5][2] = {
            {{72.663, 85.872},
             {39.189, 0.430},
             {10.845, 44.247},
             {-10.047, 214.096},
             {-58.659, 310.152}},
            {{-8.356, 341.023},
             {40.281, 359.596},
             {42.477, 293.889},
             {-51.646, 119.806},
             {28.349, 150.937}},
            {{-70.202, 291.329},
             {-33.320, 359.626},
             {-5.785, 317.103},
             {4.497, 147.068},
             {61.058, 60.214}},
            {{-1.204, 42.203},
             {-34.501, 359.924},
             {-66.032, 63.195},
             {70.802, 218.963},
             {-12.552, 239.682}},
            {{45.039, 278.727},
             {52.794, 0.933},
             {68.153, 109.359},
             {-64.845, 265.491},
             {-30.405, 77.498}},
        };
        for (int s = 0; s < 5; ++s)
            for (int t = 0; t < 5; ++t)
                QTest::addRow("%s, %s", sites[s].name, stars[t].name)
                    << sites[s].lat << sites[s].lon << sites[s].zone << sites[s].daylight
                    << sites[s].local << stars[t].raHours << stars[t].decDeg << expected[s][t][0]
                    << expected[s][t][1];
    }
    void realPositions() {
        QFETCH(double, latDeg);
        QFETCH(double, lonDeg);
        QFETCH(int, zone);
        QFETCH(bool, daylight);
        QFETCH(QDateTime, local);
        QFETCH(double, raHours);
        QFETCH(double, decDeg);
        QFETCH(double, altDeg);
        QFETCH(double, azDeg);

        SkyState sky;
        SetObservingTime(sky, local);
        SetObserverPosition(sky, DegToRad(latDeg), DegToRad(lonDeg));
        SetSiteClock(sky, std::int16_t(zone), daylight);
        SetTarget(sky, DegToRad(raHours), DegToRad(decDeg));
        const double alt = RadToDeg(TargetAltitude(sky));
        const double az = RadToDeg(TargetAzimuth(sky));
        QVERIFY(az >= 0 && az < 360);

        // Separation on the sky between the two positions.
        const double a1 = altDeg * M_PI / 180, z1 = azDeg * M_PI / 180;
        const double a2 = alt * M_PI / 180, z2 = az * M_PI / 180;
        const double cosSep =
            std::sin(a1) * std::sin(a2) + std::cos(a1) * std::cos(a2) * std::cos(z1 - z2);
        const double sep = std::acos(std::min(1.0, cosSep)) * 180 / M_PI;
        QVERIFY2(
            sep < 0.5,
            qPrintable(QStringLiteral("alt %1 az %2, %3 degrees off").arg(alt).arg(az).arg(sep)));
        QVERIFY2(qAbs(alt - altDeg) < 0.5, qPrintable(QString::number(alt)));
    }

    void nowModeReadsTheClockForEveryPosition() {
        auto clock =
            std::make_shared<FixedClock>(QDateTime(QDate(2024, 7, 15), QTime(22, 30), Qt::UTC));
        SkyState sky;
        sky.clock = clock;
        SetObservingTime(sky, QStringLiteral("Now"));
        SetObserverPosition(sky, DegToRad(Deg(39, 44)), DegToRad(Deg(-104, 59)));
        SetSiteClock(sky, -7, true);
        SetTarget(sky, DegToRad(18 + 36 / 60.0 + 56.3 / 3600), DegToRad(Deg(38, 47, 1)));
        const double first = TargetAltitude(sky);
        QVERIFY(qAbs(RadToDeg(first) - 72.663) < 0.5);
        // Six hours on, Vega has sunk far to the west.
        clock->advanceSeconds(6 * 3600);
        const double later = TargetAltitude(sky);
        QVERIFY(RadToDeg(later) < 40);
        QVERIFY(RadToDeg(TargetAzimuth(sky)) > 270);
    }
};

QTEST_MAIN(TestSkyCoordinates)
#include "test_sky_coordinates.moc"
