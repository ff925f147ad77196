#include "sky/coordinates.h"
#include "sky/skytime.h"

#include <QtTest>
#include <cmath>

namespace {

double Dms(double d, double m = 0, double s = 0) {
    return d < 0 ? d - m / 60 - s / 3600 : d + m / 60 + s / 3600;
}

// Stores the altitude and hour angle as TargetAltitude would leave them, then asks for the azimuth.
double AzimuthAt(double phi, double delta, double h) {
    SkyState sky;
    sky.ObserverLatitude = phi;
    sky.TargetDeclination = delta;
    sky.TargetHourAngle = h;
    sky.TargetAltitudeValue =
        ArcSine(std::sin(delta) * std::sin(phi) + std::cos(phi) * std::cos(delta) * std::cos(h));
    return TargetAzimuth(sky);
}

// Azimuth by an independent formula: two-argument arctangent measured from south.
double ReferenceAzimuth(double phi, double delta, double h) {
    const double a =
        std::atan2(std::sin(h), std::cos(h) * std::sin(phi) - std::tan(delta) * std::cos(phi)) +
        M_PI;
    return a >= 2 * M_PI ? a - 2 * M_PI : a;
}

double AngleGap(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 2 * M_PI);
    return std::min(d, 2 * M_PI - d);
}

} // namespace

class TestSkyCoordinates : public QObject {
    Q_OBJECT
private slots:
    void conversionsAndArcSine() {
        QCOMPARE(DegToRad(180), PiValue);
        QCOMPARE(RadToDeg(PiValue), 180.0);
        QVERIFY(qAbs(RadToDeg(DegToRad(-123.456)) + 123.456) < 1e-12);
        for (double x : {-0.999999, -0.5, 0.0, 0.8660254, 0.999999})
            QVERIFY(qAbs(ArcSine(x) - std::asin(x)) < 1e-9);
        // At the zenith and nadir, and past them through rounding: the finite limit.
        QCOMPARE(ArcSine(1.0), PiValue / 2);
        QCOMPARE(ArcSine(-1.0), -PiValue / 2);
        QCOMPARE(ArcSine(1.0 + 4e-16), PiValue / 2);
    }

    void azimuthQuadrants() {
        struct Case {
            const char* name;
            double lat, dec, hour, low, high; // degrees; the azimuth lies in [low, high]
        } const cases[] = {
            {"north-east", 40, 60, -60, 0, 90},
            {"south-east", 40, -10, -30, 90, 180},
            {"south-west", 40, -10, 30, 180, 270},
            {"north-west", 40, 60, 60, 270, 360},
            {"north-west, many turns", 40, 60, 60 + 360 * 7, 270, 360},
            {"south-east past one turn", 40, -10, 330, 90, 180},
            {"southern site, south-west", -33, -70, 40, 180, 270},
            {"southern site, north-east", -33, 20, -50, 0, 90},
            {"below the horizon", 40, -70, 150, 0, 360},
        };
        for (const Case& c : cases) {
            const double phi = DegToRad(c.lat), delta = DegToRad(c.dec), h = DegToRad(c.hour);
            const double az = AzimuthAt(phi, delta, h);
            QVERIFY2(az >= DegToRad(c.low) && az <= DegToRad(c.high), c.name);
            QVERIFY2(qAbs(az - ReferenceAzimuth(phi, delta, h)) < 1e-9, c.name);
        }
        // On the meridian: south of the zenith exactly pi, north of it exactly +0.
        QCOMPARE(AzimuthAt(DegToRad(40), DegToRad(10), 0), PiValue);
        const double north = AzimuthAt(DegToRad(40), DegToRad(70), 0);
        QVERIFY(north == 0 && !std::signbit(north));
    }

    void divideByZeroPointsAreFiniteAndContinuous() {
        // On the equator a target on the celestial equator is on the prime vertical: den is
        // exactly 0, and the azimuth is the one its neighbours approach.
        const double west = AzimuthAt(0, 0, 1.0), east = AzimuthAt(0, 0, TwoPiValue - 1.0);
        QCOMPARE(west, 3 * PiValue / 2);
        QCOMPARE(east, PiValue / 2);
        for (double eps : {1e-7, -1e-7}) {
            QVERIFY(AngleGap(AzimuthAt(0, eps, 1.0), west) < 1e-6);
            QVERIFY(AngleGap(AzimuthAt(0, eps, TwoPiValue - 1.0), east) < 1e-6);
        }
        // Exactly at the zenith (H = 0) and nadir (H = pi) from the equator, at the zenith to
        // within rounding from latitude 40, and from a pole: finite values throughout.
        for (double h : {0.0, PiValue}) {
            const double az = AzimuthAt(0, 0, h);
            QVERIFY(std::isfinite(az) && az >= 0 && az < TwoPiValue);
        }
        for (double lat : {40.0, 90.0}) {
            SkyState sky;
            SetObserverPosition(sky, DegToRad(lat), 0);
            SetObservingTime(sky, QDateTime(QDate(2000, 1, 1), QTime(12, 0), Qt::UTC));
            // Sidereal angle 280.46 degrees, so this right ascension puts H at 0.
            SetTarget(sky, DegToRad(280.46 / 15), DegToRad(40));
            const double alt = RadToDeg(TargetAltitude(sky));
            const double az = TargetAzimuth(sky);
            QVERIFY(qAbs(alt - (lat == 40 ? 90 : 40)) < 1e-5);
            QVERIFY(std::isfinite(az) && az >= 0 && az < TwoPiValue);
        }
    }

    // Reference positions from an independent ephemeris (ICRS, no refraction) at the local
    // civil times given. These formulas ignore precession, so they agree within half a degree.
    void realPositions() {
        struct Site {
            const char* name;
            double lat, lon;
            std::int16_t zone;
            bool daylight;
            QDateTime local;
        } const sites[] = {
            // clang-format off
            {"Denver July", Dms(39, 44), Dms(-104, 59), -7, true, QDateTime({2024, 7, 15}, {22, 30}, Qt::UTC)},
            {"Denver January", Dms(39, 44), Dms(-104, 59), -7, false, QDateTime({2024, 1, 20}, {21, 0}, Qt::UTC)},
            {"Sydney January", Dms(-33, 52), Dms(151, 13), 10, true, QDateTime({2024, 1, 20}, {22, 0}, Qt::UTC)},
            {"Sydney July", Dms(-33, 52), Dms(151, 13), 10, false, QDateTime({2024, 7, 15}, {19, 0}, Qt::UTC)},
            {"Berlin October", Dms(52, 31), Dms(13, 24), 1, true, QDateTime({2025, 10, 1}, {23, 15, 30}, Qt::UTC)},
            // clang-format on
        };
        struct Star {
            const char* name;
            double raHours, decDeg;
        } const stars[] = {
            {"Vega", Dms(18, 36, 56.3), Dms(38, 47, 1)},
            {"Polaris", Dms(2, 31, 49.1), Dms(89, 15, 51)},
            {"M31", Dms(0, 42, 44.3), Dms(41, 16, 9)},
            {"Omega Cen", Dms(13, 26, 47.3), Dms(-47, 28, 46)},
            {"Sirius", Dms(6, 45, 8.9), Dms(-16, 42, 58)},
        };
        // Altitude and azimuth in degrees, per site (rows) and star (columns).
        // clang-format off
        const double expected[5][5][2] = {
            {{72.663, 85.872}, {39.189, 0.430}, {10.845, 44.247}, {-10.047, 214.096}, {-58.659, 310.152}},
            {{-8.356, 341.023}, {40.281, 359.596}, {42.477, 293.889}, {-51.646, 119.806}, {28.349, 150.937}},
            {{-70.202, 291.329}, {-33.320, 359.626}, {-5.785, 317.103}, {4.497, 147.068}, {61.058, 60.214}},
            {{-1.204, 42.203}, {-34.501, 359.924}, {-66.032, 63.195}, {70.802, 218.963}, {-12.552, 239.682}},
            {{45.039, 278.727}, {52.794, 0.933}, {68.153, 109.359}, {-64.845, 265.491}, {-30.405, 77.498}},
        };
        // clang-format on
        for (int s = 0; s < 5; ++s) {
            for (int t = 0; t < 5; ++t) {
                SkyState sky;
                SetObservingTime(sky, sites[s].local);
                SetObserverPosition(sky, DegToRad(sites[s].lat), DegToRad(sites[s].lon));
                SetSiteClock(sky, sites[s].zone, sites[s].daylight);
                SetTarget(sky, DegToRad(stars[t].raHours), DegToRad(stars[t].decDeg));
                const double alt = TargetAltitude(sky), az = TargetAzimuth(sky);
                const double refAlt = expected[s][t][0] * M_PI / 180,
                             refAz = expected[s][t][1] * M_PI / 180;
                // Separation on the sky between the two positions, in degrees.
                const double cosSep = std::sin(alt) * std::sin(refAlt) +
                                      std::cos(alt) * std::cos(refAlt) * std::cos(az - refAz);
                const double sep = std::acos(std::min(1.0, cosSep)) * 180 / M_PI;
                const QString where = QStringLiteral("%1, %2: alt %3 az %4")
                                          .arg(sites[s].name, stars[t].name)
                                          .arg(RadToDeg(alt))
                                          .arg(RadToDeg(az));
                QVERIFY2(az >= 0 && az < TwoPiValue && sep < 0.5, qPrintable(where));
                QVERIFY2(qAbs(alt - refAlt) * 180 / M_PI < 0.5, qPrintable(where));
            }
        }
    }
};

QTEST_MAIN(TestSkyCoordinates)
#include "test_sky_coordinates.moc"
