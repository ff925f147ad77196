// The main window at work (selection, picking, sites, observing time, timers, the checks made
// when a box is left, the traps of input at the telescope, the chooser's search, the night
// display) and the guide stars it shows.

#include "mainwindow/choosersearch.h"
#include "mainwindow/guidestars.h"
#include "objectlist/objectrows.h"
#include "sky/skytime.h"
#include "sky/textformats.h"
#include "startup/angles.h"
#include "startup/nightvision.h"
#include "support/files.h"
#include "support/windows.h"

#include <QListView>
#include <QTemporaryDir>
#include <functional>

namespace {

// The row the window should show for a store record at the site and instant in force.
QString ExpectedRow(const AppState& state, int storeIndex) {
    SkyState sky = state.sky;
    const CatalogObject& o = state.store.objects[std::size_t(storeIndex)];
    SetTarget(sky, o.RA, o.Dec);
    const double alt = TargetAltitude(sky);
    return ObjectRowText(o, alt, TargetAzimuth(sky));
}

// One star line in the file's fixed columns, at 6h RA.
QString StarLine(const QString& name, const QString& mag, const QString& dec,
                 const QString& ra = "06 00  0.0") {
    QString line = QStringLiteral("1 HR 0000 BSC 000").leftJustified(60);
    line.replace(19, 14, name.left(14).leftJustified(14));
    line.replace(34, 5, mag.rightJustified(5));
    line.replace(40, ra.size(), ra);
    return line.replace(51, dec.size(), dec);
}

QString StarFile(const QTemporaryDir& dir, const QStringList& lines, const QString& end = "\r\n") {
    WriteAll(GuideStarFilePath(dir.path()), (lines.join(end) + end).toLatin1());
    return GuideStarFilePath(dir.path());
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

    void firstActivation() {
        WindowFixture f;
        QVERIFY(f.active);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Zenitor Ver:  0.0.1 B"));
        QCOMPARE(f.get<QTimer>("Timer1")->interval(), 15000);
        QCOMPARE(f.get<QTimer>("Timer2")->interval(), 60000);
        QVERIFY(f.get<QTimer>("Timer1")->isActive() && f.get<QTimer>("Timer2")->isActive());
        QVERIFY(!f.box("txtMonth")->isEnabled());
        auto* sb = f.get<QScrollBar>("sbDsoMag");
        QVERIFY(sb->minimum() == 0 && sb->maximum() == 200 && sb->value() == 80);
        QString ticked;
        for (const char* name : {"chkShowAll", "chkInView", "chkNow", "chkMess", "chkHer", "chkCal",
                                 "chkBNGC", "chkSAC", "chkNGC", "chkIC", "chkPlanet"})
            ticked += f.get<QCheckBox>(name)->isChecked() ? '1' : '0';
        QCOMPARE(ticked, QStringLiteral("01110000000"));
        // The primary site is listed, selected and applied.
        QCOMPARE(f.get<QComboBox>("cmbLoc")->count(), 2);
        QCOMPARE(f.get<QComboBox>("cmbLoc")->currentIndex(), 1);
        QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Back yard"));
        QCOMPARE(f.state.sky.SiteTimeZone, std::int16_t(-5));
        // Messier only, limit 8.0, in view only: M 2 (M 1 too faint, M 3 below the horizon).
        QCOMPARE(f.text("lblDSOstats"), QStringLiteral("1 of 10 objects available."));
        QCOMPARE(f.get<QComboBox>("cmbDSO")->itemText(0).left(4), QStringLiteral("M 2 "));
        QCOMPARE(f.text("LblNow"), QStringLiteral("3/1/2026 10:00:00 PM (Now)"));
        WindowFixture none(true, false); // no site at all: none shown
        QVERIFY(none.active && none.get<QComboBox>("cmbLoc")->count() == 0);
        QCOMPARE(none.get<QComboBox>("cmbLoc")->currentText(),
                 QStringLiteral("No Primary Location"));
        QCOMPARE(none.text("lblLocInfo"), QStringLiteral("Location Information"));
    }

    void cataloguesPickingAndRows() {
        WindowFixture f;
        f.choose("cmbDSO", 0);
        const QString m2 = f.row(0);
        QCOMPARE(m2, ExpectedRow(f.state, 1));
        QCOMPARE(f.get<QComboBox>("cmbDSO")->lineEdit()->cursorPosition(), 0); // the designation
        f.get<QCheckBox>("chkNGC")->click(); // NGC 7001 sits exactly at the limit
        QStringList names;
        for (int i = 0; i < f.get<QComboBox>("cmbDSO")->count(); ++i)
            names << f.get<QComboBox>("cmbDSO")->itemText(i).left(20).trimmed();
        QCOMPARE(names, QStringList({"M 2", "NGC 7000", "NGC 7001"}));
        f.get<QCheckBox>("chkInView")->click(); // M 3 and NGC 7002 come in
        QCOMPARE(f.text("lblDSOstats"), QStringLiteral("5 of 10 objects available."));
        f.clock->advanceSeconds(3600);           // the boxes do not recompute the rows
        f.get<QCheckBox>("chkShowAll")->click(); // and M 1
        f.get<QCheckBox>("chkPlanet")->click();  // does nothing
        QCOMPARE(f.text("lblDSOstats"), QStringLiteral("6 of 10 objects available."));
        QCOMPARE(f.row(0), m2);
        f.get<QCheckBox>("chkInView")->click();
        f.get<QCheckBox>("chkShowAll")->click();
        f.choose("cmbDSO", 1); // NGC 7000 into row 1
        QCOMPARE(f.state.listSlots[1], std::int16_t(7));
        f.choose("cmbDSO", 0); // M 2 again: nothing added
        QVERIFY(f.state.listSlots[2] == 0 && f.row(2).isEmpty());
        // A click frees the row at once; the other rows stay where they are.
        QTest::mouseClick(f.window->objectRow(0), Qt::LeftButton);
        QVERIFY(f.state.listSlots[0] == 0 && f.row(0) == QStringLiteral(" "));
        QCOMPARE(f.row(1), ExpectedRow(f.state, 6));
        f.choose("cmbDSO", 1); // the freed row comes first, so NGC 7000 shows twice
        QCOMPARE(f.row(0), f.row(1));
    }

    void magnitudeScrollBar() {
        WindowFixture f;
        f.get<QCheckBox>("chkNGC")->click();
        auto* sb = f.get<QScrollBar>("sbDsoMag");
        sb->triggerAction(QAbstractSlider::SliderSingleStepSub); // the upper arrow lowers
        QCOMPARE(f.box("txtDSOMaxMag")->text(), QStringLiteral("7.9"));
        QCOMPARE(f.text("lblDSOstats"), QStringLiteral("2 of 10 objects available."));
        sb->setValue(125);
        QCOMPARE(f.box("txtDSOMaxMag")->text(), QStringLiteral("12.5"));
        // clang-format off
        const struct { const char *typed, *after; int scroll; int chosen; } rows[] = {
            {"12.5", "12.5", 125, 4}, {"25", "25", 80, 4}, {"20", "20", 80, 4}, {"0", "0", 80, 0},
            {"", "0.0", 80, 0}, {".", "0.0", 80, 0}, {"8.04", "8.04", 80, 3}, {"6-a.5.1", "6.5", 65, 2}};
        // clang-format on
        for (const auto& r : rows) {
            WindowFixture f;
            f.get<QCheckBox>("chkNGC")->click();
            auto* mag = f.box("txtDSOMaxMag");
            mag->setFocus(Qt::TabFocusReason);
            QTRY_COMPARE(mag->selectedText(), QStringLiteral("8.0")); // typing replaces it all
            QTest::keyClick(mag, Qt::Key_Backspace);
            QTest::keyClicks(mag, r.typed);
            f.get<QCheckBox>("chkShowAll")->setFocus(Qt::TabFocusReason); // leaving checks it
            QCOMPARE(mag->text(), QLatin1String(r.after));
            QVERIFY2(f.get<QScrollBar>("sbDsoMag")->value() == r.scroll, r.typed);
            f.window->SelectObjects();
            QCOMPARE(f.text("lblDSOstats"), QString("%1 of 10 objects available.").arg(r.chosen));
        }
    }

    void sites() {
        WindowFixture f;
        f.state.sites[0].LatSec = 30, f.state.sites[0].LonSec = -15;
        f.state.sites[0].LatMin = -52, f.state.sites[0].LonMin = 12;
        f.choose("cmbDSO", 0);
        const QString north = f.row(0);
        f.choose("cmbLoc", 0); // Sydney: M 2 sets, M 3 rises
        QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Sydney"));
        QCOMPARE(f.state.sky.SiteTimeZone, std::int16_t(10));
        QCOMPARE(f.state.sky.ObserverLatitude, DegMinToRadians(-33, -52 + 0.5));
        QCOMPARE(f.state.sky.ObserverLongitude, DegMinToRadians(151, 12 - 0.25));
        QCOMPARE(f.get<QComboBox>("cmbDSO")->itemText(0).left(4), QStringLiteral("M 3 "));
        QCOMPARE(f.row(0), ExpectedRow(f.state, 1));
        // The next activation (as after a modal window) puts the current site back in force.
        f.window->RunActivationSequence();
        QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Back yard"));
        QCOMPARE(f.row(0), north);
        // The editor opens on the chosen site, which is selected again with its new values.
        ModalWatcher watcher;
        f.state.sites[1].Name = QStringLiteral("Garden");
        f.get<QPushButton>("cmdLocEdit")->click();
        f.get<QPushButton>("Command1")->click();
        QCOMPARE(watcher.dialogs, (QStringList{"Location1", "Printout"}));
        QCOMPARE(f.get<QComboBox>("cmbLoc")->currentText(), QStringLiteral("Garden"));
        QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Garden"));
        // New Location saved nothing: the empty record is gone, no site selected, the one
        // applied before stays in force.
        f.choose("cmbLoc", 0);
        f.get<QPushButton>("cmdNewLoc")->click();
        QCOMPARE(GetCurrentSiteIndex(f.state), std::int16_t(-2));
        QCOMPARE(int(f.state.sites.size()), 2);
        QCOMPARE(f.get<QComboBox>("cmbLoc")->currentText(), QStringLiteral("No Primary Location"));
        QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Sydney"));
        // A typed name that names no site counts as none selected: a new, empty site opens.
        for (const auto& [typed, opened] :
             {std::pair("Observatory", "Location2"), {"Sydney", "Location0"}}) {
            WindowFixture f;
            watcher.dialogs.clear();
            f.get<QComboBox>("cmbLoc")->setEditText(QString::fromLatin1(typed));
            QTest::mouseClick(f.get<QPushButton>("cmdLocEdit"), Qt::LeftButton);
            QVERIFY(watcher.dialogs == QStringList{opened} && f.state.sites.size() == 2);
        }
    }

    void nowAndTypedTime() {
        WindowFixture f;
        f.choose("cmbDSO", 0);
        auto* now = f.get<QCheckBox>("chkNow");
        auto* month = f.box("txtMonth");
        auto* timer1 = f.get<QTimer>("Timer1");
        ModalWatcher watcher;
        f.get<QPushButton>("cmdSet")->click(); // in Now mode with an empty box
        QCOMPARE(watcher.messages, QStringList{"Invalid Date"});
        QCOMPARE(watcher.titles, QStringList{"Zenitor"});
        now->click(); // typed mode, frozen at the click
        QVERIFY(!f.state.sky.UseNow && !timer1->isActive() && month->isEnabled());
        QCOMPARE(month->text(), QStringLiteral("3/1/2026 10:00:00 PM"));
        QCOMPARE(f.text("LblNow"), QStringLiteral("3/1/2026 10:00:00 PM"));
        month->setFocus(Qt::TabFocusReason);
        month->clear();
        QTest::keyClicks(month, QStringLiteral("3/1:2 7 aPM")); // refused keys dropped
        QCOMPARE(month->text(), QStringLiteral("3127a"));
        // Digits edited in place, one letter for the afternoon, Enter: applied like Set.
        month->setText(QStringLiteral("3/2/2026 11:30:00 "));
        month->end(false);
        QTest::keyClick(month, Qt::Key_P);
        QTest::keyClick(month, Qt::Key_Return);
        QCOMPARE(f.state.sky.ObservingTime, QDateTime({2026, 3, 2}, {23, 30}, Qt::UTC));
        QCOMPARE(month->text(), QStringLiteral("3/2/2026 11:30:00 PM"));
        QCOMPARE(f.row(0), ExpectedRow(f.state, 1));
        // Back to Now: the clock is followed again; the old text stays in the disabled box.
        f.clock->advanceSeconds(7200);
        f.get<QCheckBox>("chkMess")->setFocus(Qt::TabFocusReason);
        now->click();
        QVERIFY(f.state.sky.UseNow && timer1->isActive() && !month->isEnabled());
        QCOMPARE(f.text("LblNow"), QStringLiteral("3/2/2026 (Now)")); // midnight: the date alone
        QCOMPARE(f.row(0), ExpectedRow(f.state, 1));
        f.clock->advanceSeconds(60); // unticking freezes at the clock, not at the old text
        now->click();
        QCOMPARE(f.state.sky.ObservingTime, f.clock->localNow());
    }

    // The program's date text in each locale, edited by digits typed over it (Delete as X11
    // sends it), is applied by Set.
    void typedDigitsInEveryLocale() {
        const struct {
            const char *locale, *shown;
            int monthAt, hourAt;
            const char* hour;
        } cases[] = {{"C", "2026-03-01 22:00:00", 6, 12, "3"},
                     {"C.UTF-8", "2026-03-01 22:00:00", 6, 12, "3"},
                     {"en_US", "3/1/2026 10:00:00 PM", 0, 10, "1"},
                     {"en_GB", "01/03/2026 22:00:00", 4, 12, "3"},
                     {"de_DE", "01.03.2026 22:00:00", 4, 12, "3"},
                     {"fr_FR", "01/03/2026 22:00:00", 4, 12, "3"}};
        for (const auto& c : cases) {
            QLocale::setDefault(QLocale(QLatin1String(c.locale)));
            WindowFixture f;
            ModalWatcher watcher; // none expected; answered rather than left hanging
            auto* month = f.box("txtMonth");
            f.choose("cmbDSO", 0);
            f.get<QCheckBox>("chkNow")->click();
            QVERIFY2(month->text() == QLatin1String(c.shown), qPrintable(month->text()));
            const QString before = f.row(0);
            TypeOver(month, c.monthAt, "1");
            TypeOver(month, c.hourAt, c.hour);
            QTest::mouseClick(f.get<QPushButton>("cmdSet"), Qt::LeftButton);
            const QDateTime typed(QDate(2026, 1, 1), QTime(23, 0), Qt::UTC);
            QVERIFY2(f.state.sky.ObservingTime == typed, c.locale);
            QVERIFY2(month->text() == CivilDateTimeText(typed), c.locale);
            QCOMPARE(f.text("LblNow"), month->text());
            QVERIFY2(f.row(0) != before && watcher.messages.isEmpty(), c.locale);
        }
    }

    void leavingBadDateIsRefused() {
        WindowFixture f;
        auto* now = f.get<QCheckBox>("chkNow");
        now->click();
        const QDateTime before = f.state.sky.ObservingTime;
        auto* month = f.box("txtMonth");
        month->setFocus(Qt::MouseFocusReason);
        month->setText(QStringLiteral("13/45/2026"));
        ModalWatcher watcher;
        // Each way out shows the message, keeps the focus and does not act; pressed without a
        // click (as a screen reader does), the print button runs the check first too.
        auto* mess = f.get<QCheckBox>("chkMess");
        const std::function<void()> ways[] = {
            [&] { QTest::mouseClick(mess, Qt::LeftButton); },
            [&] { QTest::mouseClick(now, Qt::LeftButton); },
            [&] { QTest::mouseClick(f.get<QPushButton>("cmdSet"), Qt::LeftButton); },
            [&] { QTest::keyClick(month, Qt::Key_Tab); }};
        for (int i = 0; i < 4; ++i) {
            ways[i]();
            QTRY_COMPARE(watcher.messages.size(), i + 1);
            QTRY_VERIFY(month->hasFocus());
        }
        Press(f.get<QPushButton>("Command1"));
        QTRY_VERIFY(watcher.messages.size() == 5 && f.window->focusWidget() == month);
        QTest::qWait(50);
        QCOMPARE(watcher.messages, QStringList(5, "Invalid Date"));
        QCOMPARE(watcher.titles, QStringList(5, "Zenitor"));
        QVERIFY(watcher.dialogs.isEmpty() && mess->isChecked() && !now->isChecked());
        QVERIFY(ShowActive(f.window.get()));
        QCOMPARE(f.state.sky.ObservingTime, before);
        month->setText(QStringLiteral("3/5/2026 8:15:00 PM")); // a date again: the click acts
        QTest::mouseClick(mess, Qt::LeftButton);
        QVERIFY(!mess->isChecked() && mess->hasFocus() && watcher.messages.size() == 5);
    }

    // Delete, Escape back to the last valid date, the wheel only where the focus is, bad input
    // past the keys refused.
    void inputTraps() {
        WindowFixture f;
        ModalWatcher watcher;
        auto* mag = f.box("txtDSOMaxMag");
        TypeOver(mag, 0, "9");
        QCOMPARE(mag->text(), QStringLiteral("9.0"));
        auto* month = f.box("txtMonth");
        f.get<QCheckBox>("chkNow")->click();
        QVERIFY(EscapeRestores(month, 2)); // the "/" after the month
        for (QLineEdit* box : {month, mag}) {
            const QString before = box->text();
            QCOMPARE(SendBadInput(box), before);
        }
        auto* sites = f.get<QComboBox>("cmbLoc");
        auto* chooser = f.get<QComboBox>("cmbDSO");
        auto* bar = f.get<QScrollBar>("sbDsoMag");
        f.get<QCheckBox>("chkShowAll")->click();
        mag->setFocus();
        const int magnitude = bar->value();
        for (int notch = 0; notch < 3; ++notch)
            for (QWidget* w : QList<QWidget*>{sites, chooser->lineEdit(), bar})
                Wheel(w, notch % 2 ? -120 : 120);
        QVERIFY(sites->currentIndex() == 1 && f.state.listSlots[0] == 0);
        QCOMPARE(bar->value(), magnitude);
        // With the focus the wheel works as before.
        sites->setFocus();
        Wheel(sites, 120);
        QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Sydney"));
        QVERIFY(watcher.messages.isEmpty());
    }

    void captionsShrinkByGroup() {
        const QFont old = QApplication::font();
        QApplication::setFont(QFont(old.family(), 24));
        WindowFixture f;
        f.state.sites[1].Name = QString(70, u'W');
        f.window->RunActivationSequence();
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

    void timers() {
        WindowFixture f;
        f.choose("cmbDSO", 0);
        f.clock->advanceSeconds(15);
        f.window->Timer1Tick();
        QCOMPARE(f.text("LblNow"), QStringLiteral("3/1/2026 10:00:15 PM (Now)"));
        QCOMPARE(f.row(0), ExpectedRow(f.state, 1));
        // Timer2 reselects on the fifth tick after the last selection.
        f.get<QCheckBox>("chkNow")->click();
        f.get<QLabel>("lblDSOstats")->setText(QStringLiteral("stale"));
        for (int i = 1; i <= 4; ++i)
            f.window->Timer2Tick();
        QCOMPARE(f.window->SelectionAge(), std::int16_t(4));
        QCOMPARE(f.text("lblDSOstats"), QStringLiteral("stale"));
        f.window->Timer2Tick();
        QCOMPARE(f.window->SelectionAge(), std::int16_t(0));
        QCOMPARE(f.text("lblDSOstats"), QStringLiteral("1 of 10 objects available."));
        f.window->Timer2Tick();
        f.get<QCheckBox>("chkHer")->click(); // any selection restarts the count
        QCOMPARE(f.window->SelectionAge(), std::int16_t(0));
    }

    // Typing offers the lines holding the text, case and blanks aside; Enter or a click picks
    // into the first free row; Escape or clearing leaves all as it was.
    void chooserSearch() {
        WindowFixture f;
        for (const char* name : {"chkShowAll", "chkInView", "chkHer", "chkNGC", "chkIC"})
            f.get<QCheckBox>(name)->click();
        auto* chooser = f.get<QComboBox>("cmbDSO");
        QLineEdit* field = chooser->lineEdit();
        auto* search = chooser->findChild<ChooserSearch*>();
        QVERIFY(search && chooser->count() == 8);
        chooser->setFocus();
        const int current = chooser->currentIndex();
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
        QTest::keyClicks(chooser, "m");
        QTest::keyClick(chooser, Qt::Key_Backspace);
        QTest::keyClick(chooser, Qt::Key_Return);
        QVERIFY(!search->popup()->isVisible() && f.state.listSlots[0] == 0);
        QCOMPARE(chooser->currentIndex(), current);
        f.state.listSlots[0] = 2; // row 0 taken
        QTest::keyClicks(chooser, "ngc 70");
        QTest::keyClick(chooser, Qt::Key_Down);
        QTest::keyClick(chooser, Qt::Key_Return); // the second offered: NGC 7001
        QCOMPARE(f.state.listSlots[1], std::int16_t(8));
        QVERIFY(f.row(1).startsWith("NGC 7001") && !search->popup()->isVisible());
        // The field shows the picked line from its start, selected: typing starts a new search,
        // and Escape out of it shows that line again the same way.
        const auto fromStart = [&] {
            return field->text().startsWith("NGC 7001") && field->cursorPosition() == 0 &&
                   field->selectedText() == field->text();
        };
        QVERIFY(fromStart());
        QTest::keyClicks(chooser, "ic");
        QVERIFY(field->text() == "ic" && search->offered() == EntriesHolding(chooser, "ic"));
        QTest::keyClick(chooser, Qt::Key_Escape);
        QVERIFY(fromStart());
        field->clear();
        QTest::keyClicks(chooser, "of m");
        QListView* list = search->popup();
        // The list lays its lines out in batches from the event loop.
        QTRY_VERIFY(list->visualRect(list->model()->index(0, 0)).isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QCOMPARE(f.state.listSlots[2], std::int16_t(1)); // M 1
    }

    // Ctrl+N turns every window red on black, message boxes and windows opened later included.
    void nightVision() {
        WindowFixture f;
        const QPalette dayRow = f.window->objectRow(0)->palette();
        QTest::keyClick(f.window.get(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(NightVisionOn());
        QCOMPARE(NotRedPixels(f.window.get()), 0);
        const QColor even = f.window->objectRow(0)->palette().color(QPalette::Window);
        const QColor odd = f.window->objectRow(1)->palette().color(QPalette::Window);
        QVERIFY(even != odd && even.red() < 0x60 && odd.red() < 0x60);
        auto* chooser = f.get<QComboBox>("cmbDSO");
        chooser->setFocus();
        QTest::keyClicks(chooser, "m");
        QCOMPARE(NotRedPixels(chooser->findChild<ChooserSearch*>()->popup()), 0);
        int boxPixels = -1;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            boxPixels = box ? NotRedPixels(box) : -1;
            if (box) box->accept();
        });
        QMessageBox::warning(f.window.get(), "Zenitor", "A message with an icon.");
        QCOMPARE(boxPixels, 0);
        LocationWindow editor(f.state, f.window.get());
        editor.show();
        QCOMPARE(NotRedPixels(&editor), 0);
        QTest::keyClick(&editor, Qt::Key_N, Qt::ControlModifier);
        QVERIFY(!NightVisionOn());
        QCOMPARE(f.window->objectRow(0)->palette(), dayRow);
    }

    // The Location Editor's numeric boxes take Delete; Save pressed without the focus leaving
    // N runs its leave check: the real message, no icon, nothing saved, the window stays.
    void locationEditorEdges() {
        WindowFixture f(false);
        LocationWindow editor(f.state);
        for (const char* name : {"txtTZ", "txtN"}) {
            QLineEdit* box = editor.findChild<QLineEdit*>(name);
            const QString before = box->text();
            TypeOver(box, 0, "9");
            QCOMPARE(box->text(), QLatin1Char('9') + before.mid(1));
        }
        QVERIFY(ShowActive(&editor));
        ModalWatcher watcher;
        editor.findChild<QLineEdit*>("txtN")->setFocus();
        editor.findChild<QLineEdit*>("txtN")->setText(QStringLiteral("891"));
        Press(editor.findChild<QWidget*>("cmdSave"));
        QTRY_COMPARE(watcher.messages, QStringList{"Invalid horizon.  Must be between 0 and 90."});
        QCOMPARE(watcher.titles, QStringList{"Zenitor"});
        QVERIFY(editor.isVisible() && f.state.sites[1].Horizon[0] == 0);
    }

    void guideStarLines() {
        // clang-format off
        const struct { QString line; const char* name; double mag, raHours, decDeg; } rows[] = {
            {StarLine("Alpha Lyrae", "0.03", "+38 47 01", "18 36 56.3"), "Alpha Lyrae", 0.03, 18 + 36 / 60.0 + 56.3 / 3600, 38 + 47 / 60.0 + 1 / 3600.0},
            {StarLine("Delta Orionis", "2.23", "-00 17 57", "05 32  0.4"), "Delta Orionis", 2.23, 5 + 32 / 60.0 + 0.4 / 3600, -(17 / 60.0 + 57 / 3600.0)},
            {StarLine("Alpha Centauri A", " 1 2 ", " 10 30 00", "01 00  0"), "Alpha Centauri", 12, 1, 10.5},
            {StarLine("Short", "3.5", "-01 01 01", "02 30   45").left(48), "Short", 3.5, 2.5, 0},
        };
        // clang-format on
        for (const auto& r : rows) {
            GuideStar star;
            QVERIFY(ReadGuideStarLine(r.line, star));
            QCOMPARE(star.Name, QString::fromLatin1(r.name).leftJustified(20));
            QVERIFY(qAbs(star.Mag - r.mag) + qAbs(star.RA - DegToRad(r.raHours)) +
                        qAbs(star.Dec - DegToRad(r.decDeg)) <
                    1e-12);
        }
        GuideStar star;
        for (const QString& line :
             {QString(), QStringLiteral("HR Name"), " " + rows[0].line.mid(1)})
            QVERIFY(!ReadGuideStarLine(line, star));
        const QString d(QChar(0xB0));
        star = {"Vega                ", -1.46, 0, 0, DegToRad(20.75), DegToRad(5.1)};
        QCOMPARE(GuideStarRowText(star),
                 "Vega              20" + d + " 45.0'    5" + d + " 06.0' -1.46");
        for (double limit : {20.0, 60.0}) { // strictly between the limits
            QVERIFY(!IsGuideStarAltitude(DegToRad(limit)));
            QVERIFY(IsGuideStarAltitude(std::nextafter(DegToRad(limit), DegToRad(40))));
        }
    }

    // At the pole every star's altitude is its declination.
    void guideStarFile() {
        QStringList lines{"Bright guide stars", QString(), "HR  Name"}, expected;
        for (int i = 0; i < 25; ++i) {
            const QString name = QStringLiteral("S\u00e9ginus %1").arg(i);
            lines << StarLine(name, "2.0", QStringLiteral("+%1 30 00").arg(21 + i))
                  << StarLine("Low", "1", "+10 00 00") << StarLine("South", "1", "-30 00 00")
                  << StarLine("High", "1", "+75 00 00");
            if (i < 22) expected << name;
        }
        SkyState sky;
        SetObservingTime(sky, QDateTime({2024, 3, 15}, {21, 0}, Qt::UTC));
        SetObserverPosition(sky, DegToRad(90), 0);
        for (const QString end : {"\r\n", "\r", "\n"}) {
            QTemporaryDir dir;
            const GuideStarRows result = ComputeGuideStarRows(sky, StarFile(dir, lines, end));
            QVERIFY2(result.ok, qPrintable(result.error));
            QStringList names;
            for (const QString& row : result.rows)
                names << row.left(15).trimmed();
            QCOMPARE(names, expected);
            QCOMPARE(result.rows[0].mid(16, 8), QStringLiteral("  21\u00B0 30.0'").left(8));
        }
        for (const QString name : {QString(GuideStarFileName), QString()}) { // missing; a folder
            QTemporaryDir dir;
            const GuideStarRows result = ComputeGuideStarRows(sky, dir.filePath(name));
            QVERIFY(!result.ok && result.rows.isEmpty());
            QVERIFY2(result.error.contains(QDir::toNativeSeparators(dir.filePath(name))),
                     qPrintable(result.error));
        }
    }

    void guideStarsInTheWindow() {
        for (bool nowMode : {true, false}) {
            QTemporaryDir dir;
            StarFile(dir,
                     {StarLine("One", "1.0", "+89 00 00"), StarLine("Never", "1.0", "-89 00 00"),
                      StarLine("Two", "2.0", "+88 00 00")});
            WindowFixture f;
            f.state.dataDir = dir.path();
            if (!nowMode) f.get<QCheckBox>("chkNow")->click();
            f.choose("cmbDSO", 0);
            const QString object = f.row(0);
            for (int i = 2; i < 22; ++i)
                f.window->objectRow(i)->setText(QStringLiteral("row %1").arg(i));
            f.get<QPushButton>("cmdGuide")->click();
            QVERIFY(f.window->GuideMode() && !f.get<QTimer>("Timer1")->isActive());
            QCOMPARE(f.row(0).left(4), QStringLiteral("One "));
            QCOMPARE(f.row(1).left(4), QStringLiteral("Two "));
            QCOMPARE(f.row(2), QStringLiteral("row 2")); // rows below the last star are left alone
            // The way back clears every row and shows the picked objects again.
            f.get<QPushButton>("cmdGuide")->click();
            QVERIFY(!f.window->GuideMode());
            QCOMPARE(f.get<QTimer>("Timer1")->isActive(), nowMode);
            QVERIFY(f.row(0) == object && f.row(1).isEmpty() && f.row(2).isEmpty());
        }
        QTemporaryDir empty; // no star file: a message, and nothing changes
        WindowFixture f;
        f.state.dataDir = empty.path();
        f.choose("cmbDSO", 0);
        const QString before = f.row(0);
        ModalWatcher watcher;
        f.get<QPushButton>("cmdGuide")->click();
        QCOMPARE(watcher.messages.size(), 1);
        QVERIFY(watcher.messages[0].startsWith(QStringLiteral("The guide stars cannot be shown.")));
        QVERIFY(watcher.messages[0].contains(GuideStarFilePath(empty.path())));
        QVERIFY(!f.window->GuideMode() && f.row(0) == before);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
