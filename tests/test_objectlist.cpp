// Choosing objects into the chooser, picking them into rows and the rows' texts.

#include "objectlist/bodyrecords.h"
#include "objectlist/objectrows.h"
#include "objectlist/selection.h"
#include "sky/coordinates.h"
#include "sky/skytime.h"
#include "support/objects.h"

#include <QtTest>
#include <cmath>
#include <erfa.h>

namespace {

// The runs as the readers lay them out: Messier, listed SAC, the gap up to 500 slots behind the
// Messier run, other SAC, NGC, IC. Ends: 3, 6, 505, 509, 511.
AppState Runs() {
    AppState state;
    ObjectStore& s = state.store;
    // clang-format off
    for (auto [l, name, mag] : {std::tuple{"M", "M 1", 8.4}, {"M", "M 31", 3.4}, {"M", "M 45", 1.6}, {"H", "NGC 40", 10.7},
                                {"C", "NGC 188", 8.1}, {"B", "NGC 7000", 4.0}, {"", "", 0.0}, {"S", "NGC 1", 12.9},
                                {"S", "NGC 2", 8.0}, {"N", "NGC 224", 3.4}, {"N", "NGC 225", 8.0}, {"N", "NGC 226", 8.01},
                                {"N", "NGC 227", 0.0}, {"I", "IC 342", 9.1}, {"I", "IC 434", 7.3}})
        *l ? s.objects.push_back(MakeObject(l, name, 0, 0, mag)) : s.objects.resize(503);
    // clang-format on
    s.MessierEnd = 3, s.ListedEnd = 6, s.SacEnd = 505, s.NgcEnd = 509, s.IcEnd = 511;
    s.ObjectCount = 14;
    return state;
}

// Boxes as the letters ticked, e.g. "MN" (P the Planets box); the names chosen.
QStringList Select(AppState& state, const QString& boxes, double limit, bool showAll = false,
                   bool inView = false) {
    SelectionOptions o;
    bool* ticks[] = {&o.messier, &o.herschel, &o.caldwell, &o.bestNgc,
                     &o.sac,     &o.ngc,      &o.ic,       &o.planets};
    for (int i = 0; i < 8; ++i)
        *ticks[i] = boxes.contains(QLatin1Char("MHCBSNIP"[i]));
    o.magLimit = limit, o.showAll = showAll, o.inViewOnly = inView;
    const SelectionResult r = SelectObjects(state, o);
    QStringList names;
    for (const QString& line : r.lines)
        names << line.left(20).trimmed();
    return names << r.statsText;
}

} // namespace

class TestObjectList : public QObject {
    Q_OBJECT
private slots:
    void rowsChoosingAndPicking() {
        const QString d = "\u00B0"; // Best NGC and Caldwell rows are laid out like SAC rows
        // clang-format off
        const struct { const char *letter, *name, *type; double mag, alt, az; QString start; } layouts[] = {
            {"M", "M 31/NGC 224", "GX", 3.4, 45.5, 12.35, "M 31/NGC 224 GX   45" + d + " 30.0'   12" + d + " 21.0'  3.4 "},
            {"H", "NGC 7662 Blue Snowball", "PLNNB", 8.3, 0, 359.99, "NGC 7662 BPLNNB    0" + d + " 00.0'  359" + d + " 59.4'  8.3 "},
            {"N", "NGC 2237", "OC", 11.35, -0.25, 180, "NGC 2237     OC   -1" + d + " 45.0'  180" + d + " 00.0'11.35 "},
            {"P", "Moon", "MO", -12.7, 30, 100, "Moon         MO   30" + d + " 00.0'  100" + d + " 00.0'-12.7 "},
            {"P", "Venus", "PL", -4.123456, 30, 100, "Venus        PL   30" + d + " 00.0'  100" + d + " 00.0' -4.1 "},
            {"S", "NGC 1", "GX", 0, -33.5, 90, "NGC 1     GX     -34" + d + " 30.0'   90" + d + " 00.0'    0 "},
            {"C", "C 14 Double Cluster", "OPNCL", 4.3, 60, 30, "C 14 DoublOPNCL   60" + d + " 00.0'   30" + d + " 00.0'  4.3 "},
            {"B", "NGC 7000", "BRTNB", 4, 10, 300, "NGC 7000  BRTNB   10" + d + " 00.0'  300" + d + " 00.0'    4 "}};
        // clang-format on
        for (const auto& c : layouts) { // every column where the header puts it
            QCOMPARE(c.start.size(), 45);
            QCOMPARE(ObjectRowText(MakeObject(c.letter, c.name, 0, 0, c.mag, c.type),
                                   DegToRad(c.alt), DegToRad(c.az)),
                     c.start + QStringLiteral("comment of %1").arg(c.name).leftJustified(70));
        }
        // clang-format off
        const struct { const char* boxes; double limit; bool showAll; QStringList expected; int lastExamined; } cases[] = {
            {"", 20, false, {}, 0}, {"I", 20, false, {"IC 342", "IC 434"}, 510}, {"C", 20, false, {"NGC 188"}, 5},
            // 8.0 itself kept, 8.01 and 8.4 dropped, no magnitude (0) passes
            {"MN", 8, false, {"M 31", "M 45", "NGC 224", "NGC 225", "NGC 227"}, 508},
            {"S", 20, false, {"NGC 1", "NGC 2"}, 504}, {"HB", 0, true, {"NGC 40", "NGC 7000"}, 5}};
        // clang-format on
        for (const auto& c : cases) {
            AppState state = Runs();
            for (auto& o : state.store.objects)
                o.ListPos = 999; // stale numbers show which slots the pass rewrote
            QCOMPARE(Select(state, c.boxes, c.limit, c.showAll),
                     QStringList(c.expected)
                         << QString("%1 of 14 objects available.").arg(c.expected.size()));
            int k = 0;
            for (int i = 0; i < int(state.store.objects.size()); ++i) {
                const int pos = state.store.objects[size_t(i)].ListPos;
                QVERIFY(i > c.lastExamined ? pos == 999 : pos == 0 || pos == ++k);
            }
            QCOMPARE(k, int(c.expected.size()));
        }
        AppState state = Runs();
        state.store.objects[1].Comment = QString(80, u'x'); // cut at 70
        state.store.objects[2].Comment = QString();
        SelectObjects(state, SelectionOptions{true});
        QCOMPARE(
            SelectObjects(state, SelectionOptions{true}).lines,
            (QStringList{"M 31" + QString(16, ' ') + QString(70, 'x'), "M 45" + QString(86, ' ')}));
        // Picking (storing, a repeated pick and a freed row run through the main window's tests).
        state = Runs();
        Select(state, "MN", 20); // M 1, M 31, M 45, NGC 224..227
        QVERIFY(PickChooserEntry(state, -1).outcome == PickOutcome::NoEntry &&
                PickChooserEntry(state, 7).outcome == PickOutcome::NoEntry);
        FreeListRow(state, 22); // outside the rows: ignored
        // A shorter walk leaves old numbers behind it; a pick still finds the listed object.
        Select(state, "MB", 20); // entry 3 is now NGC 7000, NGC 224 keeps its 4
        QCOMPARE(PickChooserEntry(state, 3).storeIndex, 5);
        for (int j = 0; j < ObjectListRowCount; ++j)
            state.listSlots[size_t(j)] = std::int16_t(1 + j % 3);
        const ListSlots before = state.listSlots;
        QVERIFY(PickChooserEntry(state, 3).outcome == PickOutcome::ListFull &&
                state.listSlots == before);
    }

    void inViewOnlyFollowsHorizonAndClock() {
        AppState state;
        auto clock = std::make_shared<FixedClock>(QDateTime({2024, 3, 15}, {22, 0}, Qt::UTC));
        state.sky.clock = clock, state.sky.UseNow = true;
        SetObserverPosition(state.sky, DegToRad(45), DegToRad(-75));
        SetSiteClock(state.sky, -5, false);
        TargetAltitude(state.sky); // for the sidereal time of the instant
        const double lst = std::fmod(RadToDeg(state.sky.SiderealAngle), 360.0) / 15.0;
        state.store.objects = {MakeObject("M", "south", lst, 20, 5),  // on the meridian, alt 65
                               MakeObject("M", "pole", 7.0, 89.5, 5), // alt about 45, az about 0
                               MakeObject("M", "deep south", 3.0, -60, 5)}; // never above -15
        state.store.MessierEnd = state.store.IcEnd = state.store.ObjectCount = 3;
        // clang-format off
        const std::pair<std::array<std::int16_t, 8>, QStringList> cases[] = {{{0, 0, 0, 0, 0, 0, 0, 0}, {"south", "pole"}},
            {{50, 0, 0, 0, 0, 0, 0, 0}, {"south"}}, {{0, 0, 0, 0, 70, 0, 0, 0}, {"pole"}}, {{0, 0, 0, 0, 64, 0, 0, 0}, {"south", "pole"}}};
        // clang-format on
        for (const auto& [horizon, expected] : cases) {
            BuildHorizonProfile(state.horizon, horizon);
            QCOMPARE(Select(state, "M", 20, false, true),
                     QStringList(expected)
                         << QString("%1 of 3 objects available.").arg(expected.size()));
        }
        // The pass hands the clock back: twelve hours on, the south object is at lower culmination.
        state.horizon.fill(0), clock->advanceSeconds(12 * 3600);
        QCOMPARE(Select(state, "M", 20, false, true).first(), QStringLiteral("pole"));
    }

    // Unticked, the bodies behind the IC run change nothing. 2020-12-21 17:00 UT at Greenwich: the
    // Moon near first quarter, Mars to Neptune up, Mercury and Venus set. Outside 1000-3000 every
    // body says so, listed whatever the limit or the horizon.
    void moonAndPlanets() {
        // clang-format off
        AppState state = Runs(), without = Runs();
        AppendBodyRecords(state.store);
        const auto listPos = [](const CatalogObject& a, const CatalogObject& b) { return a.ListPos == b.ListPos; };
        for (const char* boxes : {"", "M", "MN", "SI", "HCB"})
            QVERIFY(Select(state, boxes, 8) == Select(without, boxes, 8) &&
                    std::equal(without.store.objects.begin(), without.store.objects.end(), state.store.objects.begin(), listPos));
        SetObserverPosition(state.sky, DegToRad(51.48), 0);
        SetObservingTime(state.sky, CivilTime({2020, 12, 21}, {17, 0}));
        const QStringList up{"Moon", "Mars", "Jupiter", "Saturn", "Uranus"}; // 6 and brighter
        QCOMPARE(Select(state, "P", 6, false, true), up + QStringList{"5 of 22 objects available."});
        QCOMPARE(Select(state, "MP", 6).mid(1, 5), (QStringList{"M 45", "Moon", "Mercury", "Venus", "Mars"}));
        QCOMPARE(Select(state, "P", 0, true, true).mid(5), (QStringList{"Neptune", "6 of 22 objects available."}));
        SelectionOptions planets;
        planets.planets = planets.showAll = true;
        const QString lines = SelectObjects(state, planets).lines.join('|');
        QVERIFY2(QRegularExpression("^Moon {16}MO  mag -1\\d\\.\\d  4\\d% lit, 3[0-3]\\.\\d' +\\|Mercury .*\\|"
                                    "Jupiter {13}PL  mag -[12]\\.\\d  100% lit, 3[23]\" +\\|Saturn ").match(lines).hasMatch(), qPrintable(lines));
        state.listSlots = {512, 2};
        // The years by the site's calendar, whichever side of Greenwich: the first and last minutes.
        const struct { int zone; QDate date; QTime time; bool placed; } edges[] = {
            {-5, {999, 12, 31}, {23, 59}, false}, {-5, {1000, 1, 1}, {0, 0}, true}, {-5, {3000, 12, 31}, {23, 59}, true},
            {-5, {3001, 1, 1}, {0, 0}, false}, {12, {1000, 1, 1}, {0, 0}, true}, {12, {3000, 12, 31}, {23, 59}, true}};
        for (const auto& e : edges) {
            SetSiteClock(state.sky, std::int16_t(e.zone), false);
            SetObservingTime(state.sky, CivilTime(e.date, e.time));
            const int listed = int(Select(state, "P", 0, false, true).size());
            const ObjectListRows rows = ShowObjectList(state);
            QVERIFY(rows.text[1].startsWith("M 31         GX ") && rows.text[1].contains(u'\u00B0'));
            QVERIFY2((rows.text[0] == "Moon         MO outside 1000-3000" + QString(82, ' ') && listed == 9) != e.placed,
                     qPrintable(e.date.toString(Qt::ISODate) + ": " + rows.text[0]));
        }
        // clang-format on
    }

    // Precise: a typed civil time at a site one hour east of Greenwich with daylight saving is
    // placed at UT 21:30, as ERFA's one-shot chain places it; rows, chooser and bodies follow,
    // and unticking gives back the very texts of before. Outside 1000-3000 catalogue objects
    // keep the quick formulas.
    void preciseAndBack() {
        AppState state = Runs();
        AppendBodyRecords(state.store);
        SetObserverPosition(state.sky, DegToRad(48.85), DegToRad(2.35));
        SetSiteClock(state.sky, 1, true);
        SetObservingTime(state.sky, CivilTime({2026, 3, 14}, {23, 30}));
        state.listSlots = {1, 2, 3, 10, 512, 516};
        const auto texts = [&] {
            const ObjectListRows rows = ShowObjectList(state);
            return Select(state, "MNP", 20, true, true) +
                   QStringList(rows.text.begin(), rows.text.end());
        };
        const QStringList quick = texts();
        state.sky.Precise = true;
        QVERIFY(texts() != quick);
        SetTarget(state.sky, 7.0 * PiValue / 180, DegToRad(40)); // high in the west
        const double altitude = TargetAltitude(state.sky), azimuth = TargetAzimuth(state.sky);
        double az = 0, zd = 0, ha = 0, dec = 0, ra = 0, eo = 0;
        eraAtco13(7.0 * 15 * PiValue / 180, DegToRad(40), 0, 0, 0, 0, 2461113.5, 21.5 / 24, 0,
                  DegToRad(2.35), DegToRad(48.85), 0, 0, 0, 1010, 10, 0.5, 0.55, &az, &zd, &ha,
                  &dec, &ra, &eo); // 2026-03-14 21:30 UTC
        QVERIFY(zd < DegToRad(60) && eraSeps(azimuth, altitude, az, PiValue / 2 - zd) < 5e-6);
        state.sky.Precise = false;
        QCOMPARE(texts(), quick);

        SetObservingTime(state.sky, CivilTime({3500, 1, 1}, {0, 0}));
        const QStringList far = texts();
        state.sky.Precise = true;
        QCOMPARE(texts(), far);
    }
};

QTEST_MAIN(TestObjectList)
#include "test_objectlist.moc"
