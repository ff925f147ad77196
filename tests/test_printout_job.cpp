#include "printout/paintersurface.h"
#include "printout/printjob.h"
#include "printout/recordingsurface.h"
#include "sky/coordinates.h"
#include "sky/skytime.h"
#include "sky/textformats.h"

#include <QFontMetricsF>
#include <QPrinter>
#include <QtTest>

namespace {

QDateTime At(int hour, int minute, int day = 15) {
    return QDateTime(QDate(2024, 3, day), QTime(hour, minute), Qt::UTC);
}

// `count` objects "OBJ 1".. in slots 0.., at a northern site, the sky following the clock.
AppState MakeState(int count) {
    AppState state;
    for (int i = 0; i < count; ++i) {
        CatalogObject o;
        o.Designation = QStringLiteral("OBJ %1").arg(i + 1);
        o.RA = (2.0 * i) * PiValue / 180.0;
        o.Dec = DegToRad(10.0 + 5 * i);
        o.Mag = 8.4;
        state.store.objects.push_back(o);
        state.listSlots[i] = std::int16_t(i + 1);
    }
    SetObserverPosition(state.sky, DegToRad(45.0), DegToRad(-75.0));
    state.sky.UseNow = true;
    return state;
}

struct Printed {
    RecordingSurface s;
    int objectsPerPage = 0;
    int stepsPerPage = 0;
};

Printed Print(AppState& state, QDateTime stop, double width = 8.0, double height = 10.5,
              QDateTime start = At(20, 0)) {
    Printed out{RecordingSurface(width, height)};
    PrintJob job(state, out.s, start, stop, 10);
    job.Run();
    out.objectsPerPage = job.ObjectsPerPage;
    out.stepsPerPage = job.StepsPerPage;
    return out;
}

bool IsRowTop(double y) {
    const double k = (y - 0.6) / 0.4;
    return y >= 0.6 && qAbs(k - std::round(k)) < 1e-6;
}

// The time column of a sheet, "date time" per row.
QStringList TimeColumn(const RecordingSurface& s, int sheet) {
    QStringList out;
    const auto texts = s.textsOnSheet(sheet);
    for (size_t i = 0; i + 1 < texts.size(); ++i)
        if (texts[i].x == 0 && IsRowTop(texts[i].y)) out << texts[i].text + ' ' + texts[i + 1].text;
    return out;
}

// Per sheet: "OBJ 1:19,OBJ 2:19" = each head with the number of cells under it.
QString Blocks(const RecordingSurface& s, int sheet) {
    QStringList out;
    const auto texts = s.textsOnSheet(sheet);
    for (const auto& head : texts) {
        if (head.font != QLatin1String("Arial Narrow") || head.points != 10) continue;
        const auto cells = std::count_if(texts.begin(), texts.end(), [&](const auto& t) {
            return qFuzzyCompare(t.x, head.x) && IsRowTop(t.y);
        });
        out << QStringLiteral("%1:%2").arg(head.text.trimmed()).arg(cells);
    }
    return out.join(',');
}

QString Label(const QDateTime& t) {
    return ShortDateText(t) + ' ' + LongTimeText(t);
}

} // namespace

class TestPrintoutJob : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void pageSets_data() {
        QTest::addColumn<int>("objects");
        QTest::addColumn<QDateTime>("stop");
        QTest::addColumn<double>("width");
        QTest::addColumn<QStringList>("sheets"); // blocks per sheet
        QTest::addColumn<QList<int>>("firstSteps");
        const QDateTime step30 = At(20, 0).addSecs(29 * 600);
        // 20:00 to 23:00 every 10 minutes: 19 steps; 6 blocks on 8 inches.
        QTest::newRow("8 x 19")
            << 8 << At(23, 0) << 8.0
            << QStringList{"OBJ 1:19,OBJ 2:19,OBJ 3:19,OBJ 4:19,OBJ 5:19,OBJ 6:19",
                           "OBJ 7:19,OBJ 8:19"}
            << QList<int>{0, 0};
        QTest::newRow("30 steps, 24 a page")
            << 1 << step30 << 8.0 << QStringList{"OBJ 1:24", "OBJ 1:6"} << QList<int>{0, 24};
        QTest::newRow("30 steps, 7 objects")
            << 7 << step30 << 8.0
            << QStringList{"OBJ 1:24,OBJ 2:24,OBJ 3:24,OBJ 4:24,OBJ 5:24,OBJ 6:24", "OBJ 7:24",
                           "OBJ 1:6,OBJ 2:6,OBJ 3:6,OBJ 4:6,OBJ 5:6,OBJ 6:6", "OBJ 7:6"}
            << QList<int>{0, 0, 24, 24};
        QTest::newRow("step on the stop")
            << 1 << At(20, 30) << 8.0 << QStringList{"OBJ 1:4"} << QList<int>{0};
        QTest::newRow("a second short of it")
            << 1 << At(20, 29).addSecs(59) << 8.0 << QStringList{"OBJ 1:3"} << QList<int>{0};
        // Narrower than one block: still one block a page.
        QTest::newRow("narrow page")
            << 2 << At(20, 10) << 2.0 << QStringList{"OBJ 1:2", "OBJ 2:2"} << QList<int>{0, 0};
    }
    void pageSets() {
        QFETCH(int, objects);
        QFETCH(QDateTime, stop);
        QFETCH(double, width);
        QFETCH(QStringList, sheets);
        QFETCH(QList<int>, firstSteps);
        AppState state = MakeState(objects);
        const Printed p = Print(state, stop, width);
        QVERIFY(p.s.ended() && p.s.scaleSetToInches() && !p.s.drewBeforeScale());
        QCOMPARE(p.s.sheetCount(), int(sheets.size()));
        for (int sheet = 0; sheet < p.s.sheetCount(); ++sheet) {
            QCOMPARE(Blocks(p.s, sheet), sheets[sheet]);
            // Every sheet has its own time column over the steps of its set.
            const QStringList column = TimeColumn(p.s, sheet);
            QCOMPARE(int(column.size()),
                     sheets[sheet].section(':', 1, 1).section(',', 0, 0).toInt());
            QCOMPARE(column.first(), Label(At(20, 0).addSecs(600 * firstSteps[sheet])));
        }
    }

    void pageCapacity() {
        AppState state = MakeState(1);
        const struct {
            double w, h;
            int objects, steps;
        } cases[] = {{8.0, 10.5, 6, 24}, {7.99, 11.41, 6, 27}, {2.2, 1.0, 1, 1}, {1.5, 0.5, 1, 1}};
        for (const auto& c : cases) {
            const Printed p = Print(state, At(20, 20), c.w, c.h);
            QCOMPARE(p.objectsPerPage, c.objects);
            QCOMPARE(p.stepsPerPage, c.steps);
        }
    }

    void slotsAreReadWhereverTheyAre() {
        AppState state = MakeState(3);
        state.listSlots.fill(0);
        state.listSlots[4] = 3;
        QCOMPARE(Blocks(Print(state, At(20, 20)).s, 0), QStringLiteral("OBJ 3:3"));
        state.listSlots[30] = 1;
        QCOMPARE(Blocks(Print(state, At(20, 20)).s, 0), QStringLiteral("OBJ 3:3,OBJ 1:3"));
        // No occupied slot: nothing drawn, the time untouched, and the job ends.
        state.listSlots.fill(0);
        state.sky.UseNow = true;
        const Printed p = Print(state, At(23, 0));
        QVERIFY(p.s.ended());
        QCOMPARE(p.s.sheetCount(), 0);
        QVERIFY(state.sky.UseNow);
    }

    void headAndCellTexts() {
        AppState state = MakeState(2);
        CatalogObject& o = state.store.objects[1];
        o.Designation = QStringLiteral("NGC 7000 NORTH AMERICA");
        o.Comment = QStringLiteral("North America Nebula, large and faint");
        o.Mag = 0;
        const Printed p = Print(state, At(0, 0, 16), 8.0, 10.5, At(23, 50));
        using T = RecordingSurface::Text;
        std::vector<T> block1;
        for (const T& t : p.s.texts())
            if (qFuzzyCompare(t.x, 2.16) && t.y < 0.6) block1.push_back(t);
        // Each head line at the block's left, one line of its font below the previous.
        const double l10 = RecordingSurface::lineHeightInches(10);
        QStringList head;
        for (const T& t : block1)
            head << QStringLiteral("%1 %2 %3 %4").arg(t.text, t.font).arg(t.points).arg(t.y / l10);
        QCOMPARE(head, (QStringList{"NGC 7000 NORTH AME Arial Narrow 10 0",
                                    "North America Nebula, lar Arial Narrow 6 1",
                                    "Mag:.0 Courier 10 1.6"}));
        // Row 1 is midnight: the time column, then the cell, azimuth above altitude.
        std::vector<T> row1;
        for (const T& t : p.s.texts())
            if (t.y >= 1.0 - 1e-9 && t.y < 1.4 && t.x < 2) row1.push_back(t);
        QCOMPARE(int(row1.size()), 4);
        QCOMPARE(row1[0].text + '|' + row1[1].text, QStringLiteral("03/16/24|12:00:00 AM"));
        SkyState sky = state.sky;
        SetObservingTime(sky, At(0, 0, 16));
        SetTarget(sky, state.store.objects[0].RA, state.store.objects[0].Dec);
        const double alt = TargetAltitude(sky);
        QCOMPARE(row1[2].text, AngleText(TargetAzimuth(sky)));
        QCOMPARE(row1[3].text, AngleText(alt));
        for (const T& t : {row1[2], row1[3]})
            QVERIFY(t.x == 1.0 && t.font == QLatin1String("Courier") && t.points == 10);
        QVERIFY(std::any_of(p.s.texts().begin(), p.s.texts().end(),
                            [](const T& t) { return t.text == QLatin1String("Mag:8.4"); }));
    }

    void rules() {
        AppState state = MakeState(2);
        const Printed p = Print(state, At(20, 10)); // 2 rows
        const double q = 1.16;
        using S = LineStyle;
        const std::vector<std::tuple<double, double, double, double, int, S>> expected = {
            {0, 0.5, 2.0, 0.5, 10, S::Dashed},  {0, 0.9, 2.0, 0.9, 1, S::Dotted},
            {0.95, 0, 0.95, 1.0, 3, S::Dashed}, {0, 1.3, 2.0, 1.3, 1, S::Dotted},
            {0.95, 0, 0.95, 1.4, 3, S::Dashed}, {0, 0.5, 2 + q, 0.5, 10, S::Dashed},
            {0, 0.9, 2 + q, 0.9, 1, S::Dotted}, {0.95 + q, 0, 0.95 + q, 1.0, 3, S::Dashed},
            {0, 1.3, 2 + q, 1.3, 1, S::Dotted}, {0.95 + q, 0, 0.95 + q, 1.4, 3, S::Dashed},
        };
        QCOMPARE(p.s.lines().size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const auto& l = p.s.lines()[i];
            const auto& [x1, y1, x2, y2, w, style] = expected[i];
            QVERIFY2(qAbs(l.x1 - x1) + qAbs(l.y1 - y1) + qAbs(l.x2 - x2) + qAbs(l.y2 - y2) < 1e-9 &&
                         l.widthDots == w && l.style == style,
                     qPrintable(QString::number(i)));
        }
    }

    void leavesFixedTimeAtLastStep() {
        AppState state = MakeState(8);
        const QDateTime last = At(20, 0).addSecs(29 * 600);
        Print(state, last.addSecs(300));
        QVERIFY(!state.sky.UseNow);
        QCOMPARE(state.sky.ObservingTime, last);
    }

    void fontsFitTheirPlaces() {
        QPrinter printer(QPrinter::HighResolution);
        const double dpi = printer.resolution();
        const auto inches = [&](const char* name, double points, const QString& text) {
            return QFontMetricsF(PainterSurface::ResolveFont(name, points), &printer)
                       .horizontalAdvance(text) /
                   dpi;
        };
        const QFont courier = PainterSurface::ResolveFont(QStringLiteral("Courier"), 10);
        QVERIFY(QFontInfo(courier).fixedPitch());
        // Block texts end before the next block's rule; the time column before the first.
        QVERIFY(inches("Courier", 10, AngleText(DegToRad(-33.5))) < 1.11);
        QVERIFY(inches("Courier", 10, QStringLiteral("12:00:00 AM")) < 0.95);
        QVERIFY(inches("Arial Narrow", 10, QStringLiteral("NGC 2237 Rosette N")) < 1.11);
        QVERIFY(inches("Arial Narrow", 6, QStringLiteral("Rosette Nebula; with NGC ")) < 1.11);
        // The row rule, 0.3 inch below the row top, passes below the second line's baseline.
        const auto box =
            PainterSurface::LineBoxOf(QStringLiteral("Courier"), 10, courier, &printer);
        QVERIFY((box.height + box.ascent) / dpi < 0.28);
        QVERIFY(box.height / dpi >= 10.0 / 72.0);
    }

    void unopenableTargetsAreRefused() {
        QVERIFY(!OpenPrinterSurface(PrintTarget{QString(), "/nonexistent-dir/x/chart.pdf"}));
        QVERIFY(!OpenPrinterSurface(PrintTarget{QStringLiteral("no such printer 42"), QString()}));
    }
};

QTEST_MAIN(TestPrintoutJob)
#include "test_printout_job.moc"
