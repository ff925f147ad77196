// The main window at work (selection, picking, sites, observing time, timers, leave checks,
// input traps, the chooser's search, the night display) and the guide stars it shows.

#include "kit/nightvision.h"
#include "mainwindow/choosersearch.h"
#include "objectlist/guidestars.h"
#include "printout/printout.h"
#include "sky/angles.h"
#include "sky/skytime.h"
#include "sky/textformats.h"
#include "support/files.h"
#include "support/windows.h"

namespace {

// One star line in the file's fixed columns, at 6h RA.
QString StarLine(const QString& name, const QString& mag, const QString& dec,
                 const QString& ra = "06 00  0.0") {
    QString line = QStringLiteral("1 HR 0000 BSC 000").leftJustified(60);
    line.replace(19, 14, name.left(14).leftJustified(14));
    line.replace(34, 5, mag.rightJustified(5));
    line.replace(40, ra.size(), ra);
    return line.replace(51, dec.size(), dec);
}

QString StarFile(const QTemporaryDir& dir, const QStringList& lines) {
    return WriteAll(GuideStarFilePath(dir.path()), (lines.join("\r\n") + "\r\n").toLatin1()),
           GuideStarFilePath(dir.path());
}

void Wheel(QWidget* w, int delta) {
    const QPointF at(w->rect().center());
    QWheelEvent e(at, w->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase, 0);
    QApplication::sendEvent(w, &e);
}

// Pixels that are neither black nor a red: white, grey, blue, green.
int NotRedPixels(QWidget* w) {
    const QImage image = w->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qGreen(image.pixel(x, y)) > 0x40 || qBlue(image.pixel(x, y)) > 0x40;
    return count;
}

// The chooser's entries whose line holds `typed`, case and blanks aside.
QVector<int> EntriesHolding(const QComboBox* chooser, QString typed) {
    QVector<int> entries;
    for (int i = 0; i < chooser->count(); ++i)
        if (chooser->itemText(i).toUpper().remove(' ').contains(typed.toUpper().remove(' ')))
            entries << i;
    return entries;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallNightVision(); }
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void firstActivationAndTimers() {
        WindowFixture f;
        QString ticked;
        for (const char* name : {"chkShowAll", "chkInView", "chkNow", "chkMess", "chkHer", "chkCal",
                                 "chkBNGC", "chkSAC", "chkNGC", "chkIC", "chkPlanet"})
            ticked += f.get<QCheckBox>(name)->isChecked() ? '1' : '0';
        auto* sb = f.get<QScrollBar>("sbDsoMag");
        auto *timer1 = f.get<QTimer>("Timer1"), *timer2 = f.get<QTimer>("Timer2");
        // The primary site is listed, selected and applied. Messier only, limit 8.0, in view
        // only: M 2 (M 1 too faint, M 3 below the horizon).
        QCOMPARE((QStringList{f.window->windowTitle(), ticked, f.text("lblLocInfo"),
                              f.text("lblDSOstats"),
                              f.get<QComboBox>("cmbDSO")->itemText(0).left(4), f.text("LblNow")}),
                 (QStringList{"Zenitor Ver:  0.0.1 B", "01110000000", "Back yard",
                              "1 of 10 objects available.", "M 2 ", "3/1/2026 10:00:00 PM (Now)"}));
        QVERIFY(f.active && timer1->isActive() && timer2->isActive() && sb->value() == 80 &&
                !f.box("txtMonth")->isEnabled() && f.get<QComboBox>("cmbLoc")->count() == 2);
        f.choose("cmbDSO", 0), f.clock->advanceSeconds(15), f.window->Timer1Tick();
        QCOMPARE(f.text("LblNow"), QStringLiteral("3/1/2026 10:00:15 PM (Now)"));
        // Timer2 reselects on the fifth tick after the last selection.
        f.click("chkNow"), f.get<QLabel>("lblDSOstats")->setText(QStringLiteral("stale"));
        QStringList seen;
        for (int i = 0; i < 6; ++i, f.window->Timer2Tick())
            seen << QString::number(f.window->SelectionAge()) + ' ' + f.text("lblDSOstats").left(5);
        QCOMPARE(seen,
                 (QStringList{"0 stale", "1 stale", "2 stale", "3 stale", "4 stale", "0 1 of "}));
        f.click("chkHer"); // any selection restarts the count
        QCOMPARE(f.window->SelectionAge(), std::int16_t(0));
        WindowFixture none(true, false); // no site at all: none shown
        QVERIFY(none.active && none.get<QComboBox>("cmbLoc")->count() == 0);
        QCOMPARE(none.get<QComboBox>("cmbLoc")->currentText() + '|' + none.text("lblLocInfo"),
                 QStringLiteral("No Primary Location|Location Information"));
    }

    void cataloguesPickingAndRows() {
        WindowFixture f;
        auto* chooser = f.get<QComboBox>("cmbDSO");
        f.choose("cmbDSO", 0);
        const QString m2 = f.row(0);
        QCOMPARE(chooser->lineEdit()->cursorPosition(), 0); // the field shows the designation
        f.click("chkNGC");                                  // NGC 7001 sits exactly at the limit
        QCOMPARE(chooser->itemText(2).left(9) + f.text("lblDSOstats"),
                 QStringLiteral("NGC 7001 3 of 10 objects available."));
        f.click("chkInView"); // M 3 and NGC 7002 come in
        QCOMPARE(f.text("lblDSOstats"), QStringLiteral("5 of 10 objects available."));
        f.clock->advanceSeconds(3600); // the boxes do not recompute the rows
        f.click("chkShowAll");         // and M 1
        QCOMPARE(f.text("lblDSOstats"), QStringLiteral("6 of 10 objects available."));
        QCOMPARE(f.row(0), m2);
        f.click("chkInView"), f.click("chkShowAll");
        f.choose("cmbDSO", 1); // NGC 7000 into row 1
        f.choose("cmbDSO", 0); // M 2 again: nothing added
        QVERIFY(f.state.listSlots[1] == 7 && f.state.listSlots[2] == 0 && f.row(2).isEmpty());
        // A click frees the row at once; the other rows stay where they are.
        QTest::mouseClick(f.window->objectRow(0), Qt::LeftButton);
        QVERIFY(f.state.listSlots[0] == 0 && f.row(0) == QStringLiteral(" "));
        QCOMPARE(f.row(1), ExpectedRow(f.state, 6));
        f.choose("cmbDSO", 1); // the freed row comes first, so NGC 7000 shows twice
        QCOMPARE(f.row(0), f.row(1));
    }

    // Bodies listed and found like catalogue objects (never the Sun); a body's row follows it from
    // tick to tick.
    void planetsBox() {
        WindowFixture f;
        auto* chooser = f.get<QComboBox>("cmbDSO");
        f.click("chkShowAll"), f.click("chkInView"), f.click("chkPlanet");
        QCOMPARE(f.get<QCheckBox>("chkPlanet")->toolTip() + '|' + f.text("lblDSOstats"),
                 QStringLiteral("Moon and planets selector|11 of 18 objects available."));
        auto* search = chooser->findChild<ChooserSearch*>();
        chooser->setFocus();
        // clang-format off
        for (const auto& [typed, entry] : {std::pair{"jup", 7}, {"moon", 3}, {"sun", -1}}) { // M 1-3, Moon .. Jupiter
            QTest::keyClicks(chooser, typed);
            QCOMPARE(search->offered(), entry < 0 ? QVector<int>() : QVector<int>{entry});
            QTest::keyClick(chooser, Qt::Key_Escape);
        }
        // clang-format on
        QTest::keyClicks(chooser, "moon\r"), f.choose("cmbDSO", 0); // the Moon, then M 1
        QVERIFY(f.state.listSlots[0] == 11 && f.row(0).startsWith("Moon         MO "));
        // An hour on, the row shows where the Moon stands then, not where it stood.
        const AppState before = f.state;
        f.clock->advanceSeconds(3600), f.window->Timer1Tick();
        QVERIFY(f.row(0) == ExpectedRow(f.state, 10) && f.row(0) != ExpectedRow(before, 10));
    }

    void magnitudeScrollBar() {
        WindowFixture f;
        f.click("chkNGC");
        auto* sb = f.get<QScrollBar>("sbDsoMag");
        sb->setValue(126);
        sb->triggerAction(QAbstractSlider::SliderSingleStepSub); // the upper arrow lowers
        QCOMPARE(f.box("txtDSOMaxMag")->text() + ' ' + f.text("lblDSOstats"),
                 QStringLiteral("12.5 4 of 10 objects available."));
        // The box shows the limit in force, which the next selection uses; a refused limit ("")
        // leaves 8.0, with a message and the focus back. German: the comma key types the point.
        const QString no = "Invalid magnitude.  Must be between 0 and 20.";
        // clang-format off
        const struct { const char *typed, *after; int chosen; bool german = false; } rows[] = {
            {"12.5", "12.5", 4}, {"25", "", 3}, {"20", "20.0", 4}, {"0", "0.0", 0}, {"", "0.0", 0}, {".", "0.0", 0},
            {"8.04", "8.0", 3}, {"6-a.5.1", "6.5", 2}, {"8,5", "8.5", 4, true}, {"8,5", "", 3}, {"99999999999", "", 3}};
        // clang-format on
        for (const auto& r : rows) {
            QLocale::setDefault(QLocale(r.german ? "de_DE" : "C"));
            WindowFixture f;
            ModalWatcher watcher;
            auto* mag = f.box("txtDSOMaxMag");
            f.click("chkNGC"), mag->setFocus(Qt::TabFocusReason);
            QTRY_COMPARE(mag->selectedText(), QStringLiteral("8.0")); // typing replaces it all
            QTest::keyClicks(mag, '\b' + QString(r.typed));
            f.get<QCheckBox>("chkShowAll")->setFocus(Qt::TabFocusReason); // leaving checks it
            const bool refused = !*r.after;
            QTRY_VERIFY(watcher.messages == QStringList(refused, no) && mag->hasFocus() == refused);
            f.window->SelectObjects();
            const QString after = refused ? "8.0" : r.after;
            QCOMPARE(mag->text() + ' ' + QString::number(f.get<QScrollBar>("sbDsoMag")->value()) +
                         ' ' + f.text("lblDSOstats").left(2),
                     QString("%1 %2 %3 ").arg(after).arg(after.toDouble() * 10).arg(r.chosen));
        }
    }

    void sites() {
        WindowFixture f;
        f.state.sites[0].LatSec = 30, f.state.sites[0].LonSec = -15;
        f.state.sites[0].LatMin = -52, f.state.sites[0].LonMin = 12;
        f.choose("cmbDSO", 0);
        const QString north = f.row(0);
        f.choose("cmbLoc", 0); // Sydney: M 2 sets, M 3 rises
        QVERIFY(f.text("lblLocInfo") == "Sydney" && f.state.sky.SiteTimeZone == 10);
        QCOMPARE(f.state.sky.ObserverLatitude, DegMinToRadians(-33, -52 + 0.5));
        QCOMPARE(f.state.sky.ObserverLongitude, DegMinToRadians(151, 12 - 0.25));
        QCOMPARE(f.get<QComboBox>("cmbDSO")->itemText(0).left(4), QStringLiteral("M 3 "));
        QCOMPARE(f.row(0), ExpectedRow(f.state, 1));
        ModalWatcher watcher;
        // New Location saved nothing: the empty record is gone, the site applied before stays.
        f.click("cmdNewLoc");
        QVERIFY(GetCurrentSiteIndex(f.state) == 0 && f.state.sites.size() == 2);
        QCOMPARE(f.get<QComboBox>("cmbLoc")->currentText() + '|' + f.text("lblLocInfo"),
                 QStringLiteral("Sydney|Sydney"));
        watcher.dialogs.clear(); // a typed name that names no site: a new, empty site opens
        f.get<QComboBox>("cmbLoc")->setEditText(QStringLiteral("Observatory"));
        QTest::mouseClick(f.get<QPushButton>("cmdLocEdit"), Qt::LeftButton);
        QVERIFY(watcher.dialogs == QStringList{"Location2"} && f.state.sites.size() == 2);
    }

    void nowAndTypedTime() {
        WindowFixture f;
        f.choose("cmbDSO", 0);
        auto* now = f.get<QCheckBox>("chkNow");
        auto* month = f.box("txtMonth");
        auto* timer1 = f.get<QTimer>("Timer1");
        ModalWatcher watcher;
        f.click("cmdSet"); // in Now mode with an empty box
        QCOMPARE(watcher.messages + watcher.titles, (QStringList{"Invalid Date", "Zenitor"}));
        now->click(); // typed mode, frozen at the click
        QVERIFY(!f.state.sky.UseNow && !timer1->isActive() && month->isEnabled());
        QCOMPARE(month->text() + '|' + f.text("LblNow"),
                 QStringLiteral("3/1/2026 10:00:00 PM|3/1/2026 10:00:00 PM"));
        month->setFocus(Qt::TabFocusReason), month->clear();
        QTest::keyClicks(month, QStringLiteral("3/1:2.7 aPM")); // refused keys dropped
        QCOMPARE(month->text(), QStringLiteral("3/1:27 a"));
        // Digits edited in place, one letter for the afternoon, Enter: applied like Set.
        month->setText(QStringLiteral("3/2/2026 11:30:00 ")), QTest::keyClicks(month, "P\r");
        QCOMPARE(f.state.sky.ObservingTime, CivilTime({2026, 3, 2}, {23, 30}));
        QVERIFY(month->text() == "3/2/2026 11:30:00 PM" && f.row(0) == ExpectedRow(f.state, 1));
        // Back to Now: the clock is followed again; the old text stays in the disabled box.
        f.clock->advanceSeconds(7200), f.get<QCheckBox>("chkMess")->setFocus(Qt::TabFocusReason);
        now->click();
        QVERIFY(f.state.sky.UseNow && timer1->isActive() && !month->isEnabled());
        QCOMPARE(f.text("LblNow"), QStringLiteral("3/2/2026 (Now)")); // midnight: the date alone
        QCOMPARE(f.row(0), ExpectedRow(f.state, 1));
        f.clock->advanceSeconds(60), now->click(); // frozen at the clock, not at the old text
        QCOMPARE(f.state.sky.ObservingTime, SiteCivilNow(f.state.sky));
    }

    // Now is the present instant at the site, whatever zone the computer runs on; the computer's
    // own rules only flag a daylight tick they contradict, for a site in its region.
    void nowAtTheSiteAndTheDaylightTick() {
        WindowFixture f; // computer on UTC, site at -5 without daylight time, 03:00 UT
        f.choose("cmbDSO", 0);
        const QString nowRow = f.row(0), nowLabel = f.text("LblNow");
        f.click("chkNow"), f.box("txtMonth")->setText("3/1/2026 10:00:00 PM"), f.click("cmdSet");
        QCOMPARE(nowLabel + f.row(0), "3/1/2026 10:00:00 PM (Now)" + nowRow);
        // The print dialog starts at the instant in use: the typed one, then the present.
        auto start = [&f] {
            return Printout(f.state, f.window.get()).findChild<QLineEdit*>("txtStart")->text();
        };
        const QString typedStart = start();
        f.click("chkNow"), f.clock->advanceSeconds(3600);
        QCOMPARE(typedStart + '|' + start(), "3/1/2026 10:00:00 PM|3/1/2026 11:00:00 PM");
    }

    // A named site from a computer on Denver time: its zone's rules turn a typed time into UTC,
    // no daylight warning; a time its clock skips is refused by name, a doubled one is noted.
    void namedSiteClock() {
        WindowFixture f;
        f.state.sky.computerZone = QTimeZone("America/Denver");
        f.choose("cmbDSO", 0), f.click("chkNow");
        // clang-format off
        const struct { const char *zone, *typed; int zoneHours; QDateTime utc; const char* status; } rows[] = {
            {"America/Phoenix", "7/15/2026 9:30:00 PM", -7, QDateTime({2026, 7, 16}, {4, 30}, Qt::UTC), "Back yard"},
            {"Asia/Kolkata", "12/7/2026 9:00:00 PM", 6, QDateTime({2026, 12, 7}, {15, 30}, Qt::UTC), "Back yard"},
            {"Europe/Berlin", "7/15/2026 10:00:00 PM", 1, QDateTime({2026, 7, 15}, {20, 0}, Qt::UTC), "Back yard"},
            {"Europe/Berlin", "1/15/2026 10:00:00 PM", 1, QDateTime({2026, 1, 15}, {21, 0}, Qt::UTC), "Back yard"},
            {"", "7/15/2026 9:30:00 PM", -7, QDateTime({2026, 7, 16}, {4, 30}, Qt::UTC), "Back yard: DST not ticked, daylight time on this date"}};
        // clang-format on
        for (const auto& r : rows) {
            SiteLocation& yard = f.state.sites[1];
            yard.ZoneName = r.zone, yard.TimeZone = std::int16_t(r.zoneHours), yard.DST = 0;
            f.choose("cmbLoc", 1), f.box("txtMonth")->setText(r.typed), f.click("cmdSet");
            // The row is the formulas' at that UTC instant, typed as UTC civil time.
            AppState atUtc = f.state;
            SetSiteClock(atUtc.sky, 0, false),
                atUtc.sky.ObservingTime = CivilTime(r.utc.date(), r.utc.time());
            QVERIFY2(f.text("lblLocInfo") == r.status && f.row(0) == ExpectedRow(atUtc, 1), r.zone);
        }
        f.state.sites[1].ZoneName = "Europe/Berlin", f.choose("cmbLoc", 1);
        const CivilTime before = f.state.sky.ObservingTime;
        ModalWatcher watcher;
        f.box("txtMonth")->setText("3/28/2027 2:30:00 AM"), f.click("cmdSet");
        QTRY_COMPARE(watcher.messages, QStringList{"2027-03-28 02:30 does not exist at Back yard: "
                                                   "clocks go from 02:00 to 03:00."});
        QVERIFY(f.state.sky.ObservingTime == before);
        f.box("txtMonth")->setText("10/31/2027 2:30:00 AM"), f.click("cmdSet");
        QCOMPARE(f.text("LblNow"),
                 "2027-10-31 02:30 happens twice at Back yard: the first (daylight time) is used");
        QVERIFY(f.state.sky.siteClock.toUtc(f.state.sky.ObservingTime).utc ==
                QDateTime({2027, 10, 31}, {0, 30}, Qt::UTC));
    }

    void leavingBadDateIsRefused() {
        WindowFixture f;
        auto *now = f.get<QCheckBox>("chkNow"), *mess = f.get<QCheckBox>("chkMess"),
             *planets = f.get<QCheckBox>("chkPlanet");
        now->click();
        const CivilTime before = f.state.sky.ObservingTime;
        auto* month = f.box("txtMonth");
        month->setFocus(Qt::MouseFocusReason), month->setText(QStringLiteral("13/45/2026"));
        ModalWatcher watcher;
        // Each way out shows the message, keeps the focus and does not act.
        for (QWidget* target :
             QList<QWidget*>{mess, planets, f.get<QPushButton>("cmdSet"), month}) {
            target == month ? QTest::keyClick(month, Qt::Key_Tab)
                            : QTest::mouseClick(target, Qt::LeftButton);
            QTRY_VERIFY(!watcher.messages.isEmpty() && month->hasFocus());
        }
        // Pressed without a click (as a screen reader does), the print button checks first too.
        Press(f.get<QPushButton>("Command1"));
        QTRY_VERIFY(watcher.messages.size() == 5 && f.window->focusWidget() == month);
        QTest::qWait(50);
        QVERIFY(watcher.messages == QStringList(5, "Invalid Date") &&
                watcher.titles == QStringList(5, "Zenitor") && watcher.dialogs.isEmpty());
        QVERIFY(mess->isChecked() && !planets->isChecked() && !now->isChecked() &&
                f.state.sky.ObservingTime == before);
        QVERIFY(ShowActive(f.window.get()));
        month->setText(QStringLiteral("3/5/2026 8:15:00 PM")); // a date again: the click acts
        QTest::mouseClick(mess, Qt::LeftButton);
        QVERIFY(!mess->isChecked() && mess->hasFocus() && watcher.messages.size() == 5);
    }

    // Delete, Escape back to the last valid date, bad input refused, the wheel only with focus.
    void inputTraps() {
        WindowFixture f;
        ModalWatcher watcher;
        auto *mag = f.box("txtDSOMaxMag"), *month = f.box("txtMonth");
        TypeOver(mag, 0, "9");
        QCOMPARE(mag->text(), QStringLiteral("9.0"));
        f.click("chkNow"); // a date typed but not set, then a separator lost: Escape brings back
        TypeOver(month, 0, "4"), month->setCursorPosition(2), Key(month, Qt::Key_Backspace);
        Key(month, Qt::Key_Escape, QString(QChar(27))); // the time in use, as the label shows it
        QCOMPARE(month->text() + '|' + f.text("LblNow"),
                 QStringLiteral("3/1/2026 10:00:00 PM|3/1/2026 10:00:00 PM"));
        QCOMPARE(SendBadInput(month) + '|' + SendBadInput(mag),
                 QStringLiteral("3/1/2026 10:00:00 PM|9.0"));
        auto* sites = f.get<QComboBox>("cmbLoc");
        auto* bar = f.get<QScrollBar>("sbDsoMag");
        f.click("chkShowAll"), mag->setFocus();
        const int magnitude = bar->value();
        for (int notch = 0; notch < 3; ++notch)
            for (QWidget* w : QList<QWidget*>{sites, f.get<QComboBox>("cmbDSO")->lineEdit(), bar})
                Wheel(w, notch % 2 ? -120 : 120);
        QVERIFY(sites->currentIndex() == 1 && f.state.listSlots[0] == 0 &&
                bar->value() == magnitude);
        sites->setFocus(), Wheel(sites, 120); // with the focus the wheel works as before
        QVERIFY(f.text("lblLocInfo") == "Sydney" && watcher.messages.isEmpty());
    }

    void captionsShrinkByGroup() {
        const QFont old = QApplication::font();
        QApplication::setFont(QFont(old.family(), 24));
        WindowFixture f;
        f.state.sites[1].Name = QString(70, u'W'), f.window->RunActivationSequence();
        for (const char* group : {"chkMess chkHer chkCal chkBNGC chkSAC chkNGC chkIC chkPlanet",
                                  "chkShowAll chkInView chkNow", "LblNow lblLocInfo lblDSOstats"}) {
            QSet<QString> fonts; // size and stretch
            for (const QString& name : QString::fromLatin1(group).split(u' ')) {
                const QFont font = f.get<QWidget>(qPrintable(name))->font();
                fonts << QStringLiteral("%1/%2").arg(font.pointSizeF()).arg(font.stretch());
                QVERIFY2(font.pointSizeF() < 24, group);
            }
            QVERIFY2(fonts.size() == 1, group);
        }
        QApplication::setFont(old);
    }

    // Typing offers the lines holding the text, case and blanks aside; Enter or a click picks
    // into the first free row; Escape or clearing leaves all as it was.
    void chooserSearch() {
        WindowFixture f;
        for (const char* name : {"chkShowAll", "chkInView", "chkHer", "chkNGC", "chkIC"})
            f.click(name);
        auto* chooser = f.get<QComboBox>("cmbDSO");
        QLineEdit* field = chooser->lineEdit();
        auto* search = chooser->findChild<ChooserSearch*>();
        QVERIFY(search && chooser->count() == 8);
        chooser->setFocus();
        const int current = chooser->currentIndex();
        const auto listPositions = [&] { // searching never renumbers the chooser
            QList<int> positions;
            for (const CatalogObject& o : f.state.store.objects)
                positions << o.ListPos;
            return positions;
        };
        const QList<int> positions = listPositions();
        for (const auto& [typed, designation] :
             {std::pair{"m2", "M 2 "}, {"NGc70", "NGC 7000"}, {"cOMMENT OF  ic", "IC 1 "}}) {
            QTest::keyClicks(chooser, typed);
            QVERIFY2(search->popup()->isVisible(), typed);
            QCOMPARE(search->offered(), EntriesHolding(chooser, typed));
            QVERIFY2(chooser->itemText(search->offered().value(0)).startsWith(designation), typed);
            QTest::keyClick(chooser, Qt::Key_Backspace); // one key back widens the offer
            QCOMPARE(search->offered(), EntriesHolding(chooser, QString(typed).chopped(1)));
            QTest::keyClick(chooser, Qt::Key_Escape);
            QVERIFY(field->text().isEmpty() && !search->popup()->isVisible());
        }
        QListView* list = search->popup(); // nothing matches: a greyed line, and nothing picks
        QTest::keyClicks(chooser, "zzzz");
        const QModelIndex none = list->model()->index(0, 0);
        QCOMPARE(none.data().toString() + (none.flags() ? "" : " greyed"),
                 QStringLiteral("No object matches \"zzzz\" greyed"));
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_Return})
            QTest::keyClick(chooser, key);
        QTRY_VERIFY(list->visualRect(none).isValid()); // the list lays out from the event loop
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(none).center());
        QVERIFY(list->isVisible() && f.state.listSlots[0] == 0 && field->text() == "zzzz");
        QTest::keyClicks(chooser, "\b\b\b\b\r"); // taken back, Enter
        QVERIFY(!search->popup()->isVisible() && f.state.listSlots[0] == 0);
        QVERIFY(chooser->currentIndex() == current && listPositions() == positions);
        f.state.listSlots[0] = 2;            // row 0 taken
        QTest::keyClicks(chooser, "ngc 70"); // Down, Enter: the second offered, NGC 7001
        QTest::keyClick(chooser, Qt::Key_Down), QTest::keyClick(chooser, Qt::Key_Return);
        QVERIFY(f.state.listSlots[1] == 8 && f.row(1).startsWith("NGC 7001"));
        // The picked line shows from its start, selected; Escape out of a new search restores it.
        const auto fromStart = [&] {
            return field->text().startsWith("NGC 7001") && field->cursorPosition() == 0 &&
                   field->selectedText() == field->text() && !search->popup()->isVisible();
        };
        QVERIFY(fromStart());
        QTest::keyClicks(chooser, "ic");
        QVERIFY(field->text() == "ic" && search->offered() == EntriesHolding(chooser, "ic"));
        QTest::keyClick(chooser, Qt::Key_Escape);
        QVERIFY(fromStart());
        field->clear(), QTest::keyClicks(chooser, "of m");
        QTRY_VERIFY(list->visualRect(list->model()->index(0, 0)).isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QCOMPARE(f.state.listSlots[2], std::int16_t(1)); // M 1
    }

    // Ctrl+N turns every window red on black, message boxes and windows opened later included.
    void nightVisionAndTheLocationEditor() {
        WindowFixture f;
        const QPalette dayRow = f.window->objectRow(0)->palette();
        QTest::keyClick(f.window.get(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(NightVisionOn() && NotRedPixels(f.window.get()) == 0);
        const QColor even = f.window->objectRow(0)->palette().color(QPalette::Window),
                     odd = f.window->objectRow(1)->palette().color(QPalette::Window);
        QVERIFY(even != odd && even.red() < 0x60 && odd.red() < 0x60);
        auto* chooser = f.get<QComboBox>("cmbDSO");
        chooser->setFocus(), QTest::keyClicks(chooser, "m");
        QCOMPARE(NotRedPixels(chooser->findChild<ChooserSearch*>()->popup()), 0);
        int boxPixels = -1;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            boxPixels = box ? NotRedPixels(box) : -1;
            if (box) box->accept();
        });
        QMessageBox::warning(f.window.get(), "Zenitor", "A message with an icon.");
        QTemporaryDir dir; // where a wrongful save would go
        f.state.dataDir = dir.path();
        LocationWindow editor(f.state, f.window.get());
        editor.show();
        QVERIFY(boxPixels == 0 && NotRedPixels(&editor) == 0);
        QTest::keyClick(&editor, Qt::Key_N, Qt::ControlModifier);
        QVERIFY(!NightVisionOn() && f.window->objectRow(0)->palette() == dayRow);
        // The number boxes take Delete; Save pressed with the focus in N runs N's leave check:
        // the real message, no icon, nothing saved, the editor stays.
        auto* north = editor.findChild<QLineEdit*>("txtN");
        north->setText(QStringLiteral("12")), TypeOver(north, 0, "9");
        QCOMPARE(north->text(), QStringLiteral("92"));
        QVERIFY(ShowActive(&editor));
        ModalWatcher watcher;
        north->setFocus(), north->setText(QStringLiteral("891"));
        Press(editor.findChild<QWidget*>("cmdSave"));
        QTRY_COMPARE(watcher.messages, QStringList{"Invalid horizon.  Must be between 0 and 90."});
        QVERIFY(watcher.titles == QStringList{"Zenitor"} && editor.isVisible() &&
                f.state.sites[1].Horizon[0] == 0);
    }

    void guideStarLinesAndFile() {
        // clang-format off
        const struct { QString line; const char* name; double mag, raHours, decDeg; } rows[] = {
            {StarLine("Delta Orionis", "2.23", "-00 17 57", "05 32  0.4"), "Delta Orionis", 2.23, 5 + 32 / 60.0 + 0.4 / 3600, -(17 / 60.0 + 57 / 3600.0)},
            {StarLine("Alpha Centauri A", " 1 2 ", "-01 01 01", "02 30   45").left(48), "Alpha Centauri", 12, 2.5, 0}};
        // clang-format on
        GuideStar star;
        for (const auto& r : rows) {
            QVERIFY(ReadGuideStarLine(r.line, star) &&
                    star.Name == QString(r.name).leftJustified(20));
            const double off = qAbs(star.Mag - r.mag) + qAbs(star.RA - DegToRad(r.raHours));
            QVERIFY(off + qAbs(star.Dec - DegToRad(r.decDeg)) < 1e-12);
        }
        for (const QString& line :
             {QString(), QStringLiteral("HR Name"), " " + rows[0].line.mid(1)})
            QVERIFY(!ReadGuideStarLine(line, star));
        const QString d(QChar(0xB0));
        star = {"Vega                ", -1.46, 0, 0, DegToRad(20.75), DegToRad(5.1)};
        QCOMPARE(GuideStarRowText(star),
                 "Vega              20" + d + " 45.0'    5" + d + " 06.0' -1.46");
        for (double limit : {20.0, 60.0}) // strictly between the limits
            QVERIFY(!IsGuideStarAltitude(DegToRad(limit)) &&
                    IsGuideStarAltitude(std::nextafter(DegToRad(limit), DegToRad(40))));
        // A file: at the pole every star's altitude is its declination.
        QStringList lines{"Bright guide stars", QString(), "HR  Name"}, expected;
        for (int i = 0; i < 25; ++i) {
            const QString name = QStringLiteral("S\u00e9ginus %1").arg(i);
            lines << StarLine(name, "2.0", QStringLiteral("+%1 30 00").arg(21 + i))
                  << StarLine("Low", "1", "+10 00 00") << StarLine("South", "1", "-30 00 00")
                  << StarLine("High", "1", "+75 00 00");
            if (i < 22) expected << name;
        }
        SkyState sky;
        SetObservingTime(sky, CivilTime({2024, 3, 15}, {21, 0}));
        SetObserverPosition(sky, DegToRad(90), 0);
        QTemporaryDir dir;
        GuideStarRows result = ComputeGuideStarRows(sky, StarFile(dir, lines));
        QStringList names;
        for (const QString& row : result.rows)
            names << row.left(15).trimmed();
        QVERIFY(result.ok && names == expected);
        QCOMPARE(result.rows[0].mid(16, 8), QStringLiteral("  21\u00B0 30.0'").left(8));
        result = ComputeGuideStarRows(sky, dir.path()); // a folder (a missing file: the window)
        QVERIFY(!result.ok && result.rows.isEmpty() &&
                result.error.contains(QDir::toNativeSeparators(dir.path())));
    }

    void guideStarsInTheWindow() {
        for (bool nowMode : {true, false}) {
            QTemporaryDir dir;
            WindowFixture f;
            f.state.dataDir = dir.path(), f.choose("cmbDSO", 0);
            if (!nowMode) f.click("chkNow");
            const QString object = f.row(0);
            f.window->objectRow(2)->setText(QStringLiteral("row 2"));
            ModalWatcher watcher; // no star file yet: a message, and nothing changes
            f.click("cmdGuide");
            QVERIFY(watcher.messages.size() == 1 && !f.window->GuideMode() && f.row(0) == object);
            QVERIFY(watcher.messages[0].startsWith("The guide stars cannot be shown.") &&
                    watcher.messages[0].contains(GuideStarFilePath(dir.path())));
            StarFile(dir,
                     {StarLine("One", "1.0", "+89 00 00"), StarLine("Two", "2.0", "+88 00 00")});
            f.click("cmdGuide"); // rows below the last star are left alone
            QVERIFY(f.window->GuideMode() && !f.get<QTimer>("Timer1")->isActive());
            QCOMPARE(f.row(0).left(4) + f.row(1).left(4) + f.row(2),
                     QStringLiteral("One Two row 2"));
            // The way back clears every row and shows the picked objects again.
            f.click("cmdGuide");
            QVERIFY(!f.window->GuideMode() && f.get<QTimer>("Timer1")->isActive() == nowMode &&
                    f.row(0) == object && (f.row(1) + f.row(2)).isEmpty());
        }
    }

    // Precise: unticked at first, under the catalogues clear of every control; ticked, the
    // chooser, the rows and the guide stars are worked out again as apparent places, unticked
    // the rows are back to the character. Remembered like the other boxes.
    void preciseBox() {
        QTemporaryDir dir;
        WindowFixture f;
        f.state.dataDir = dir.path(), f.state.settingsPath = dir.filePath("zenitor.conf");
        auto* precise = f.get<QCheckBox>("chkPrecise");
        QVERIFY(!precise->isChecked() && precise->text() == "Precise" &&
                precise->toolTip() == "Precession, nutation, aberration and refraction");
        // The controls added to the window's first layout stand clear of every other one.
        for (const char* added : {"chkPrecise", "cmdTonight", "cmdLists", "chkList"}) {
            const QRect place = f.get<QWidget>(added)->geometry();
            for (QWidget* other : f.window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                QVERIFY2(other->objectName() == added || !other->isVisible() ||
                             !other->geometry().intersects(place),
                         qPrintable(QString(added) + " and " + other->objectName()));
        }
        f.click("chkPlanet"), f.choose("cmbDSO", 0), f.choose("cmbDSO", 1); // M 2, the Moon
        const QString quick = f.row(0) + f.row(1);
        QTest::mouseClick(precise, Qt::LeftButton);
        QVERIFY(f.state.sky.Precise && f.row(0) + f.row(1) != quick &&
                f.row(0) == ExpectedRow(f.state, 1) && f.row(0).startsWith("M 2 "));
        QTRY_VERIFY(ReadRememberedChoices(f.state.settingsPath, nullptr, nullptr).precise);
        StarFile(dir, {StarLine("One", "1.0", "+89 00 00")});
        f.click("cmdGuide");
        const QString star = f.row(0);
        precise->click();
        QVERIFY(f.window->GuideMode() && f.row(0).startsWith("One ") && f.row(0) != star);
        f.click("cmdGuide");
        QCOMPARE(f.row(0) + f.row(1), quick);
        f.state.remembered.precise = true;
        const MainWindow again(f.state);
        QVERIFY(again.findChild<QCheckBox*>("chkPrecise")->isChecked() && f.state.sky.Precise);
    }

    // Choices that cannot be written are told once; the window works on.
    void unwritableChoicesAreToldOnce() {
        QTemporaryDir dir;
        WindowFixture f;
        f.state.settingsPath = dir.filePath("file/zenitor.conf");
        ModalWatcher watcher;
        QVERIFY(WriteAll(dir.filePath("file"), ""));
        for (const char* box : {"chkHer", "chkCal"}) {
            f.click(box);
            QTRY_VERIFY(!f.get<QTimer>("SaveTimer")->isActive());
        }
        QVERIFY(watcher.messages.size() == 1 &&
                watcher.messages[0].startsWith("The file " + f.state.settingsPath + " cannot") &&
                watcher.messages[0].endsWith("will not be kept for its next start."));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
