// The chart of the picked objects over time, drawn on a recording surface, and the Print Over
// Time window that asks for it.

#include "objectlist/bodyrecords.h"
#include "printout/printjob.h"
#include "printout/printout.h"
#include "printout/recordingsurface.h"
#include "sky/skytime.h"
#include "sky/textformats.h"
#include "support/files.h"
#include "support/windows.h"

#include <QPrinterInfo>
#include <erfa.h>

namespace {

using T = RecordingSurface::Text;

CivilTime At(int hour, int minute, int day = 15) {
    return CivilTime(QDate(2024, 3, day), QTime(hour, minute));
}

// `count` objects "OBJ 1".. in rows 0.., at a northern site, the clock at 20:00.
AppState MakeState(int count) {
    AppState state;
    for (int i = 0; i < count; ++i) {
        state.store.objects.push_back(MakeObject("N", "", 2.0 * i, 10.0 + 5 * i, 8.4));
        state.store.objects.back().Designation = QStringLiteral("OBJ %1").arg(i + 1);
        state.listSlots[size_t(i)] = std::int16_t(i + 1);
    }
    SetObserverPosition(state.sky, DegToRad(45.0), DegToRad(-75.0));
    state.sky.clock = std::make_shared<FixedClock>(QDateTime({2024, 3, 15}, {20, 0}, Qt::UTC));
    state.sky.UseNow = true;
    return state;
}

RecordingSurface Print(AppState& state, CivilTime stop, double width = 8.0, double height = 10.5,
                       CivilTime start = At(20, 0)) {
    RecordingSurface s(width, height);
    PrintJob(state, s, start, stop, 10).Run();
    return s;
}

bool IsRowTop(double y) {
    const double k = (y - 0.6) / 0.4;
    return y >= 0.6 && qAbs(k - std::round(k)) < 1e-6;
}

// Per sheet: "OBJ 1:19,OBJ 2:19" = each head with the number of cells under it, then the first
// time of the sheet's time column.
QString Sheet(const RecordingSurface& s, int sheet) {
    QStringList out;
    const auto texts = s.textsOnSheet(sheet);
    for (const auto& head : texts) {
        if (head.font != QLatin1String("Arial Narrow") || head.points != 10) continue;
        const auto cells = std::count_if(texts.begin(), texts.end(), [&](const T& t) {
            return qFuzzyCompare(t.x, head.x) && IsRowTop(t.y);
        });
        out << QStringLiteral("%1:%2").arg(head.text.trimmed()).arg(cells);
    }
    for (size_t i = 0; i + 1 < texts.size(); ++i)
        if (texts[i].x == 0 && IsRowTop(texts[i].y)) return out.join(',') + ' ' + texts[i + 1].text;
    return out.join(',');
}

// The window, shown, set to PDF, its messages, PDF-name questions and prints caught (with
// `realPrinter` the real PDF output is used; without `sink` the real message box).
struct Dialog {
    Printout dialog;
    QComboBox* printers = dialog.findChild<QComboBox*>("cboPrinter");
    QStringList messages;
    QString suggested, chosen;
    int prints = 0;

    explicit Dialog(AppState& state, bool sink = true, bool realPrinter = false) : dialog(state) {
        if (sink)
            dialog.setMessageSink([this](QWidget*, const QString& text) { messages << text; });
        if (!realPrinter)
            dialog.setSurfaceFactory([this](const PrintTarget&) {
                return ++prints, std::make_unique<RecordingSurface>();
            });
        dialog.setPdfFileNameChooser(
            [this](QWidget*, const QString& s) { return suggested = s, chosen; });
        QVERIFY(ShowActive(&dialog));
        printers->setCurrentIndex(printers->findText(Printout::PdfEntry));
    }
    template <class W = QLineEdit> W* box(const char* name) { return dialog.findChild<W*>(name); }
    void click(const char* name) { QTest::mouseClick(box<QWidget>(name), Qt::LeftButton); }
};

} // namespace

class TestPrintout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void pageSets() {
        const CivilTime step30 = At(20, 0).addSecs(29 * 600);
        // clang-format off
        const struct { int objects; CivilTime stop; double width; QStringList sheets; } cases[] = {
            // 30 steps, 24 to a sheet; 6 blocks on 8 inches.
            {7, step30, 8.0, {"OBJ 1:24,OBJ 2:24,OBJ 3:24,OBJ 4:24,OBJ 5:24,OBJ 6:24 8:00:00 PM", "OBJ 7:24 8:00:00 PM",
                              "OBJ 1:6,OBJ 2:6,OBJ 3:6,OBJ 4:6,OBJ 5:6,OBJ 6:6 12:00:00 AM", "OBJ 7:6 12:00:00 AM"}},
            {1, At(20, 30), 8.0, {"OBJ 1:4 8:00:00 PM"}},              // a step on the stop
            {1, At(20, 29).addSecs(59), 8.0, {"OBJ 1:3 8:00:00 PM"}},  // a second short of it
            {2, At(20, 10), 2.0, {"OBJ 1:2 8:00:00 PM", "OBJ 2:2 8:00:00 PM"}}, // narrower than a block
            {0, At(23, 0), 8.0, {}}}; // nothing listed: nothing drawn, the time untouched
        // clang-format on
        for (const auto& c : cases) {
            AppState state = MakeState(c.objects);
            const RecordingSurface s = Print(state, c.stop, c.width);
            QVERIFY(s.ended() && (s.scaleSetToInches() || !c.objects) && !s.drewBeforeScale());
            QStringList sheets;
            for (int sheet = 0; sheet < s.sheetCount(); ++sheet)
                sheets << Sheet(s, sheet);
            QVERIFY(sheets == c.sheets && state.sky.UseNow);
        }
        AppState state = MakeState(8); // the job leaves the instant and the mode as it found them
        state.sky.UseNow = false, state.sky.ObservingTime = At(3, 0);
        Print(state, step30.addSecs(300));
        QVERIFY(!state.sky.UseNow && state.sky.ObservingTime == At(3, 0));
        // Below the last step row, where the page leaves room: the site, zone, date and cell key.
        const auto notes = [](const RecordingSurface& s) {
            QStringList out;
            for (int sheet = 0; sheet < s.sheetCount(); ++sheet)
                for (const auto& t : s.textsOnSheet(sheet))
                    if (t.points == 8) out << QStringLiteral("%1 %2").arg(t.y).arg(t.text);
            return out;
        };
        state.sites = {SiteLocation{}}, state.sites[0].Name = "Back yard";
        SetSiteClock(state.sky, -5, false), SetCurrentSiteIndex(state, 0);
        QCOMPARE(notes(Print(state, At(20, 20))),
                 QStringList(2, "1.85 Back yard, UTC-05:00, 2024-03-15: each cell is azimuth above "
                                "altitude"));
        // Full pages (24 rows on 10.4 inches) leave no room; the two of the last 7 steps do.
        QCOMPARE(notes(Print(state, step30.addSecs(3600), 8.0, 10.4)).size(), 2);
        state.listSlots.fill(0); // slots are read wherever they are
        state.listSlots[4] = 3, state.listSlots[30] = 1;
        QCOMPARE(Sheet(Print(state, At(20, 20)), 0), QStringLiteral("OBJ 3:3,OBJ 1:3 8:00:00 PM"));
    }

    // Two rows from 23:50: the heads, the midnight row and the rules of both blocks.
    void headsCellsAndRules() {
        AppState state = MakeState(2);
        CatalogObject& o = state.store.objects[1];
        o.Designation = QStringLiteral("NGC 7000 NORTH AMERICA"), o.Mag = 0;
        o.Comment = QStringLiteral("North America Nebula, large and faint");
        const RecordingSurface s = Print(state, At(0, 0, 16), 8.0, 10.5, At(23, 50));
        const double l10 = RecordingSurface::lineHeightInches(10);
        QStringList head, row1, rules;
        for (const T& t : s.texts()) {
            if (qFuzzyCompare(t.x, 2.16) && t.y < 0.6)
                head << QString("%1 %2 ").arg(t.text, t.font) +
                            QString::asprintf("%g %g", t.points, t.y / l10);
            if (t.y >= 1.0 - 1e-9 && t.y < 1.4 && t.x < 2)
                row1 << QStringLiteral("%1 %2 %3").arg(t.x).arg(t.font, t.text);
        }
        QCOMPARE(head, (QStringList{"NGC 7000 NORTH AME Arial Narrow 10 0",
                                    "North America Nebula, lar Arial Narrow 6 1",
                                    "Mag:.0 Courier 10 1.6"}));
        // Row 1 is midnight: the time column, then the cell, azimuth above altitude.
        SkyState sky = state.sky;
        SetObservingTime(sky, At(0, 0, 16));
        SetTarget(sky, state.store.objects[0].RA, state.store.objects[0].Dec);
        const double alt = TargetAltitude(sky);
        QCOMPARE(row1, (QStringList{"0 Courier 03/16/24", "0 Courier 12:00:00 AM",
                                    "1 Courier " + AngleText(TargetAzimuth(sky)),
                                    "1 Courier " + AngleText(alt)}));
        for (const auto& l : s.lines())
            rules << QString::asprintf("%.9g %.9g %.9g %.9g %d%c", l.x1, l.y1, l.x2, l.y2,
                                       l.widthDots, l.style == LineStyle::Dashed ? '-' : '.');
        // clang-format off
        QCOMPARE(rules, (QStringList{"0 0.5 2 0.5 10-", "0 0.9 2 0.9 1.", "0.95 0 0.95 1 3-", "0 1.3 2 1.3 1.", "0.95 0 0.95 1.4 3-",
                                     "0 0.5 3.16 0.5 10-", "0 0.9 3.16 0.9 1.", "2.11 0 2.11 1 3-", "0 1.3 3.16 1.3 1.", "2.11 0 2.11 1.4 3-"}));
        // clang-format on
    }

    // The Moon's column follows it: over Hopkinsville, Kentucky, at greatest eclipse (2017-08-21
    // 18:25:30 UT) it covers the Sun, an hour either side it does not; before 1000 it says why not.
    void moonColumnOverTheEclipse() {
        AppState state;
        AppendBodyRecords(state.store), state.listSlots[0] = 1;
        SetObserverPosition(state.sky, DegToRad(36 + 58.0 / 60), DegToRad(-87 - 40.3 / 60));
        const CivilTime mid({2017, 8, 21}, {18, 25, 30}), old({997, 8, 21}, {18, 25, 30});
        const auto texts = Print(state, mid.addSecs(3600), 8, 10.5, mid.addSecs(-3600)).texts();
        // clang-format off
        const auto rad = [](const QString& a) { return DegToRad(a.section(u'\u00B0', 0, 0).toDouble() + a.section(u'\u00B0', 1).chopped(1).toDouble() / 60); };
        QList<double> offSun; // arcmin, every 10 minutes
        for (size_t i = 0; i + 1 < texts.size(); ++i) {
            if (texts[i].x != 1.0 || !IsRowTop(texts[i].y)) continue;
            SkyState sky = state.sky;
            SetObservingTime(sky, mid.addSecs(600 * (offSun.size() - 6)));
            const BodyPlace sun = PlaceSun(DaysFromJ2000At(InstantInUse(sky)));
            SetTarget(sky, sun.rightAscension / 15, sun.declination);
            const double alt = TargetAltitude(sky), az = TargetAzimuth(sky);
            offSun << eraSeps(az, alt, rad(texts[i].text), rad(texts[i + 1].text)) / DegToRad(1.0 / 60);
            QVERIFY(offSun.size() != 7 || (qAbs(RadToDeg(alt) - 64) < 1 && qAbs(RadToDeg(az) - 198) < 1));
        }
        // clang-format on
        QVERIFY(offSun.size() == 13 && offSun[6] < 2 && offSun[0] > 15 && offSun[12] > 15);
        const RecordingSurface before1000 = Print(state, old, 8, 10.5, old);
        QStringList block;
        for (const T& t : before1000.texts())
            if (t.x == 1.0) block << t.text.trimmed();
        QCOMPARE(block, (QStringList{"Moon", "outside 1000-3000", "Mag:", "outside", "1000-3000"}));
    }

    void dialogBoxes() {
        // clang-format off
        const QString s = "3/15/2024 8:00:00 PM", later = "3/15/2024 11:00:00 PM", date = "Invalid Date",
                      order = "Start must be before stop", inc = "Invalid Increment";
        const struct { const char* box; QString start, stop, inc, message; } rows[] = {
            {"txtStart", s, later, "10", ""}, {"txtStart", "3/15/2024 21:30:00", later, "10", ""},
            {"txtStart", "13/45/2024 20:00", later, "10", date}, {"txtStop", s, "3/15/2024 25:00:00", "10", date},
            {"txtStop", s, s, "10", order}, {"txtStart", later, s, "10", order}, {"txtStart", s, "x", "10", ""},
            {"txtInc", s, later, "0", inc}, {"txtInc", s, later, "", inc}};
        const struct { const char *box, *before; char key; const char* after; } keys[] = {
            {"txtStart", "3/1", '5', "3/15"}, {"txtStart", "8", ':', "8:"}, {"txtStart", "8:00", 'P', "8:00"},
            {"txtStop", "12", '3', "12"}, {"txtStop", "12", '/', "12/"}, {"txtInc", "1", ':', "1"}, {"txtInc", "15", '\b', "1"}};
        // clang-format on
        AppState state = MakeState(1);
        Dialog d(state);
        QCOMPARE(d.box("txtStart")->text() + d.box("txtStop")->text() + d.box("txtInc")->text(),
                 s + later + "10");
        QCOMPARE(d.printers->count(), int(QPrinterInfo::availablePrinters().size()) + 1);
        for (const auto& r : rows) {
            d.messages.clear();
            for (const auto& [name, text] :
                 {std::pair{"txtStart", r.start}, {"txtStop", r.stop}, {"txtInc", r.inc}})
                d.box(name)->setText(text);
            d.box(r.box)->setFocus(), QTest::keyClick(d.box(r.box), Qt::Key_Tab);
            QVERIFY(d.messages == (r.message.isEmpty() ? QStringList() : QStringList{r.message}) &&
                    (d.dialog.focusWidget() == d.box(r.box)) == !r.message.isEmpty());
        }
        for (const auto& k : keys) {
            d.box(k.box)->setFocus(), d.box(k.box)->setText(k.before);
            QTest::keyClick(d.box(k.box), k.key); // '\b' is Backspace
            QCOMPARE(d.box(k.box)->text(), QLatin1String(k.after));
        }
        // Delete passes every box; paste, input-method text and other scripts' digits do not.
        for (const char* name : {"txtStart", "txtStop", "txtInc"}) {
            d.box(name)->setText(QStringLiteral("3/15")), TypeOver(d.box(name), 0, "1");
            QCOMPARE(SendBadInput(d.box(name)), QStringLiteral("1/15"));
        }
    }

    // Clicks run the box's leave check first (the real message box). Cancel (also pressed as a
    // screen reader does), Escape and the close box leave unchecked: nothing printed or applied.
    void clicksWaitForTheLeaveCheck() {
        for (const QByteArray target : {"cmdPrint", "txtStop", "cmdCancel", "press", "Esc", "x"}) {
            AppState state = MakeState(1);
            Dialog d(state, false);
            ModalWatcher watcher;
            const auto act = [&] {
                target == "press" ? Press(d.box<QWidget>("cmdCancel"))
                : target == "Esc" ? QTest::keyClick(d.box("txtInc"), Qt::Key_Escape)
                : target == "x"   ? void(d.dialog.close())
                                  : d.click(target);
            };
            const bool wayOut = target != "cmdPrint" && target != "txtStop";
            d.chosen = QStringLiteral("/tmp/unused.pdf");
            d.box("txtInc")->setFocus(), d.box("txtInc")->setText(QStringLiteral("0"));
            act(); // (a screen reader's press acts a moment later)
            QTRY_COMPARE(watcher.messages.size() + d.dialog.isVisible(), wayOut ? 0 : 2);
            QVERIFY(d.prints == 0 && state.sky.UseNow);
            if (wayOut) continue;
            QVERIFY(watcher.titles + watcher.messages ==
                        QStringList({"Zenitor", "Invalid Increment"}) &&
                    d.dialog.focusWidget() == d.box("txtInc"));
            d.box("txtInc")->setText(QStringLiteral("30")); // once the box is right, the click acts
            act();
            QTRY_COMPARE(d.dialog.isVisible(), target == "txtStop");
            QCOMPARE(d.prints, target == "cmdPrint" ? 1 : 0);
        }
    }

    // Print to a PDF: the name asked for (none: back to the window), nothing listed, and beyond
    // 25 sheets a Yes/No box; No prints nothing, keeps the window and any old file as it was.
    void printToPdf() {
        const auto No = QMessageBox::No, Yes = QMessageBox::Yes;
        // clang-format off
        const struct { int objects, minutes, inc; QMessageBox::StandardButton answer; const char *sheets, *chosen, *old; bool pdf; } cases[] = {
            {8, 180, 10, No, nullptr, "", nullptr, true}, {8, 180, 10, No, nullptr, "tonight", nullptr, true},
            {0, 180, 10, No, nullptr, "x", nullptr, false}, {1, 599, 1, No, nullptr, "x", nullptr, false},
            {1, 600, 1, Yes, "26", "x", nullptr, false}, {1, 3653 * 1440, 1, No, "219181", "x", nullptr, false},
            {1, 9000, 1, No, "334", "x.pdf", "old\r\n", true}, {1, 9000, 1, No, "334", "x.pdf", nullptr, true}};
        // clang-format on
        for (const auto& c : cases) {
            QTemporaryDir dir;
            AppState state = MakeState(c.objects);
            state.dataDir = dir.path();
            if (c.old) WriteAll(dir.filePath(c.chosen), c.old);
            Dialog d(state, true, c.pdf);
            d.chosen = *c.chosen ? dir.filePath(c.chosen) : QString();
            d.box("txtStop")->setText(CivilDateTimeText(At(20, 0).addSecs(c.minutes * 60)));
            d.box("txtInc")->setText(QString::number(c.inc));
            ModalWatcher watcher;
            watcher.answer = c.answer, d.click("cmdPrint");
            const QString ask = QString("This print-out takes %1 sheets.  Print it?").arg(c.sheets);
            QCOMPARE(watcher.titles + watcher.messages,
                     c.sheets ? QStringList({"Zenitor YesNo", ask}) : QStringList());
            const bool printed = c.objects && *c.chosen && (c.answer == Yes || !c.sheets);
            QVERIFY(state.sky.UseNow && d.dialog.isVisible() == (c.objects && !printed));
            QVERIFY(d.messages.size() == (c.objects ? 0 : 1) &&
                    (d.suggested.startsWith(dir.path() + '/') &&
                     d.suggested.contains("2024-03-15")) == (c.objects > 0));
            if (!c.pdf) continue;
            const QByteArray pdf = ReadAll(dir.filePath(QString(c.chosen).remove(".pdf") + ".pdf"));
            QVERIFY(printed ? pdf.startsWith("%PDF") : pdf == (c.old ? c.old : "<missing>"));
            QCOMPARE(FilesIn(dir.path()).size(), printed || c.old ? 1 : 0);
            if (printed) // 8 objects over 19 steps: one page set, two sheets of six blocks
                QCOMPARE(QString::fromLatin1(pdf).count(QRegularExpression("/Type ?/Page\\b")), 2);
        }
        QVERIFY(!OpenPrinterSurface(PrintTarget{QString(), "/nonexistent-dir/x/chart.pdf"}));
        QVERIFY(!OpenPrinterSurface(PrintTarget{QStringLiteral("no such printer 42"), QString()}));
    }

    // The next opening starts at the instant in use with the last print's length, step and places.
    void remembersTheLastPrint() {
        AppState state = MakeState(1);
        RememberedChoices& last = state.remembered;
        last.printStart = At(21, 30), last.printStop = At(23, 0), last.printStepMinutes = 20;
        last.pdfFolder = QDir::tempPath();
        Dialog d(state);
        QCOMPARE(d.box("txtStart")->text() + d.box("txtStop")->text() + d.box("txtInc")->text(),
                 QStringLiteral("3/15/2024 8:00:00 PM3/15/2024 9:30:00 PM20"));
        d.chosen = "/tmp/elsewhere/chart.pdf", d.box("txtInc")->setText(QStringLiteral("30"));
        d.click("cmdPrint");
        QVERIFY(d.prints == 1 && d.suggested.startsWith(QDir::tempPath() + '/'));
        QVERIFY(last.printer == Printout::PdfEntry && last.printStepMinutes == 30 &&
                last.printStop == At(21, 30) && last.pdfFolder == "/tmp/elsewhere");
    }
};

QTEST_MAIN(TestPrintout)
#include "test_printout.moc"
