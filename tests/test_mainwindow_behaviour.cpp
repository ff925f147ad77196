// The main window at work: selection and counts, picking into rows, sites, observing time,
// timers, and the checks made when the focus leaves a text box.

#include "test_mainwindow_fixture.h"

#include "objectlist/objectrows.h"
#include "sky/civiltime.h"
#include "sky/skytime.h"

// The row the window should show for a store record at the site and instant the sky state
// holds now.
static QString ExpectedRow(const AppState& state, int storeIndex) {
    SkyState sky = state.sky;
    const CatalogObject& o = state.store.objects[std::size_t(storeIndex)];
    SetTarget(sky, o.RA, o.Dec);
    const double alt = TargetAltitude(sky);
    const double az = TargetAzimuth(sky);
    return ObjectRowText(o, alt, az);
}

static void Pick(WindowFixture& f, int entry) {
    auto* chooser = f.get<QComboBox>("cmbDSO");
    chooser->setCurrentIndex(entry);
    emit chooser->activated(entry);
}

static void PickSite(WindowFixture& f, int entry) {
    auto* sites = f.get<QComboBox>("cmbLoc");
    sites->setCurrentIndex(entry);
    emit sites->activated(entry);
}

class TestMainWindowBehaviour : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void firstActivation();
    void catalogueTicksChangeCountsOnly();
    void pickingAndFreeingRows();
    void magnitudeFieldAndScrollBar();
    void magnitudeTyping_data();
    void magnitudeTyping();
    void siteChangeAndReapplication();
    void newLocationLeavesNoEmptySite();
    void noSitesAtAll();
    void nowAndTypedTime();
    void setButtonChecks();
    void dateKeyFilter();
    void leavingBadDateIsRefused();
    void timers();
};

void TestMainWindowBehaviour::firstActivation() {
    WindowFixture f;
    QVERIFY(f.active);
    // The primary site is listed, selected and applied.
    auto* sites = f.get<QComboBox>("cmbLoc");
    QCOMPARE(sites->count(), 2);
    QCOMPARE(sites->currentIndex(), 1);
    QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Back yard"));
    QCOMPARE(f.state.sky.SiteTimeZone, std::int16_t(-5));
    QVERIFY(qAbs(f.state.sky.ObserverLatitude - DegToRad(45)) < 1e-12);
    // Messier only, limit 8.0, in view only: M 2 (M 1 is too faint, M 3 below the horizon).
    QCOMPARE(f.text("lblDSOstats"), QStringLiteral("1 of 10 objects available."));
    QCOMPARE(f.get<QComboBox>("cmbDSO")->count(), 1);
    QVERIFY(f.get<QComboBox>("cmbDSO")->itemText(0).startsWith(QStringLiteral("M 2 ")));
    QCOMPARE(f.get<QComboBox>("cmbDSO")->itemText(0).size(), 90);
    QCOMPARE(f.text("LblNow"), QStringLiteral("3/1/2026 10:00:00 PM (Now)"));
}

void TestMainWindowBehaviour::catalogueTicksChangeCountsOnly() {
    WindowFixture f;
    Pick(f, 0);
    const QString row0 = f.row(0);
    QVERIFY(!row0.isEmpty());
    // The typical road: Messier and NGC at 8.0. NGC 7001 sits exactly at the limit.
    f.get<QCheckBox>("chkNGC")->click();
    QCOMPARE(f.text("lblDSOstats"), QStringLiteral("3 of 10 objects available."));
    auto* chooser = f.get<QComboBox>("cmbDSO");
    QStringList names;
    for (int i = 0; i < chooser->count(); ++i)
        names << chooser->itemText(i).left(20).trimmed();
    QCOMPARE(names, QStringList({"M 2", "NGC 7000", "NGC 7001"}));
    f.get<QCheckBox>("chkInView")->click(); // M 3 and NGC 7002 come in
    QCOMPARE(f.text("lblDSOstats"), QStringLiteral("5 of 10 objects available."));
    // The rows are not recomputed by these boxes: a changed clock does not show.
    f.clock->advanceSeconds(3600);
    f.get<QCheckBox>("chkShowAll")->click(); // and M 1
    QCOMPARE(f.text("lblDSOstats"), QStringLiteral("6 of 10 objects available."));
    QCOMPARE(f.row(0), row0);
    // Planets does nothing at all.
    f.get<QCheckBox>("chkPlanet")->click();
    QCOMPARE(f.text("lblDSOstats"), QStringLiteral("6 of 10 objects available."));
}

void TestMainWindowBehaviour::pickingAndFreeingRows() {
    WindowFixture f;
    f.get<QCheckBox>("chkNGC")->click(); // M 2, NGC 7000, NGC 7001
    Pick(f, 1);
    QCOMPARE(f.state.listSlots[0], std::int16_t(6 + 1));
    QCOMPARE(f.row(0), ExpectedRow(f.state, 6));
    Pick(f, 0);
    QCOMPARE(f.row(1), ExpectedRow(f.state, 1));
    // The same object again while it has a row and no row before it is free: nothing added.
    Pick(f, 1);
    QCOMPARE(f.state.listSlots[2], std::int16_t(0));
    QVERIFY(f.row(2).isEmpty());

    // A click frees the row at once; the other rows stay where they are.
    QTest::mouseClick(f.window->objectRow(0), Qt::LeftButton);
    QCOMPARE(f.state.listSlots[0], std::int16_t(0));
    QCOMPARE(f.row(0), QStringLiteral(" "));
    QCOMPARE(f.row(1), ExpectedRow(f.state, 1));
    // The freed row comes before M 2's row, so picking M 2 shows it twice.
    Pick(f, 0);
    QCOMPARE(f.row(0), f.row(1));
}

void TestMainWindowBehaviour::magnitudeFieldAndScrollBar() {
    WindowFixture f;
    f.get<QCheckBox>("chkNGC")->click();
    auto* sb = f.get<QScrollBar>("sbDsoMag");
    auto* mag = f.get<QLineEdit>("txtDSOMaxMag");
    sb->triggerAction(QAbstractSlider::SliderSingleStepSub); // the upper arrow lowers
    QCOMPARE(sb->value(), 79);
    QCOMPARE(mag->text(), QStringLiteral("7.9"));
    QCOMPARE(f.text("lblDSOstats"), QStringLiteral("2 of 10 objects available."));
    sb->setValue(125);
    QCOMPARE(mag->text(), QStringLiteral("12.5"));
}

void TestMainWindowBehaviour::magnitudeTyping_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<int>("scrollAfter");
    QTest::addColumn<QString>("stats"); // with Messier and NGC, in view only
    QTest::newRow("inside the range") << "12.5"
                                      << "12.5" << 125 << "4 of 10 objects available.";
    QTest::newRow("beyond the range keeps the scroll bar")
        << "25"
        << "25" << 80 << "4 of 10 objects available.";
    QTest::newRow("empty") << ""
                           << "0.0" << 80 << "0 of 10 objects available.";
    QTest::newRow("lone point counts as empty") << "."
                                                << "0.0" << 80 << "0 of 10 objects available.";
    QTest::newRow("rounds to the same value") << "8.04"
                                              << "8.04" << 80 << "3 of 10 objects available.";
    QTest::newRow("refused keys dropped") << "6-a.5.1"
                                          << "6.5" << 65 << "2 of 10 objects available.";
}

void TestMainWindowBehaviour::magnitudeTyping() {
    QFETCH(QString, typed);
    QFETCH(QString, textAfter);
    QFETCH(int, scrollAfter);
    QFETCH(QString, stats);
    WindowFixture f;
    f.get<QCheckBox>("chkNGC")->click();
    auto* mag = f.get<QLineEdit>("txtDSOMaxMag");
    mag->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(mag->selectedText(), QStringLiteral("8.0")); // typing replaces the whole text
    QTest::keyClick(mag, Qt::Key_Backspace);
    QTest::keyClicks(mag, typed);
    // Leaving the box checks it; the next selection reads the text as it then stands.
    f.get<QCheckBox>("chkShowAll")->setFocus(Qt::TabFocusReason);
    QCOMPARE(mag->text(), textAfter);
    QCOMPARE(f.get<QScrollBar>("sbDsoMag")->value(), scrollAfter);
    f.window->SelectObjects();
    QCOMPARE(f.text("lblDSOstats"), stats);
}

void TestMainWindowBehaviour::siteChangeAndReapplication() {
    WindowFixture f;
    f.get<QCheckBox>("chkInView")->click(); // M 2 and M 3 listed
    f.get<QCheckBox>("chkInView")->click(); // back to in view only: M 2 up in the north
    Pick(f, 0);
    const QString north = f.row(0);
    PickSite(f, 0); // Sydney: M 2 sets, M 3 rises
    QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Sydney"));
    QCOMPARE(f.state.sky.SiteTimeZone, std::int16_t(10));
    QCOMPARE(f.text("lblDSOstats"), QStringLiteral("1 of 10 objects available."));
    QVERIFY(f.get<QComboBox>("cmbDSO")->itemText(0).startsWith(QStringLiteral("M 3 ")));
    QCOMPARE(f.row(0), ExpectedRow(f.state, 1));
    QVERIFY(f.row(0) != north);
    // The next activation (as after a modal window) puts the current site index back in force.
    f.window->RunActivationSequence();
    QCOMPARE(f.get<QComboBox>("cmbLoc")->currentIndex(), 1);
    QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Back yard"));
    QCOMPARE(f.row(0), north);

    // The location editor opens on the chosen site; afterwards that site is selected again,
    // with its new values.
    ModalWatcher watcher;
    f.state.sites[1].Name = QStringLiteral("Garden");
    f.get<QPushButton>("cmdLocEdit")->click();
    QCOMPARE(watcher.dialogs, QStringList{"Location"});
    QCOMPARE(GetCurrentSiteIndex(f.state), std::int16_t(1));
    QCOMPARE(f.get<QComboBox>("cmbLoc")->currentText(), QStringLiteral("Garden"));
    QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Garden"));
}

void TestMainWindowBehaviour::newLocationLeavesNoEmptySite() {
    WindowFixture f;
    PickSite(f, 0); // Sydney in force
    ModalWatcher watcher;
    f.get<QPushButton>("cmdNewLoc")->click();
    QCOMPARE(watcher.dialogs, QStringList{"Location"});
    QCOMPARE(GetCurrentSiteIndex(f.state), std::int16_t(-2));
    // The editor saved nothing, so the empty record is gone again; no site is selected and the
    // one applied before stays in force.
    QCOMPARE(int(f.state.sites.size()), 2);
    auto* sites = f.get<QComboBox>("cmbLoc");
    QCOMPARE(sites->count(), 2);
    QCOMPARE(sites->currentIndex(), -1);
    QCOMPARE(sites->currentText(), QStringLiteral("No Primary Location"));
    QCOMPARE(f.state.sky.SiteTimeZone, std::int16_t(10));
    QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Sydney"));
}

void TestMainWindowBehaviour::noSitesAtAll() {
    WindowFixture f(false);
    f.state.sites.clear();
    SetCurrentSiteIndex(f.state, -1);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    auto* sites = f.get<QComboBox>("cmbLoc");
    QCOMPARE(sites->count(), 0);
    QCOMPARE(sites->currentText(), QStringLiteral("No Primary Location"));
    QCOMPARE(f.text("lblLocInfo"), QStringLiteral("Location Information"));
    // The window works with the position the sky state starts with.
    QCOMPARE(f.state.sky.ObserverLatitude, 0.0);
    QVERIFY(f.text("lblDSOstats").endsWith(QStringLiteral(" of 10 objects available.")));
    // Location Editor with nothing selected starts a new site, the first one, in slot 0.
    ModalWatcher watcher;
    f.get<QPushButton>("cmdLocEdit")->click();
    QCOMPARE(watcher.dialogs, QStringList{"Location"});
    QVERIFY(f.state.sites.empty());
    QCOMPARE(GetCurrentSiteIndex(f.state), std::int16_t(0));
}

void TestMainWindowBehaviour::nowAndTypedTime() {
    WindowFixture f;
    Pick(f, 0);
    auto* now = f.get<QCheckBox>("chkNow");
    auto* month = f.get<QLineEdit>("txtMonth");
    auto* timer1 = f.get<QTimer>("Timer1");
    QVERIFY(timer1->isActive());

    now->click(); // typed mode, frozen at the click
    QVERIFY(!f.state.sky.UseNow);
    QCOMPARE(f.state.sky.ObservingTime, f.clock->localNow());
    QCOMPARE(month->text(), QStringLiteral("3/1/2026 10:00:00 PM"));
    QVERIFY(month->isEnabled());
    QVERIFY(!timer1->isActive());
    QCOMPARE(f.text("LblNow"), QStringLiteral("3/1/2026 10:00:00 PM"));
    // Digits edited in place, a single letter for the afternoon, then Enter: applied like Set,
    // and the text comes back in its normal form.
    month->setFocus(Qt::TabFocusReason);
    month->setText(QStringLiteral("3/2/2026 11:30:00 "));
    month->end(false);
    QTest::keyClick(month, Qt::Key_P);
    QTest::keyClick(month, Qt::Key_Return);
    const QDateTime typed(QDate(2026, 3, 2), QTime(23, 30, 0), Qt::UTC);
    QCOMPARE(f.state.sky.ObservingTime, typed);
    QCOMPARE(month->text(), QStringLiteral("3/2/2026 11:30:00 PM"));
    QCOMPARE(f.text("LblNow"), QStringLiteral("3/2/2026 11:30:00 PM"));
    QCOMPARE(f.row(0), ExpectedRow(f.state, 1));

    // Back to Now: the clock is followed again; the old text stays in the disabled box.
    f.clock->advanceSeconds(7200);
    f.get<QCheckBox>("chkMess")->setFocus(Qt::TabFocusReason);
    now->click();
    QVERIFY(f.state.sky.UseNow);
    QVERIFY(timer1->isActive());
    QVERIFY(!month->isEnabled());
    QCOMPARE(f.text("LblNow"), QStringLiteral("3/2/2026 (Now)")); // midnight: the date alone
    QCOMPARE(f.row(0), ExpectedRow(f.state, 1));

    // Unchecking again freezes at the clock, not at the old text in the box.
    f.clock->advanceSeconds(60);
    now->click();
    QCOMPARE(month->text(), QStringLiteral("3/2/2026 11:30:00 PM"));
    QCOMPARE(f.state.sky.ObservingTime, f.clock->localNow());
}

void TestMainWindowBehaviour::setButtonChecks() {
    WindowFixture f;
    ModalWatcher watcher;
    auto* set = f.get<QPushButton>("cmdSet");
    set->click(); // at start: empty text
    QCOMPARE(watcher.messages, QStringList{"Invalid Date"});
    QCOMPARE(watcher.titles, QStringList{"Zenitor"});
    // A valid text in Now mode changes nothing.
    f.get<QLineEdit>("txtMonth")->setText(QStringLiteral("1/1/2025 9:00:00 PM"));
    set->click();
    QCOMPARE(watcher.messages.size(), 1);
    QVERIFY(f.state.sky.UseNow);
    QVERIFY(f.text("LblNow").endsWith(QStringLiteral(" (Now)")));
}

void TestMainWindowBehaviour::dateKeyFilter() {
    WindowFixture f;
    f.get<QCheckBox>("chkNow")->click();
    auto* month = f.get<QLineEdit>("txtMonth");
    month->setFocus(Qt::TabFocusReason);
    month->clear();
    QTest::keyClicks(month, QStringLiteral("3/1:2 7 aPM"));
    QCOMPARE(month->text(), QStringLiteral("3127a"));
    QTest::keyClick(month, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(month, Qt::Key_Backspace);
    QCOMPARE(month->text(), QStringLiteral("3127"));
}

void TestMainWindowBehaviour::leavingBadDateIsRefused() {
    WindowFixture f;
    auto* now = f.get<QCheckBox>("chkNow");
    now->click();
    const QDateTime before = f.state.sky.ObservingTime;
    auto* month = f.get<QLineEdit>("txtMonth");
    month->setFocus(Qt::MouseFocusReason);
    QVERIFY(month->hasFocus());
    month->setText(QStringLiteral("13/45/2026"));

    ModalWatcher watcher;
    // Clicking another control to leave: the message shows, the focus comes back, the click
    // does nothing.
    auto* mess = f.get<QCheckBox>("chkMess");
    QTest::mouseClick(mess, Qt::LeftButton);
    QTRY_COMPARE(watcher.messages, QStringList{"Invalid Date"});
    QTRY_VERIFY(month->hasFocus());
    QVERIFY(mess->isChecked());
    QTest::mouseClick(now, Qt::LeftButton);
    QTRY_COMPARE(watcher.messages.size(), 2);
    QTRY_VERIFY(month->hasFocus());
    QVERIFY(!now->isChecked());
    // Set clicked to leave does not act either (it would show a second message).
    QTest::mouseClick(f.get<QPushButton>("cmdSet"), Qt::LeftButton);
    QTRY_COMPARE(watcher.messages.size(), 3);
    QTRY_VERIFY(month->hasFocus());
    QTest::qWait(50);
    QCOMPARE(watcher.messages.size(), 3);
    QCOMPARE(f.state.sky.ObservingTime, before);
    // Tab is refused the same way.
    QTest::keyClick(month, Qt::Key_Tab);
    QTRY_COMPARE(watcher.messages.size(), 4);
    QTRY_VERIFY(month->hasFocus());

    // Once the text is a date again the focus moves and the click acts.
    month->setText(QStringLiteral("3/5/2026 8:15:00 PM"));
    QTest::mouseClick(mess, Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(watcher.messages.size(), 4);
    QVERIFY(!mess->isChecked());
    QVERIFY(mess->hasFocus());
}

void TestMainWindowBehaviour::timers() {
    WindowFixture f;
    Pick(f, 0);
    f.clock->advanceSeconds(15);
    f.window->Timer1Tick();
    QCOMPARE(f.text("LblNow"), QStringLiteral("3/1/2026 10:00:15 PM (Now)"));
    QCOMPARE(f.row(0), ExpectedRow(f.state, 1));

    // Timer2 reselects on the fifth tick after the last selection, in either mode.
    f.get<QCheckBox>("chkNow")->click(); // a selection: the count starts again
    auto* stats = f.get<QLabel>("lblDSOstats");
    stats->setText(QStringLiteral("stale"));
    for (int i = 1; i <= 4; ++i) {
        f.window->Timer2Tick();
        QCOMPARE(f.window->SelectionAge(), std::int16_t(i));
    }
    QCOMPARE(stats->text(), QStringLiteral("stale"));
    f.window->Timer2Tick();
    QCOMPARE(f.window->SelectionAge(), std::int16_t(0));
    QCOMPARE(stats->text(), QStringLiteral("1 of 10 objects available."));
    // Any selection in between restarts the count.
    f.window->Timer2Tick();
    f.window->Timer2Tick();
    f.get<QCheckBox>("chkHer")->click();
    QCOMPARE(f.window->SelectionAge(), std::int16_t(0));
}

QTEST_MAIN(TestMainWindowBehaviour)
#include "test_mainwindow_behaviour.moc"
