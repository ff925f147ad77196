#include "sky/coordinates.h"
#include "sky/horizon.h"

#include <QtTest>
#include <cmath>

class TestSkyHorizon : public QObject {
    Q_OBJECT
private slots:
    void profileFromCompassPoints() {
        HorizonProfile p;
        p.fill(-99);
        BuildHorizonProfile(p, {10, 20, 0, 0, 0, 0, 0, 0});
        const int first[91] = {10, 10, 10, 11, 11, 11, 11, 12, 12, 12, 12, 12, 13, 13, 13, 13,
                               14, 14, 14, 14, 14, 15, 15, 15, 15, 16, 16, 16, 16, 16, 17, 17,
                               17, 17, 18, 18, 18, 18, 18, 19, 19, 19, 19, 20, 20, 20, 20, 19,
                               19, 18, 18, 17, 17, 16, 16, 16, 15, 15, 14, 14, 13, 13, 12, 12,
                               12, 11, 11, 10, 10, 9,  9,  8,  8,  8,  7,  7,  6,  6,  5,  5,
                               4,  4,  4,  3,  3,  2,  2,  1,  1,  0,  0};
        for (int i = 0; i <= 90; ++i)
            QVERIFY2(p[i] == first[i], qPrintable(QString::number(i)));
        for (int i = 91; i <= 360; ++i)
            QVERIFY(i <= 315 ? p[i] == 0 : p[i] >= p[i - 1]); // NW back to north rises
        QCOMPARE(p[360], std::int16_t(10));

        BuildHorizonProfile(p, {15, 15, 15, 15, 15, 15, 15, 15});
        QVERIFY(std::all_of(p.begin(), p.end(), [](std::int16_t v) { return v == 15; }));
    }

    void inViewReadsTheNearestDegreeStrictly() {
        // A distinct value at every degree tells which entry was read.
        HorizonProfile p;
        for (int i = 0; i <= 360; ++i)
            p[i] = std::int16_t(i % 90);
        p[360] = 89;
        const struct {
            double az;
            int index;
        } cases[] = {{0.4, 0},     {0.5, 0},     {1.5, 2},     {2.5, 2},  {180.6, 181},
                     {359.4, 359}, {359.5, 360}, {359.6, 360}, {-3.0, 0}, {725.0, 360}};
        for (const auto& c : cases) {
            const double h = DegToRad(p[c.index]);
            QVERIFY2(!IsInView(p, h, DegToRad(c.az)), qPrintable(QString::number(c.az)));
            QVERIFY2(IsInView(p, std::nextafter(h, 10.0), DegToRad(c.az)),
                     qPrintable(QString::number(c.az)));
        }
        QVERIFY(!IsInView(p, std::nan(""), std::nan("")));
        // Without a site the profile is all zeros: anything above altitude 0 is in view.
        const HorizonProfile none{};
        QVERIFY(!IsInView(none, 0.0, 1.0));
        QVERIFY(IsInView(none, 1e-12, 1.0));
    }
};

QTEST_MAIN(TestSkyHorizon)
#include "test_sky_horizon.moc"
