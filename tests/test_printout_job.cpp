#include "printout/paintersurface.h"
#include "printout/printjob.h"
#include "printout/recordingsurface.h"
#include "sky/coordinates.h"
#include "sky/skytime.h"
#include "sky/textformats.h"

#include <QFontMetricsF>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QDateTime At(int hour, int minute, int day = 15) {
    return QDateTime(QDate(2024, 3, day), QTime(hour, minute), Qt::UTC);
}

// A store of `count` objects named "OBJ 1".. with spread-out positions, all in the list from
// slot 0 on, at a northern site.
AppState MakeState(int count) {
    AppState state;
    for (int i = 0; i < count; ++i) {
        CatalogObject o;
        o.Catalog = QStringLiteral("N");
        o.Designation = QStringLiteral("OBJ %1").arg(i + 1);
        o.Comment = QStringLiteral("comment of object %1").arg(i + 1);
        o.RA = (2.0 * i) * PiValue / 180.0;
        o.Dec = DegToRad(10.0 + 5 * i);
        o.Mag = 8.4;
        state.store.objects.push_back(o);
    }
    for (int i = 0; i < count && i < 22; ++i)
        state.listSlots[i] = std::int16_t(i + 1);
    SetObserverPosition(state.sky, DegToRad(45.0), DegToRad(-75.0));
    SetSiteClock(state.sky, -5, false);
    state.sky.UseNow = true;
    return state;
}

struct Run {
    RecordingSurface surface;
    std::int16_t objectsPerPage = 0;
    std::int16_t stepsPerPage = 0;
};

std::unique_ptr<Run> Print(AppState& state, QDateTime start, QDateTime stop, int minutes,
                           double width = 8.0, double height = 10.5) {
    auto run = std::make_unique<Run>();
    run->surface = RecordingSurface(width, height);
    PrintJob job(state, run->surface, start, stop, minutes);
    job.Run();
    run->objectsPerPage = job.ObjectsPerPage;
    run->stepsPerPage = job.StepsPerPage;
    return run;
}

// Designations of the object heads on a sheet, left to right as printed.
QStringList HeadsOn(const RecordingSurface& s, int sheet) {
    QStringList out;
    for (const auto& t : s.textsOnSheet(sheet))
        if (t.font == QLatin1String("Arial Narrow") && t.points == 10) out << t.text.trimmed();
    return out;
}

// Dates-and-times of the time column on a sheet, one entry per row.
bool IsRowTop(double y);
QStringList TimeColumnOn(const RecordingSurface& s, int sheet) {
    QStringList out;
    const auto texts = s.textsOnSheet(sheet);
    for (size_t i = 0; i + 1 < texts.size(); ++i)
        if (texts[i].x == 0 && texts[i].y >= 0.6 && IsRowTop(texts[i].y)) {
            out << texts[i].text + QLatin1Char(' ') + texts[i + 1].text;
            ++i;
        }
    return out;
}

bool IsRowTop(double y) {
    const double k = (y - 0.6) / 0.4;
    return qAbs(k - std::round(k)) < 1e-6;
}

// Cells (azimuth lines) of one block column on a sheet.
int CellsOn(const RecordingSurface& s, int sheet, int column) {
    int n = 0;
    for (const auto& t : s.textsOnSheet(sheet))
        if (qFuzzyCompare(t.x, 1.0 + 1.16 * column) && t.y >= 0.6 && IsRowTop(t.y)) ++n;
    return n;
}

QString Label(const QDateTime& t) {
    return ShortDateText(t) + QLatin1Char(' ') + LongTimeText(t);
}

int PdfPageCount(const QByteArray& pdf) {
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page/") +
               pdf.count("/Type /Page>"));
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
        QTest::addColumn<QStringList>("headsPerSheet"); // "1-6" = objects 1..6
        QTest::addColumn<QList<int>>("rowsPerSheet");
        // 20:00 to 23:00 every 10 minutes is 19 steps; 6 blocks fit on 8 inches.
        QTest::newRow("8 objects, 19 steps")
            << 8 << At(23, 0) << 8.0 << QStringList{"1-6", "7-8"} << QList<int>{19, 19};
        // 30 steps, 24 per page: steps 25-30 follow on a new page set.
        QTest::newRow("30 steps, one object") << 1 << At(20, 0).addSecs(29 * 600) << 8.0
                                              << QStringList{"1-1", "1-1"} << QList<int>{24, 6};
        QTest::newRow("30 steps, 8 objects")
            << 8 << At(20, 0).addSecs(29 * 600) << 8.0 << QStringList{"1-6", "7-8", "1-6", "7-8"}
            << QList<int>{24, 24, 6, 6};
        // A page too narrow for a block still takes one per page.
        QTest::newRow("narrow page")
            << 3 << At(20, 30) << 2.0 << QStringList{"1-1", "2-2", "3-3"} << QList<int>{4, 4, 4};
        QTest::newRow("exactly 6 blocks")
            << 6 << At(20, 30) << 8.0 << QStringList{"1-6"} << QList<int>{4};
    }
    void pageSets() {
        QFETCH(int, objects);
        QFETCH(QDateTime, stop);
        QFETCH(double, width);
        QFETCH(QStringList, headsPerSheet);
        QFETCH(QList<int>, rowsPerSheet);
        AppState state = MakeState(objects);
        auto run = Print(state, At(20, 0), stop, 10, width);
        const RecordingSurface& s = run->surface;
        QVERIFY(s.ended());
        QVERIFY(s.scaleSetToInches());
        QVERIFY(!s.drewBeforeScale());
        QCOMPARE(s.sheetCount(), int(headsPerSheet.size()));
        int firstStep = 0;
        for (int sheet = 0; sheet < s.sheetCount(); ++sheet) {
            const QStringList range = headsPerSheet[sheet].split('-');
            QStringList expected;
            for (int i = range[0].toInt(); i <= range[1].toInt(); ++i)
                expected << QStringLiteral("OBJ %1").arg(i);
            QCOMPARE(HeadsOn(s, sheet), expected);
            // Each sheet has its own time column, covering the steps of its set.
            const QStringList column = TimeColumnOn(s, sheet);
            QCOMPARE(int(column.size()), rowsPerSheet[sheet]);
            if (range[0] == QLatin1String("1") && sheet > 0) firstStep += rowsPerSheet[sheet - 1];
            QCOMPARE(column.first(), Label(At(20, 0).addSecs(600 * firstStep)));
            for (int p = 0; p < expected.size(); ++p)
                QCOMPARE(CellsOn(s, sheet, p), rowsPerSheet[sheet]);
            QCOMPARE(CellsOn(s, sheet, int(expected.size())), 0);
        }
    }

    void pageCapacityFromPrintableSize_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("objectsPerPage");
        QTest::addColumn<int>("stepsPerPage");
        QTest::newRow("8 x 10.5") << 8.0 << 10.5 << 6 << 24;
        QTest::newRow("A4 less 10 pt margins") << 7.99 << 11.41 << 6 << 27;
        QTest::newRow("just one block") << 2.2 << 1.0 << 1 << 1;
        QTest::newRow("tiny") << 1.5 << 0.5 << 1 << 1;
    }
    void pageCapacityFromPrintableSize() {
        QFETCH(double, width);
        QFETCH(double, height);
        AppState state = MakeState(1);
        auto run = Print(state, At(20, 0), At(20, 20), 10, width, height);
        QFETCH(int, objectsPerPage);
        QFETCH(int, stepsPerPage);
        QCOMPARE(int(run->objectsPerPage), objectsPerPage);
        QCOMPARE(int(run->stepsPerPage), stepsPerPage);
    }

    void stepOnStopIsPrinted_data() {
        QTest::addColumn<QDateTime>("stop");
        QTest::addColumn<int>("steps");
        QTest::newRow("on the stop") << At(20, 30) << 4;
        QTest::newRow("one second short") << At(20, 29).addSecs(59) << 3;
        QTest::newRow("stop equals start") << At(20, 0) << 1;
        QTest::newRow("across midnight") << At(0, 10, 16) << 26;
    }
    void stepOnStopIsPrinted() {
        QFETCH(QDateTime, stop);
        QFETCH(int, steps);
        AppState state = MakeState(1);
        auto run = Print(state, At(20, 0), stop, 10, 8.0, 30.0);
        QCOMPARE(int(TimeColumnOn(run->surface, 0).size()), steps);
        QCOMPARE(CellsOn(run->surface, 0, 0), steps);
    }

    void slotsNeedNotBeContiguous() {
        AppState state = MakeState(3);
        state.listSlots.fill(0);
        state.listSlots[4] = 3; // object 3 alone, in slot 4
        auto run = Print(state, At(20, 0), At(20, 20), 10);
        QCOMPARE(run->surface.sheetCount(), 1);
        QCOMPARE(HeadsOn(run->surface, 0), QStringList{"OBJ 3"});
        QCOMPARE(CellsOn(run->surface, 0, 0), 3);

        // Slots beyond the 22 rows are read as well, after the rows.
        state.listSlots[30] = 1;
        run = Print(state, At(20, 0), At(20, 20), 10);
        QCOMPARE(HeadsOn(run->surface, 0), (QStringList{"OBJ 3", "OBJ 1"}));
    }

    void noListedObjectEndsWithoutDrawing() {
        AppState state = MakeState(2);
        state.listSlots.fill(0);
        const QDateTime before = state.sky.ObservingTime;
        auto run = Print(state, At(20, 0), At(23, 0), 10);
        QVERIFY(run->surface.ended());
        QCOMPARE(run->surface.sheetCount(), 0);
        QVERIFY(state.sky.UseNow);
        QCOMPARE(state.sky.ObservingTime, before);
    }

    void headGeometryAndTexts() {
        AppState state = MakeState(2);
        CatalogObject& o = state.store.objects[1];
        o.Designation = QStringLiteral("NGC 7000 NORTH AMERICA");
        o.Comment = QStringLiteral("North America Nebula, large and faint");
        o.Mag = 0;
        auto run = Print(state, At(20, 0), At(20, 10), 10);
        std::vector<RecordingSurface::Text> head;
        for (const auto& t : run->surface.texts())
            if (t.y < 0.6 && t.x > 2.0) head.push_back(t);
        QCOMPARE(int(head.size()), 3);
        const double x = 1.0 + 1.16;
        QCOMPARE(head[0].text, QStringLiteral("NGC 7000 NORTH AME"));
        QCOMPARE(head[0].font, QStringLiteral("Arial Narrow"));
        QCOMPARE(head[0].points, 10.0);
        QCOMPARE(head[0].y, 0.0);
        QCOMPARE(head[1].text, QStringLiteral("North America Nebula, lar"));
        QCOMPARE(head[1].points, 6.0);
        QCOMPARE(head[2].text, QStringLiteral("Mag:.0"));
        QCOMPARE(head[2].font, QStringLiteral("Courier"));
        // Each head line starts at the block's left edge, one line below the previous.
        for (int i = 0; i < 3; ++i)
            QCOMPARE(head[i].x, x);
        QCOMPARE(head[1].y, RecordingSurface::lineHeightInches(10));
        QCOMPARE(head[2].y,
                 RecordingSurface::lineHeightInches(10) + RecordingSurface::lineHeightInches(6));

        // The first object's magnitude line.
        const auto first = run->surface.texts();
        QVERIFY(std::any_of(first.begin(), first.end(), [](const auto& t) {
            return t.text == QLatin1String("Mag:8.4") && qFuzzyCompare(t.x, 1.0);
        }));
    }

    void rulesOfHeadsRowsAndBlocks() {
        AppState state = MakeState(2);
        auto run = Print(state, At(20, 0), At(20, 10), 10); // 2 rows
        struct Expected {
            double x1, y1, x2, y2;
            int width;
            LineStyle style;
        };
        const double p1 = 1.16;
        const QList<Expected> expected = {
            // block 0: head rule, then per row the dotted row rule and the block's left rule
            {0, 0.5, 2.0, 0.5, 10, LineStyle::Dashed},
            {0, 0.9, 2.0, 0.9, 1, LineStyle::Dotted},
            {0.95, 0, 0.95, 1.0, 3, LineStyle::Dashed},
            {0, 1.3, 2.0, 1.3, 1, LineStyle::Dotted},
            {0.95, 0, 0.95, 1.4, 3, LineStyle::Dashed},
            // block 1 reaches from the page's left edge to its own right end
            {0, 0.5, 2.0 + p1, 0.5, 10, LineStyle::Dashed},
            {0, 0.9, 2.0 + p1, 0.9, 1, LineStyle::Dotted},
            {0.95 + p1, 0, 0.95 + p1, 1.0, 3, LineStyle::Dashed},
            {0, 1.3, 2.0 + p1, 1.3, 1, LineStyle::Dotted},
            {0.95 + p1, 0, 0.95 + p1, 1.4, 3, LineStyle::Dashed},
        };
        const auto& lines = run->surface.lines();
        QCOMPARE(int(lines.size()), int(expected.size()));
        for (int i = 0; i < expected.size(); ++i) {
            const auto& l = lines[size_t(i)];
            const Expected& e = expected[i];
            QVERIFY2(qAbs(l.x1 - e.x1) < 1e-9 && qAbs(l.y1 - e.y1) < 1e-9 &&
                         qAbs(l.x2 - e.x2) < 1e-9 && qAbs(l.y2 - e.y2) < 1e-9,
                     qPrintable(QStringLiteral("line %1").arg(i)));
            QCOMPARE(l.widthDots, e.width);
            QVERIFY(l.style == e.style);
        }
    }

    void timeColumnAndCells() {
        AppState state = MakeState(1);
        auto run = Print(state, At(23, 50), At(0, 10, 16), 10);
        const auto texts = run->surface.texts();
        // Row 1 of the time column: 00:00 of the next day.
        std::vector<RecordingSurface::Text> row1;
        for (const auto& t : texts)
            if (t.y >= 1.0 - 1e-9 && t.y < 1.4 - 1e-9) row1.push_back(t);
        QCOMPARE(int(row1.size()), 4);
        QCOMPARE(row1[0].text, QStringLiteral("03/16/24"));
        QCOMPARE(row1[0].x, 0.0);
        QCOMPARE(row1[0].y, 1.0);
        QCOMPARE(row1[1].text, QStringLiteral("12:00:00 AM"));
        QCOMPARE(row1[1].x, 0.0);
        // The cell of that row: azimuth, then altitude, in Courier 10 at the block's left.
        SkyState sky = state.sky;
        SetObservingTime(sky, At(0, 0, 16));
        SetTarget(sky, state.store.objects[0].RA, state.store.objects[0].Dec);
        const double alt = TargetAltitude(sky);
        const double az = TargetAzimuth(sky);
        QCOMPARE(row1[2].text, AngleText(az));
        QCOMPARE(row1[3].text, AngleText(alt));
        QCOMPARE(row1[2].x, 1.0);
        QCOMPARE(row1[2].y, 1.0);
        QCOMPARE(row1[3].x, 1.0);
        QCOMPARE(row1[3].font, QStringLiteral("Courier"));
        QCOMPARE(row1[3].points, 10.0);
    }

    void leavesFixedTimeAtLastStep() {
        AppState state = MakeState(8);
        const QDateTime last = At(20, 0).addSecs(29 * 600);
        Print(state, At(20, 0), last.addSecs(300), 10);
        QVERIFY(!state.sky.UseNow);
        QCOMPARE(state.sky.ObservingTime, last);
    }

    void fontsFitTheirBlocks() {
        QPrinter printer(QPrinter::HighResolution);
        const double dpi = printer.resolution();
        const auto inches = [&](const QString& name, double points, const QString& text) {
            return QFontMetricsF(PainterSurface::ResolveFont(name, points), &printer)
                       .horizontalAdvance(text) /
                   dpi;
        };
        QVERIFY(QFontInfo(PainterSurface::ResolveFont(QStringLiteral("Courier"), 10)).fixedPitch());
        // Text of a block must end before the next block's rule, 1.11 inches on; the time
        // column before the first block rule at 0.95.
        const double room = 1.16 - 0.05;
        QVERIFY(inches("Courier", 10, AngleText(DegToRad(-33.5))) < room);
        QVERIFY(inches("Courier", 10, QStringLiteral("12:00:00 AM")) < 0.95);
        QVERIFY(inches("Arial Narrow", 10, QStringLiteral("NGC 2237 Rosette N")) < room);
        QVERIFY(inches("Arial Narrow", 6, QStringLiteral("Rosette Nebula; with NGC ")) < room);
    }

    void twoCellLinesEndAboveTheRowRule() {
        // The azimuth and altitude lines start at the row top; the dotted rule 0.3 inch lower
        // must pass below the altitude line's baseline.
        QPrinter printer(QPrinter::HighResolution);
        const double dpi = printer.resolution();
        const QFont courier = PainterSurface::ResolveFont(QStringLiteral("Courier"), 10);
        const auto box =
            PainterSurface::LineBoxOf(QStringLiteral("Courier"), 10, courier, &printer);
        const double secondBaseline = (box.height + box.ascent) / dpi;
        QVERIFY2(secondBaseline < 0.3 - 0.02, qPrintable(QString::number(secondBaseline)));
        // Yet the lines do not overlap: at least the font's ems apart.
        QVERIFY(box.height / dpi >= 10.0 / 72.0);
    }

    void pdfHasOnePagePerSheet() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("chart.pdf"));
        AppState state = MakeState(8);
        int expectedPages = 0;
        {
            auto surface = OpenPrinterSurface(PrintTarget{QString(), file});
            QVERIFY(surface);
            PrintJob job(state, *surface, At(20, 0), At(23, 0), 10);
            job.Run();
            expectedPages = (8 + job.ObjectsPerPage - 1) / job.ObjectsPerPage;
        }
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(PdfPageCount(bytes), expectedPages);
    }

    void unwritablePdfIsRefused() {
        QVERIFY(!OpenPrinterSurface(PrintTarget{QString(), "/nonexistent-dir/x/chart.pdf"}));
        QVERIFY(!OpenPrinterSurface(PrintTarget{QStringLiteral("no such printer 42"), QString()}));
    }
};

QTEST_MAIN(TestPrintoutJob)
#include "test_printout_job.moc"
