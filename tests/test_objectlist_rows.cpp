#include "objectlist/objectrows.h"
#include "sky/coordinates.h"
#include "sky/skytime.h"
#include "sky/textformats.h"

#include <QtTest>

namespace {

CatalogObject Obj(const QString& letter, const QString& name, double mag, const QString& type,
                  double raH = 0, double dec = 0) {
    CatalogObject o;
    o.Catalog = letter;
    o.Designation = name;
    o.Mag = mag;
    if (QStringLiteral("HCBS").contains(letter))
        o.SacType = type;
    else
        o.TypeCode = type;
    o.Comment = QStringLiteral("Comment here");
    o.RA = raH * PiValue / 180;
    o.Dec = DegToRad(dec);
    return o;
}

const QString Deg = QStringLiteral("\u00B0");
const QString Comment70 = QStringLiteral("Comment here").leftJustified(70);

} // namespace

class TestObjectListRows : public QObject {
    Q_OBJECT
private slots:
    void rowTextColumns() {
        struct Case {
            QString letter, name, type;
            double mag, alt, az;
            QString start;
        };
        const Case cases[] = {
            {"M", "M 31/NGC 224", "GX", 3.4, 45.5, 12.35,
             "M 31/NGC 224 GX   45" + Deg + " 30.0'   12" + Deg + " 21.0'  3.4 "},
            {"H", "NGC 7662 Blue Snowball", "PLNNB", 8.3, 0, 359.99,
             "NGC 7662 BPLNNB    0" + Deg + " 00.0'  359" + Deg + " 59.4'  8.3 "},
            {"N", "NGC 2237", "OC", 11.35, -0.25, 180, // below the horizon, longer magnitude
             "NGC 2237     OC   -1" + Deg + " 45.0'  180" + Deg + " 00.0' 11.35 "},
            {"S", "NGC 1", "GX", 0, -33.5, 90,
             "NGC 1     GX     -34" + Deg + " 30.0'   90" + Deg + " 00.0'    0 "},
        };
        for (const Case& c : cases)
            QCOMPARE(ObjectRowText(Obj(c.letter, c.name, c.mag, c.type), DegToRad(c.alt),
                                   DegToRad(c.az)),
                     c.start + Comment70);
    }

    void showObjectListWritesOccupiedRowsAtTheInstant() {
        AppState state;
        state.store.objects = {Obj("M", "M 31/NGC 224", 3.4, "GX", 0.712, 41.27),
                               Obj("H", "NGC 7662", 8.3, "PLNNB", 23.43, 42.5),
                               Obj("N", "NGC 2237", 11.35, "OC", 6.53, 5.0)};
        state.sky.clock = std::make_shared<FixedClock>(QDateTime({2024, 10, 5}, {21, 30}, Qt::UTC));
        SetObservingTime(state.sky, QStringLiteral("Now"));
        SetObserverPosition(state.sky, DegToRad(52.5), DegToRad(13.4));
        SetSiteClock(state.sky, 1, true);
        QVERIFY(!ShowObjectList(state).written[0]);

        state.listSlots[3] = 1, state.listSlots[10] = 3, state.listSlots[21] = 2;
        const ObjectListRows rows = ShowObjectList(state);
        for (int j = 0; j < ObjectListRowCount; ++j) {
            QCOMPARE(rows.written[size_t(j)], j == 3 || j == 10 || j == 21);
            if (!rows.written[size_t(j)]) continue;
            const CatalogObject& o = state.store.objects[size_t(state.listSlots[size_t(j)] - 1)];
            SkyState sky = state.sky;
            SetTarget(sky, o.RA, o.Dec);
            const double alt = TargetAltitude(sky);
            QCOMPARE(rows.text[size_t(j)], ObjectRowText(o, alt, TargetAzimuth(sky)));
        }
        // M 31 on an autumn evening in Berlin stands high in the east.
        const int alt = rows.text[3].mid(16, 4).toInt(), az = rows.text[3].mid(28, 4).toInt();
        QVERIFY2(alt > 30 && alt < 80 && az > 45 && az < 135, qPrintable(rows.text[3]));
    }

    void pickFreeAndFullList() {
        AppState state;
        for (int k = 0; k < 4; ++k) {
            state.store.objects.push_back(Obj("M", "M", 1, "GX"));
            state.store.objects.back().ListPos = std::int16_t(k + 1);
        }
        QCOMPARE(PickChooserEntry(state, -1).outcome, PickOutcome::NoEntry);
        QCOMPARE(PickChooserEntry(state, 4).outcome, PickOutcome::NoEntry); // no ListPos 5
        QCOMPARE(PickChooserEntry(state, 2).row, 0);
        QCOMPARE(PickChooserEntry(state, 0).row, 1);
        const PickResult again = PickChooserEntry(state, 0);
        QCOMPARE(again.outcome, PickOutcome::AlreadyListed);
        QCOMPARE(int(state.listSlots[2]), 0);

        // A freed row is filled by the next pick, even with an object shown further down.
        FreeListRow(state, 0);
        FreeListRow(state, 22); // outside the rows: ignored
        QCOMPARE(int(state.listSlots[1]), 1);
        QCOMPARE(PickChooserEntry(state, 0).outcome, PickOutcome::Stored);
        QCOMPARE(int(state.listSlots[0]), 1);

        for (int j = 0; j < ObjectListRowCount; ++j)
            state.listSlots[size_t(j)] = std::int16_t(1 + j % 3);
        const ListSlots before = state.listSlots;
        QCOMPARE(PickChooserEntry(state, 3).outcome, PickOutcome::ListFull);
        QVERIFY(state.listSlots == before);
    }
};

QTEST_MAIN(TestObjectListRows)
#include "test_objectlist_rows.moc"
