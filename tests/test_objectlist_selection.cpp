#include "objectlist/objectrows.h"
#include "objectlist/selection.h"
#include "sky/coordinates.h"
#include "sky/skytime.h"

#include <QtTest>
#include <cmath>

namespace {

CatalogObject Obj(const char* letter, const char* name, double mag, double raH = 0,
                  double dec = 0) {
    CatalogObject o;
    o.Catalog = QString::fromLatin1(letter);
    o.Designation = QString::fromLatin1(name);
    o.Mag = mag;
    o.RA = raH * PiValue / 180;
    o.Dec = DegToRad(dec);
    return o;
}

// The runs as the readers lay them out: Messier, listed SAC, the gap up to 500 slots behind the
// Messier run, other SAC, NGC, IC. Ends: 3, 6, 505, 509, 511.
void FillStore(ObjectStore& s) {
    s.objects = {Obj("M", "M 1", 8.4),     Obj("M", "M 31", 3.4),    Obj("M", "M 45", 1.6),
                 Obj("H", "NGC 40", 10.7), Obj("C", "NGC 188", 8.1), Obj("B", "NGC 7000", 4.0)};
    s.objects.resize(503);
    for (auto o : {Obj("S", "NGC 1", 12.9), Obj("S", "NGC 2", 8.0), Obj("N", "NGC 224", 3.4),
                   Obj("N", "NGC 225", 8.0), Obj("N", "NGC 226", 8.01), Obj("N", "NGC 227", 0),
                   Obj("I", "IC 342", 9.1), Obj("I", "IC 434", 7.3)})
        s.objects.push_back(o);
    s.MessierEnd = 3, s.ListedEnd = 6, s.SacEnd = 505, s.NgcEnd = 509, s.IcEnd = 511;
    s.ObjectCount = 14;
}

QStringList Names(const SelectionResult& r) {
    QStringList names;
    for (const QString& line : r.lines)
        names << line.left(20).trimmed();
    return names;
}

// Boxes as a string of the letters ticked, e.g. "MN".
SelectionOptions Options(const QString& boxes, double limit, bool showAll = false) {
    SelectionOptions o;
    o.messier = boxes.contains('M'), o.herschel = boxes.contains('H');
    o.caldwell = boxes.contains('C'), o.bestNgc = boxes.contains('B');
    o.sac = boxes.contains('S'), o.ngc = boxes.contains('N'), o.ic = boxes.contains('I');
    o.magLimit = limit;
    o.showAll = showAll;
    return o;
}

} // namespace

class TestObjectListSelection : public QObject {
    Q_OBJECT
private slots:
    void choosesByLetterWithinRuns() {
        struct Case {
            const char* boxes;
            double limit;
            bool showAll;
            QStringList expected;
            int lastExamined;
        };
        const Case cases[] = {
            {"", 20, false, {}, 0}, // slot 0 only
            {"I", 20, false, {"IC 342", "IC 434"}, 510},
            // 8.0 itself kept, 8.01 and 8.4 dropped, no magnitude (0) passes
            {"MN", 8, false, {"M 31", "M 45", "NGC 224", "NGC 225", "NGC 227"}, 508},
            {"C", 20, false, {"NGC 188"}, 5},
            {"S", 20, false, {"NGC 1", "NGC 2"}, 504},
            {"N", 0, false, {"NGC 227"}, 508},
            {"HB", 0, true, {"NGC 40", "NGC 7000"}, 5},
        };
        for (const Case& c : cases) {
            AppState state;
            FillStore(state.store);
            for (auto& o : state.store.objects)
                o.ListPos = 999; // stale numbers show which slots the pass rewrote
            const SelectionResult r = SelectObjects(state, Options(c.boxes, c.limit, c.showAll));
            QCOMPARE(Names(r), c.expected);
            QCOMPARE(r.statsText, QString("%1 of 14 objects available.").arg(c.expected.size()));
            int k = 0;
            for (int i = 0; i < int(state.store.objects.size()); ++i) {
                const int pos = state.store.objects[size_t(i)].ListPos;
                if (i > c.lastExamined)
                    QCOMPARE(pos, 999);
                else if (pos != 0)
                    QCOMPARE(pos, ++k);
            }
            QCOMPARE(k, int(c.expected.size()));
        }
    }

    void chooserLinesAreNinetyCharacters() {
        AppState state;
        FillStore(state.store);
        state.store.objects[1].Comment = QString(80, u'x'); // cut at 70; M 45 has none at all
        const SelectionResult r = SelectObjects(state, Options("M", 8.0));
        QCOMPARE(r.lines, (QStringList{"M 31" + QString(16, ' ') + QString(70, 'x'),
                                       "M 45" + QString(86, ' ')}));
    }

    // A shorter walk leaves old numbers behind it; a pick must still find the listed object.
    void pickAfterShorterWalkFindsFreshRecord() {
        AppState state;
        FillStore(state.store);
        SelectObjects(state, Options("MN", 20));
        QCOMPARE(int(state.store.objects[505].ListPos), 4); // NGC 224
        SelectObjects(state, Options("MB", 20));            // entry 3 is now NGC 7000
        QCOMPARE(int(state.store.objects[505].ListPos), 4);
        QCOMPARE(PickChooserEntry(state, 3).storeIndex, 5);
        QCOMPARE(int(state.listSlots[0]), 6);
    }

    void inViewOnlyFollowsHorizonAndClock() {
        AppState state;
        auto clock = std::make_shared<FixedClock>(QDateTime({2024, 3, 15}, {22, 0}, Qt::UTC));
        state.sky.clock = clock;
        SetObservingTime(state.sky, QStringLiteral("Now"));
        SetObserverPosition(state.sky, DegToRad(45), DegToRad(-75));
        SetSiteClock(state.sky, -5, false);
        TargetAltitude(state.sky); // for the sidereal time of the instant
        const double lstHours = std::fmod(RadToDeg(state.sky.SiderealAngle), 360.0) / 15.0;
        state.store.objects = {Obj("M", "south", 5, lstHours, 20),   // on the meridian, alt 65
                               Obj("M", "pole", 5, 7.0, 89.5),       // alt about 45, az about 0
                               Obj("M", "deep south", 5, 3.0, -60)}; // never above -15
        state.store.MessierEnd = state.store.IcEnd = state.store.ObjectCount = 3;
        SelectionOptions o = Options("M", 20);
        o.inViewOnly = true;

        const std::pair<std::array<std::int16_t, 8>, QStringList> cases[] = {
            {{0, 0, 0, 0, 0, 0, 0, 0}, {"south", "pole"}},
            {{50, 0, 0, 0, 0, 0, 0, 0}, {"south"}},
            {{0, 0, 0, 0, 70, 0, 0, 0}, {"pole"}},
            {{0, 0, 0, 0, 64, 0, 0, 0}, {"south", "pole"}},
        };
        for (const auto& [horizon, expected] : cases) {
            BuildHorizonProfile(state.horizon, horizon);
            QCOMPARE(Names(SelectObjects(state, o)), expected);
            QCOMPARE(int(state.store.objects[2].ListPos), 0);
        }
        // The pass hands the clock back, so the next pass sees it move: twelve hours on the
        // southern object is at lower culmination.
        QCOMPARE(state.sky.clock.get(), static_cast<Clock*>(clock.get()));
        state.horizon.fill(0);
        clock->advanceSeconds(12 * 3600);
        QCOMPARE(Names(SelectObjects(state, o)), QStringList{"pole"});
        o.inViewOnly = false;
        QCOMPARE(SelectObjects(state, o).chosen, std::int16_t(3));
    }
};

QTEST_MAIN(TestObjectListSelection)
#include "test_objectlist_selection.moc"
