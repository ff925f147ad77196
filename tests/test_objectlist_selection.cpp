#include "objectlist/objectrows.h"
#include "objectlist/selection.h"
#include "sky/coordinates.h"
#include "sky/horizon.h"
#include "sky/skytime.h"

#include <QtTest>
#include <cmath>

namespace {

CatalogObject MakeObject(const QString& letter, const QString& name, double mag, double raHours = 0,
                         double decDeg = 0, const QString& comment = QString()) {
    CatalogObject o;
    o.Catalog = letter;
    o.Designation = name;
    o.Mag = mag;
    o.RA = raHours * PiValue / 180;
    o.Dec = DegToRad(decDeg);
    if (!comment.isNull()) o.Comment = comment;
    return o;
}

// A small store laid out in the runs the readers produce: Messier, the listed SAC objects, the
// untouched gap up to 500 slots behind the Messier run, the other SAC objects, NGC, IC.
void FillStore(ObjectStore& store) {
    auto& v = store.objects;
    v.clear();
    v.push_back(MakeObject("M", "M 1/NGC 1952", 8.4, 0, 0, "Crab Nebula"));
    v.push_back(MakeObject("M", "M 31/NGC 224", 3.4, 0, 0, "Andromeda Galaxy"));
    v.push_back(MakeObject("M", "M 45", 1.6));
    store.MessierEnd = std::int16_t(v.size());
    v.push_back(MakeObject("H", "NGC 40", 10.7));
    v.push_back(MakeObject("C", "NGC 188", 8.1));
    v.push_back(MakeObject("B", "NGC 7000", 4.0));
    store.ListedEnd = std::int16_t(v.size());
    v.resize(size_t(store.MessierEnd + 500));
    v.push_back(MakeObject("S", "NGC 1", 12.9));
    v.push_back(MakeObject("S", "NGC 2", 8.0));
    store.SacEnd = std::int16_t(v.size());
    v.push_back(MakeObject("N", "NGC 224", 3.4));
    v.push_back(MakeObject("N", "NGC 225", 8.0));
    v.push_back(MakeObject("N", "NGC 226", 8.01));
    v.push_back(MakeObject("N", "NGC 227", 0));
    store.NgcEnd = std::int16_t(v.size());
    v.push_back(MakeObject("I", "IC 342", 9.1));
    v.push_back(MakeObject("I", "IC 434", 7.3));
    store.IcEnd = std::int16_t(v.size());
    store.ObjectCount = 15;
}

QStringList Names(const SelectionResult& r) {
    QStringList names;
    for (const QString& line : r.lines)
        names << line.left(20).trimmed();
    return names;
}

struct Boxes {
    bool m, h, c, b, s, n, i;
};

SelectionOptions Options(Boxes boxes, double limit, bool showAll = false) {
    SelectionOptions o;
    o.messier = boxes.m;
    o.herschel = boxes.h;
    o.caldwell = boxes.c;
    o.bestNgc = boxes.b;
    o.sac = boxes.s;
    o.ngc = boxes.n;
    o.ic = boxes.i;
    o.magLimit = limit;
    o.showAll = showAll;
    return o;
}

} // namespace

Q_DECLARE_METATYPE(SelectionOptions)

class TestObjectListSelection : public QObject {
    Q_OBJECT
private slots:
    void choosesByLetterWithinRuns_data() {
        QTest::addColumn<SelectionOptions>("options");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("lastExamined");

        // Run ends in the store above: Messier 3, listed 6, SAC 505, NGC 509, IC 511.
        QTest::newRow("nothing ticked examines slot 0 only")
            << Options({0, 0, 0, 0, 0, 0, 0}, 20) << QStringList() << 0;
        QTest::newRow("IC alone walks everything, keeps only I")
            << Options({0, 0, 0, 0, 0, 0, 1}, 20) << QStringList{"IC 342", "IC 434"} << 510;
        QTest::newRow("Messier and NGC at 8.0, store order")
            << Options({1, 0, 0, 0, 0, 1, 0}, 8.0)
            << QStringList{"M 31/NGC 224", "M 45", "NGC 224", "NGC 225", "NGC 227"} << 508;
        QTest::newRow("Caldwell box does not take the H or B objects")
            << Options({0, 0, 1, 0, 0, 0, 0}, 20) << QStringList{"NGC 188"} << 5;
        QTest::newRow("SAC box takes only the unlisted SAC objects")
            << Options({0, 0, 0, 0, 1, 0, 0}, 20) << QStringList{"NGC 1", "NGC 2"} << 504;
        QTest::newRow("limit exactly at a magnitude keeps it, a hair above drops it")
            << Options({0, 0, 0, 0, 0, 1, 0}, 8.0) << QStringList{"NGC 224", "NGC 225", "NGC 227"}
            << 508;
        QTest::newRow("no magnitude passes a limit of 0")
            << Options({0, 0, 0, 0, 0, 1, 0}, 0) << QStringList{"NGC 227"} << 508;
        QTest::newRow("Show All ignores the limit")
            << Options({1, 1, 1, 1, 0, 0, 0}, 0, true)
            << QStringList{"M 1/NGC 1952", "M 31/NGC 224", "M 45", "NGC 40", "NGC 188", "NGC 7000"}
            << 5;
    }
    void choosesByLetterWithinRuns() {
        QFETCH(SelectionOptions, options);
        QFETCH(QStringList, expected);
        QFETCH(int, lastExamined);

        AppState state;
        FillStore(state.store);
        // Stale numbers everywhere, so the test sees exactly which slots the pass rewrote.
        for (auto& o : state.store.objects)
            o.ListPos = 999;

        const SelectionResult r = SelectObjects(state, options);
        QCOMPARE(Names(r), expected);
        QCOMPARE(int(r.chosen), int(expected.size()));
        QCOMPARE(r.lastSlotExamined, lastExamined);

        // ListPos: k for the k-th chosen object, 0 for every other examined slot, untouched beyond.
        int k = 0;
        for (int i = 0; i < int(state.store.objects.size()); ++i) {
            const CatalogObject& o = state.store.objects[size_t(i)];
            if (i > lastExamined) {
                QCOMPARE(int(o.ListPos), 999);
            } else if (o.ListPos != 0) {
                ++k;
                QCOMPARE(int(o.ListPos), k);
                QCOMPARE(o.Designation.TrimmedText(), expected[k - 1]);
            }
        }
        QCOMPARE(k, int(expected.size()));
    }

    void chooserLinesAndCountText() {
        AppState state;
        FillStore(state.store);
        state.store.objects[1].Comment = QString(80, u'x'); // cut at 70

        SelectionResult r = SelectObjects(state, Options({1, 0, 0, 0, 0, 0, 1}, 8.0));
        QCOMPARE(r.statsText, QStringLiteral("3 of 15 objects available."));
        QCOMPARE(r.lines.size(), 3);
        for (const QString& line : r.lines) {
            QCOMPARE(line.size(), 90);
            QVERIFY(!line.contains(QChar(u'\0'))); // an untouched comment shows as blanks
        }
        QCOMPARE(r.lines[0], QStringLiteral("M 31/NGC 224        ") + QString(70, u'x'));
        QCOMPARE(r.lines[1], QStringLiteral("M 45") + QString(86, u' '));

        r = SelectObjects(state, Options({0, 0, 0, 0, 0, 0, 0}, 8.0));
        QCOMPARE(r.statsText, QStringLiteral("0 of 15 objects available."));
        QVERIFY(r.lines.isEmpty());
    }

    // After a shorter walk the slots beyond it keep numbers from the earlier, longer one; a pick
    // must still find the object the chooser shows.
    void pickAfterShorterWalkFindsFreshRecord() {
        AppState state;
        FillStore(state.store);
        SelectObjects(state, Options({1, 0, 0, 0, 0, 1, 0}, 20));
        QCOMPARE(int(state.store.objects[505].ListPos), 4); // NGC 224 was 4th

        const SelectionResult r = SelectObjects(state, Options({0, 0, 0, 0, 0, 0, 0}, 20));
        QCOMPARE(r.chosen, std::int16_t(0));
        QCOMPARE(int(state.store.objects[505].ListPos), 4);

        SelectObjects(state, Options({1, 0, 0, 1, 0, 0, 0}, 20));
        // Entry 3 is now NGC 7000 (slot 5), although slot 505 still carries an old 4 and the
        // Messier objects kept 1..3.
        const PickResult pick = PickChooserEntry(state, 3);
        QCOMPARE(pick.outcome, PickOutcome::Stored);
        QCOMPARE(pick.storeIndex, 5);
        QCOMPARE(int(state.listSlots[0]), 6);
    }

    void inViewOnlyFollowsHorizonAndClock() {
        AppState state;
        auto clock =
            std::make_shared<FixedClock>(QDateTime(QDate(2024, 3, 15), QTime(22, 0), Qt::UTC));
        state.sky.clock = clock;
        SetObservingTime(state.sky, QStringLiteral("Now"));
        SetObserverPosition(state.sky, DegToRad(45), DegToRad(-75));
        SetSiteClock(state.sky, -5, false);

        // The local sidereal angle of the instant, to put one object on the meridian now.
        SetTarget(state.sky, 0, 0);
        TargetAltitude(state.sky);
        const double lstHours = std::fmod(RadToDeg(state.sky.SiderealAngle), 360.0) / 15.0;

        auto& v = state.store.objects;
        v.push_back(MakeObject("M", "south", 5, lstHours, 20));  // alt 65, az 180 now
        v.push_back(MakeObject("M", "pole", 5, 7.0, 89.5));      // alt 44.5..45.5, az near 0
        v.push_back(MakeObject("M", "deep south", 5, 3.0, -60)); // never above -15
        state.store.MessierEnd = state.store.IcEnd = 3;
        state.store.ObjectCount = 3;

        SelectionOptions o = Options({1, 0, 0, 0, 0, 0, 0}, 20);
        o.inViewOnly = true;

        struct Case {
            std::array<std::int16_t, 8> horizon; // N, NE, E, SE, S, SW, W, NW
            QStringList expected;
        };
        const Case cases[] = {
            {{0, 0, 0, 0, 0, 0, 0, 0}, {"south", "pole"}},
            {{50, 0, 0, 0, 0, 0, 0, 0}, {"south"}},
            {{0, 0, 0, 0, 70, 0, 0, 0}, {"pole"}},
            {{0, 0, 0, 0, 64, 0, 0, 0}, {"south", "pole"}},
        };
        for (const Case& c : cases) {
            BuildHorizonProfile(state.horizon, c.horizon);
            const SelectionResult r = SelectObjects(state, o);
            QCOMPARE(Names(r), c.expected);
            // A hidden object is unlisted, so no chooser line can reach it.
            QCOMPARE(int(v[2].ListPos), 0);
        }

        // Twelve hours on, the southern object stands at lower culmination, below the horizon.
        state.horizon.fill(0);
        clock->advanceSeconds(12 * 3600);
        QCOMPARE(Names(SelectObjects(state, o)), QStringList{"pole"});

        // Without In View Only the positions do not matter.
        o.inViewOnly = false;
        QCOMPARE(SelectObjects(state, o).chosen, std::int16_t(3));
    }
};

QTEST_MAIN(TestObjectListSelection)
#include "test_objectlist_selection.moc"
