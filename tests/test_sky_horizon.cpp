#include "sky/coordinates.h"
#include "sky/horizon.h"

#include <QtTest>
#include <cmath>

class TestSkyHorizon : public QObject {
    Q_OBJECT
private slots:
    void northTenNorthEastTwenty() {
        HorizonProfile p{};
        p.fill(-99);
        BuildHorizonProfile(p, {10, 20, 0, 0, 0, 0, 0, 0});
        const std::int16_t rising[46] = {10, 10, 10, 11, 11, 11, 11, 12, 12, 12, 12, 12,
                                         13, 13, 13, 13, 14, 14, 14, 14, 14, 15, 15, 15,
                                         15, 16, 16, 16, 16, 16, 17, 17, 17, 17, 18, 18,
                                         18, 18, 18, 19, 19, 19, 19, 20, 20, 20};
        const std::int16_t falling[45] = {20, 19, 19, 18, 18, 17, 17, 16, 16, 16, 15, 15,
                                          14, 14, 13, 13, 12, 12, 12, 11, 11, 10, 10, 9,
                                          9,  8,  8,  8,  7,  7,  6,  6,  5,  5,  4,  4,
                                          4,  3,  3,  2,  2,  1,  1,  0,  0};
        for (int i = 0; i <= 45; ++i)
            QVERIFY2(p[i] == rising[i], qPrintable(QString::number(i)));
        for (int i = 46; i <= 90; ++i)
            QVERIFY2(p[i] == falling[i - 46], qPrintable(QString::number(i)));
        for (int i = 91; i <= 315; ++i)
            QCOMPARE(p[i], std::int16_t(0));
        // From NW back to north it rises to the north value, never falling on the way.
        for (int i = 316; i <= 360; ++i)
            QVERIFY(p[i] >= p[i - 1]);
        QCOMPARE(p[360], std::int16_t(10));
        QCOMPARE(p[0], std::int16_t(10));
    }

    void evenAndSteepHorizons() {
        HorizonProfile p{};
        BuildHorizonProfile(p, {15, 15, 15, 15, 15, 15, 15, 15});
        for (std::int16_t v : p)
            QCOMPARE(v, std::int16_t(15));

        // Each compass point holds its own value exactly, whatever the neighbours.
        const std::array<std::int16_t, 8> rough = {90, 0, 45, 7, 88, 1, 30, 60};
        BuildHorizonProfile(p, rough);
        for (int k = 0; k < 8; ++k)
            QCOMPARE(p[45 * k], rough[k]);
        QCOMPARE(p[360], std::int16_t(90));
        for (int i = 0; i < 360; ++i) {
            const int k = i / 45;
            QVERIFY(p[i] >= std::min(rough[k], rough[(k + 1) % 8]));
            QVERIFY(p[i] <= std::max(rough[k], rough[(k + 1) % 8]));
        }
    }

    void inViewLooksUpTheNearestDegree_data() {
        QTest::addColumn<double>("azDeg");
        QTest::addColumn<int>("index");
        QTest::newRow("0.4 uses north at 0") << 0.4 << 0;
        QTest::newRow("0.5 rounds to even 0") << 0.5 << 0;
        QTest::newRow("1.5 rounds to even 2") << 1.5 << 2;
        QTest::newRow("2.5 rounds to even 2") << 2.5 << 2;
        QTest::newRow("180.6") << 180.6 << 181;
        QTest::newRow("359.4") << 359.4 << 359;
        QTest::newRow("359.5 rounds to even 360") << 359.5 << 360;
        QTest::newRow("359.6 uses north at 360") << 359.6 << 360;
        QTest::newRow("below 0 stays in the table") << -3.0 << 0;
        QTest::newRow("past 360 stays in the table") << 725.0 << 360;
    }
    void inViewLooksUpTheNearestDegree() {
        QFETCH(double, azDeg);
        QFETCH(int, index);
        // A profile with a distinct value at every degree tells which entry was read.
        HorizonProfile p{};
        for (int i = 0; i <= 360; ++i)
            p[i] = std::int16_t(i % 90);
        p[360] = 89;
        const double h = DegToRad(p[index]);
        QVERIFY(!IsInView(p, h, DegToRad(azDeg)));
        QVERIFY(IsInView(p, std::nextafter(h, 10.0), DegToRad(azDeg)));
    }

    void inViewIsStrict() {
        HorizonProfile p{};
        // Without a site the profile is all zeros: above 0 is in view, 0 itself is not.
        QVERIFY(!IsInView(p, 0.0, 1.0));
        QVERIFY(IsInView(p, 1e-12, 1.0));
        QVERIFY(!IsInView(p, -0.1, 1.0));
        BuildHorizonProfile(p, {10, 20, 0, 0, 0, 0, 0, 0});
        QVERIFY(!IsInView(p, DegToRad(20), DegToRad(45)));
        QVERIFY(IsInView(p, DegToRad(20.01), DegToRad(45)));
        QVERIFY(!IsInView(p, std::nan(""), std::nan("")));
    }
};

QTEST_MAIN(TestSkyHorizon)
#include "test_sky_horizon.moc"
