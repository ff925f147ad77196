#include "objectlist/objectrows.h"
#include "sky/coordinates.h"
#include "sky/skytime.h"
#include "sky/textformats.h"

#include <QtTest>

namespace {

CatalogObject MakeObject(const QString& letter, const QString& name, double mag,
                         const QString& type, const QString& comment, double raHours = 0,
                         double decDeg = 0) {
    CatalogObject o;
    o.Catalog = letter;
    o.Designation = name;
    o.Mag = mag;
    const bool sac = QStringLiteral("HCBS").contains(letter);
    if (sac)
        o.SacType = type;
    else
        o.TypeCode = type;
    o.Comment = comment;
    o.RA = raHours * PiValue / 180;
    o.Dec = DegToRad(decDeg);
    return o;
}

QString Pad(const QString& text, int width) {
    return text.leftJustified(width, u' ', true);
}

const QString Deg = QStringLiteral("\u00B0");

// A fixed instant at a fixed site, in Now mode on a fixed clock.
void SetFixedSky(AppState& state) {
    state.sky.clock =
        std::make_shared<FixedClock>(QDateTime(QDate(2024, 10, 5), QTime(21, 30), Qt::UTC));
    SetObservingTime(state.sky, QStringLiteral("Now"));
    SetObserverPosition(state.sky, DegToRad(52.5), DegToRad(13.4));
    SetSiteClock(state.sky, 1, true);
}

void FillStore(ObjectStore& store) {
    store.objects = {
        MakeObject("M", "M 31/NGC 224", 3.4, "GX", "Andromeda Galaxy", 0.712, 41.27),
        MakeObject("H", "NGC 7662 Blue Snowball", 8.3, "PLNNB", "Blue Snowball", 23.43, 42.5),
        MakeObject("N", "NGC 2237", 11.35, "OC", "Open Cluster", 6.53, 5.0),
        MakeObject("I", "IC 1396", 3.5, "OC", "Open Cluster", 21.65, 57.5),
    };
    store.MessierEnd = 1;
    store.ListedEnd = 2;
    store.SacEnd = 2;
    store.NgcEnd = 3;
    store.IcEnd = 4;
    store.ObjectCount = 4;
}

} // namespace

class TestObjectListRows : public QObject {
    Q_OBJECT
private slots:
    void headerAndFreedRow() {
        QCOMPARE(ObjectListHeader(),
                 QStringLiteral("Object     Type    Altitude    Azimuth   Mag  Name/Comment"));
        QCOMPARE(FreedRowText(), QStringLiteral(" "));
    }

    void rowTextColumns_data() {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::addColumn<double>("mag");
        QTest::addColumn<double>("altDeg");
        QTest::addColumn<double>("azDeg");
        QTest::addColumn<QString>("expectedStart");

        QTest::newRow("Messier: 13-char name, type code")
            << "M"
            << "M 31/NGC 224"
            << "GX" << 3.4 << 45.5 << 12.35
            << "M 31/NGC 224 GX   45" + Deg + " 30.0'   12" + Deg + " 21.0'  3.4 ";
        QTest::newRow("Herschel: 10-char name, SAC type")
            << "H"
            << "NGC 7662 Blue Snowball"
            << "PLNNB" << 8.3 << 0.0 << 359.99
            << "NGC 7662 BPLNNB    0" + Deg + " 00.0'  359" + Deg + " 59.4'  8.3 ";
        QTest::newRow("below the horizon, magnitude of five characters")
            << "N"
            << "NGC 2237"
            << "OC" << 11.35 << -0.25 << 180.0
            << "NGC 2237     OC   -1" + Deg + " 45.0'  180" + Deg + " 00.0' 11.35 ";
        QTest::newRow("no magnitude")
            << "S"
            << "NGC 1"
            << "GX" << 0.0 << -33.5 << 90.0
            << "NGC 1     GX     -34" + Deg + " 30.0'   90" + Deg + " 00.0'    0 ";
    }
    void rowTextColumns() {
        QFETCH(QString, letter);
        QFETCH(QString, name);
        QFETCH(QString, type);
        QFETCH(double, mag);
        QFETCH(double, altDeg);
        QFETCH(double, azDeg);
        QFETCH(QString, expectedStart);

        const CatalogObject o = MakeObject(letter, name, mag, type, QStringLiteral("Comment here"));
        const QString row = ObjectRowText(o, DegToRad(altDeg), DegToRad(azDeg));
        QCOMPARE(row, expectedStart + Pad(QStringLiteral("Comment here"), 70));
    }

    void untouchedFieldsShowAsBlanks() {
        CatalogObject o;
        o.Catalog = QStringLiteral("N");
        o.Designation = QStringLiteral("NGC 9999");
        const QString row = ObjectRowText(o, 0, 0);
        QVERIFY(!row.contains(QChar(u'\0')));
        QCOMPARE(row.size(), 115);
        QCOMPARE(row.mid(13, 2), QStringLiteral("  "));
    }

    // Rows are placed at the instant in force; the expectation comes straight from the sky code.
    void showObjectListWritesOnlyOccupiedRows() {
        AppState state;
        FillStore(state.store);
        SetFixedSky(state);

        ObjectListRows rows = ShowObjectList(state);
        for (bool written : rows.written)
            QVERIFY(!written);

        state.listSlots[3] = 1;  // M 31
        state.listSlots[10] = 3; // NGC 2237
        state.listSlots[21] = 2; // NGC 7662 (H)
        rows = ShowObjectList(state);
        for (int j = 0; j < ObjectListRowCount; ++j) {
            const bool occupied = j == 3 || j == 10 || j == 21;
            QCOMPARE(rows.written[size_t(j)], occupied);
            if (!occupied) QVERIFY(rows.text[size_t(j)].isNull());
        }

        for (int j : {3, 10, 21}) {
            const CatalogObject& o = state.store.objects[size_t(state.listSlots[size_t(j)] - 1)];
            SkyState sky = state.sky;
            SetTarget(sky, o.RA, o.Dec);
            const double alt = TargetAltitude(sky);
            const double az = TargetAzimuth(sky);
            const QString row = rows.text[size_t(j)];
            QCOMPARE(row.mid(16, 11), AngleText(alt));
            QCOMPARE(row.mid(28, 11), AngleText(az));
            QCOMPARE(row.right(70), o.Comment.Text());
        }
        // M 31 on an autumn evening in Berlin stands high in the east.
        const QString m31 = rows.text[3];
        const int altDeg = m31.mid(16, 4).trimmed().toInt();
        const int azDeg = m31.mid(28, 4).trimmed().toInt();
        QVERIFY2(altDeg > 30 && altDeg < 80, qPrintable(m31));
        QVERIFY2(azDeg > 45 && azDeg < 135, qPrintable(m31));
        // The last row computed stays in the shared sky state.
        QCOMPARE(state.sky.TargetDeclination, state.store.objects[1].Dec);
    }

    void pickIntoRows() {
        AppState state;
        FillStore(state.store);
        for (int k = 0; k < 4; ++k)
            state.store.objects[size_t(k)].ListPos = std::int16_t(k + 1);

        QCOMPARE(PickChooserEntry(state, -1).outcome, PickOutcome::NoEntry);
        QCOMPARE(PickChooserEntry(state, 4).outcome, PickOutcome::NoEntry); // no ListPos 5

        PickResult p = PickChooserEntry(state, 2);
        QCOMPARE(p.outcome, PickOutcome::Stored);
        QCOMPARE(p.storeIndex, 2);
        QCOMPARE(p.row, 0);
        p = PickChooserEntry(state, 0);
        QCOMPARE(p.row, 1);
        QCOMPARE(int(state.listSlots[1]), 1);

        // Already shown, no free row before it: nothing added.
        p = PickChooserEntry(state, 0);
        QCOMPARE(p.outcome, PickOutcome::AlreadyListed);
        QCOMPARE(p.row, 1);
        QCOMPARE(int(state.listSlots[2]), 0);

        // A row click frees its slot and nothing else; the next pick fills the gap, and an
        // object shown further down is stored a second time when a free row comes first.
        FreeListRow(state, 0);
        QCOMPARE(int(state.listSlots[0]), 0);
        QCOMPARE(int(state.listSlots[1]), 1);
        p = PickChooserEntry(state, 0);
        QCOMPARE(p.outcome, PickOutcome::Stored);
        QCOMPARE(p.row, 0);
        QCOMPARE(int(state.listSlots[0]), 1);
        QCOMPARE(int(state.listSlots[1]), 1);

        FreeListRow(state, -1);
        FreeListRow(state, 22);
        state.listSlots[22] = 0;
        QCOMPARE(int(state.listSlots[0]), 1);
    }

    void pickIntoFullList() {
        AppState state;
        FillStore(state.store);
        state.store.objects[3].ListPos = 1;
        for (int j = 0; j < ObjectListRowCount; ++j)
            state.listSlots[size_t(j)] = std::int16_t(1 + j % 3); // records 0..2, never record 3
        const ListSlots before = state.listSlots;

        const PickResult p = PickChooserEntry(state, 0);
        QCOMPARE(p.outcome, PickOutcome::ListFull);
        QCOMPARE(p.storeIndex, 3);
        QVERIFY(state.listSlots == before);
        QCOMPARE(int(state.listSlots[22]), 0); // the spare slots are never written
    }
};

QTEST_MAIN(TestObjectListRows)
#include "test_objectlist_rows.moc"
