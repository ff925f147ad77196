// The main window over a night's use: the picked site stays in force, the time box takes what it
// shows, the search reaches every catalogue, rows behind the horizon are marked and freed rows
// come back. The cases that read or type dates run in the C and the German locale.

#include "kit/nightvision.h"
#include "mainwindow/choosersearch.h"
#include "printout/printout.h"
#include "printout/recordingsurface.h"
#include "settings/rememberedchoices.h"
#include "sky/skytime.h"
#include "state/remembering.h"
#include "support/windows.h"

namespace {

// The Location Editor answering its questions with Yes or OK.
void AnswerYes(LocationWindow* w) {
    w->ask = [](const QString&, const QString&, LocationWindow::Buttons b) {
        return b == LocationWindow::Buttons::YesNo ? LocationWindow::Answer::Yes
                                                   : LocationWindow::Answer::Ok;
    };
}

} // namespace

class TestMainWindowUse : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallNightVision(); }
    // Every case in the C and the German locale.
    void initTestCase_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << "C";
        QTest::newRow("de_DE") << "de_DE";
    }
    void init() {
        QFETCH_GLOBAL(QString, locale);
        QLocale::setDefault(QLocale(locale));
    }

    // A site picked in the site box stays in force through the print dialog, a print job, the
    // Location Editor and every activation; it is remembered for the next start.
    void pickedSiteStays() {
        QTemporaryDir dir;
        WindowFixture f;
        f.state.dataDir = dir.path(), f.state.settingsPath = dir.filePath("zenitor.conf");
        auto* sites = f.get<QComboBox>("cmbLoc");
        auto shown = [&] { return sites->currentText() + '|' + f.text("lblLocInfo"); };
        f.choose("cmbDSO", 0), f.choose("cmbLoc", 0); // Sydney, not the primary site
        {
            ModalWatcher watcher; // the print dialog opened and cancelled
            f.click("Command1");
            QCOMPARE(watcher.dialogs, QStringList{"Printout"});
        }
        QVERIFY(shown() == "Sydney|Sydney" && f.state.sky.SiteTimeZone == 10);
        // A print job in Now mode: afterwards the rows follow the clock again at Sydney.
        WithModal<Printout>(
            [&dir](Printout* d) {
                d->setSurfaceFactory(
                    [](const PrintTarget&) { return std::make_unique<RecordingSurface>(); });
                auto* printers = d->findChild<QComboBox*>("cboPrinter");
                printers->setCurrentIndex(printers->findText(Printout::PdfEntry));
                d->setPdfFileNameChooser(
                    [&dir](QWidget*, const QString&) { return dir.filePath("x.pdf"); });
                d->findChild<QPushButton*>("cmdPrint")->click();
            },
            [&] { f.click("Command1"); });
        f.clock->advanceSeconds(900), f.window->Timer1Tick();
        QVERIFY(shown() == "Sydney|Sydney" && f.state.sky.UseNow &&
                f.get<QCheckBox>("chkNow")->isChecked());
        QCOMPARE(f.text("LblNow"), CivilDateTimeText(SiteCivilNow(f.state.sky)) + " (Now)");
        QCOMPARE(f.row(0), ExpectedRow(f.state, 1));
        // New Location saved as primary: the new site is the one in force, named everywhere.
        WithModal<LocationWindow>(
            [](LocationWindow* w) {
                AnswerYes(w), w->findChild<QLineEdit*>("txtLocName")->setText("Garden");
                w->findChild<QCheckBox*>("chkPrimary")->setChecked(true);
                w->findChild<QPushButton*>("cmdSave")->click();
            },
            [&] { f.click("cmdNewLoc"); });
        QVERIFY(shown() == "Garden|Garden" && f.state.sky.SiteTimeZone == 0 &&
                GetCurrentSiteIndex(f.state) == 2);
        // The site in force deleted: the first site takes over (none is primary any more).
        auto remove = [](LocationWindow* w) {
            AnswerYes(w), w->findChild<QPushButton*>("cmdDel")->click();
        };
        WithModal<LocationWindow>(remove, [&] { f.click("cmdLocEdit"); });
        QVERIFY(shown() == "Sydney|Sydney" && f.state.sites.size() == 2);
        // A site above the one in force deleted (opened by its typed name): the same site stays.
        f.choose("cmbLoc", 1), sites->setEditText("Sydney");
        WithModal<LocationWindow>(remove, [&] { f.click("cmdLocEdit"); });
        QVERIFY(shown() == "Back yard|Back yard" && GetCurrentSiteIndex(f.state) == 0);
        QCOMPARE(f.state.sky.SiteTimeZone, std::int16_t(-5));
        // Remembered by name: the next start applies it while a site of that name is there.
        f.window->close();
        AppState next;
        next.sites = f.state.sites, next.sites.insert(next.sites.begin(), SiteLocation{});
        next.remembered = ReadRememberedChoices(f.state.settingsPath, nullptr, nullptr);
        RestoreRememberedSite(next);
        QCOMPARE(GetCurrentSiteIndex(next), std::int16_t(1));
        next.remembered.site = "Gone", SetCurrentSiteIndex(next, 0), RestoreRememberedSite(next);
        QCOMPARE(GetCurrentSiteIndex(next), std::int16_t(0));
    }

    // The box takes the separators of its own form, typed or pasted, and Ctrl+A; a date alone
    // can be completed with a time; Now is the way out of a bad text; the (Now) label follows
    // the site at once.
    void timeBoxTakesWhatItShows() {
        const bool german = QLocale().language() == QLocale::German;
        WindowFixture f;
        ModalWatcher watcher;
        auto* month = f.box("txtMonth");
        f.click("chkNow"), month->setFocus();
        auto typeAndSet = [&](const QString& text) {
            QTest::keyClick(month, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(month, text), QTest::keyClick(month, Qt::Key_Return);
        };
        typeAndSet(german ? "07.12.2026 21:00:00" : "2026-12-07 21:00:00");
        QCOMPARE(f.state.sky.ObservingTime, CivilTime({2026, 12, 7}, {21, 0}));
        typeAndSet(german ? "08.12.2026" : "2026-12-08"); // midnight: the date alone
        QCOMPARE(month->text(), german ? "08.12.2026" : "2026-12-08");
        month->end(false), QTest::keyClicks(month, " 1:15:00"),
            QTest::keyClick(month, Qt::Key_Return);
        QCOMPARE(f.state.sky.ObservingTime, CivilTime({2026, 12, 8}, {1, 15}));
        // Pasted: taken whole when every character would be, else not at all.
        const QString good = german ? "09.12.2026 04:30:00" : "2026-12-09 04:30:00";
        for (const QString& pasted : {QStringLiteral("9/12/2026 4:00 PM"), good}) {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(month, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(month, Qt::Key_V, Qt::ControlModifier);
        }
        QTest::keyClicks(month, "xp"), QTest::keyClick(month, Qt::Key_Return); // letters dropped
        QCOMPARE(f.state.sky.ObservingTime, CivilTime({2026, 12, 9}, {4, 30}));
        QVERIFY(watcher.messages.isEmpty());
        // Now after a bad text: no message, the text dropped, the clock followed.
        month->setText("31.02.2026"), QTest::mouseClick(f.get<QCheckBox>("chkNow"), Qt::LeftButton);
        QTest::qWait(50);
        QVERIFY(watcher.messages.isEmpty() && f.state.sky.UseNow && month->text().isEmpty());
        f.choose("cmbLoc", 0); // Sydney: its own present at once
        QCOMPARE(f.text("LblNow"), CivilDateTimeText(SiteCivilNow(f.state.sky)) + " (Now)");
        QCOMPARE(CivilDateTimeText(SiteCivilNow(f.state.sky)),
                 german ? "02.03.2026 13:00:00" : "2026-03-02 13:00:00");
    }

    // A row whose object stands behind the site's own horizon is marked, in the day and the night
    // display, and the mark follows each refresh.
    void rowsBehindTheHorizon() {
        WindowFixture f;
        f.click("chkInView"), f.choose("cmbDSO", 0); // M 2, high in the north
        auto* row = qobject_cast<ObjectRowLabel*>(f.window->objectRow(0));
        QVERIFY(!row->behindHorizon());
        const QImage plain = row->grab().toImage();
        f.state.sites[1].Horizon = {60, 0, 0, 0, 0, 0, 0, 0},
        f.choose("cmbLoc", 1); // trees to the north
        QVERIFY(row->behindHorizon() && row->font().italic() &&
                row->accessibleDescription().startsWith("Behind the local horizon"));
        QVERIFY(row->grab().toImage() != plain);
        SetNightVision(true), QApplication::processEvents();
        const QImage nightMarked = row->grab().toImage();
        f.state.sites[1].Horizon = {0, 0, 0, 0, 60, 0, 0, 0}, f.choose("cmbLoc", 1); // to the south
        QVERIFY(!row->behindHorizon() && row->accessibleDescription().isEmpty());
        QVERIFY(row->grab().toImage() != nightMarked);
        SetNightVision(false), QApplication::processEvents();
        QCOMPARE(row->grab().toImage(), plain);
    }

    // The search offers the chooser's lines first, then every other object with its box's name;
    // such a line fills a row as a chooser line does. The chooser's own list stays as it was.
    void searchReachesEveryCatalogue() {
        WindowFixture f;
        f.click("chkInView"), f.click("chkNGC"); // M 2, M 3, NGC 7000, NGC 7001, NGC 7002
        auto* chooser = f.get<QComboBox>("cmbDSO");
        auto* search = chooser->findChild<ChooserSearch*>("cmbDSOSearch");
        auto* popup = chooser->findChild<QListView*>("cmbDSOOffered");
        chooser->setFocus(), QTest::keyClicks(chooser->lineEdit(), "ngc 4");
        QStringList shown;
        for (int i = 0; i < popup->model()->rowCount(); ++i)
            shown << popup->model()->index(i, 0).data().toString().simplified();
        QCOMPARE(shown, (QStringList{"NGC 40 comment of NGC 40 (Herschel 400)"}));
        QVERIFY(search->offered().isEmpty() && chooser->count() == 5);
        QTest::keyClick(chooser->lineEdit(), Qt::Key_Return);
        QVERIFY(f.state.listSlots[0] == 4 && f.row(0) == ExpectedRow(f.state, 3));
        QVERIFY(chooser->lineEdit()->text().startsWith("NGC 40"));
        // A chooser line first, then the rest; the Moon is found with Planets unticked.
        QTest::keyClicks(chooser->lineEdit(), "o");
        QCOMPARE(popup->model()->index(0, 0).data().toString().left(4), "M 2 ");
        chooser->lineEdit()->selectAll(), QTest::keyClicks(chooser->lineEdit(), "moon");
        QVERIFY(popup->model()->rowCount() == 1 &&
                popup->model()->index(0, 0).data().toString().endsWith("(Planets)"));
        QTest::keyClick(chooser->lineEdit(), Qt::Key_Return);
        QCOMPARE(
            f.state.store.objects[std::size_t(f.state.listSlots[1] - 1)].Designation.TrimmedText(),
            QStringLiteral("Moon"));
    }

    // Ctrl+Z puts freed rows back, the last freed first, also with the focus in a text field.
    void freedRowsComeBack() {
        WindowFixture f;
        f.click("chkInView"), f.click("chkNGC");
        f.choose("cmbDSO", 0), f.choose("cmbDSO", 2); // M 2 in row 1, NGC 7000 in row 2
        const QString first = f.row(0), second = f.row(1);
        QTest::mouseClick(f.window->objectRow(0), Qt::LeftButton);
        QTest::mouseClick(f.window->objectRow(1), Qt::LeftButton);
        QCOMPARE(f.text("lblDSOstats"), QStringLiteral("Row 2 freed: Ctrl+Z puts NGC 7000 back"));
        QWidget* field = f.get<QComboBox>("cmbDSO")->lineEdit();
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(f.row(1) == second && f.row(0) == " " && f.state.listSlots[1] == 7);
        QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(f.row(0) == first && f.state.listSlots[0] == 2);
        // A freed row taken meanwhile: the object comes back in the first free row.
        QTest::mouseClick(f.window->objectRow(0), Qt::LeftButton), f.choose("cmbDSO", 1); // M 3
        QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(f.state.listSlots[0] == 3 && f.state.listSlots[2] == 2 &&
                f.text("lblDSOstats") == "M 2 back in row 3");
        f.get<QTimer>("NoteTimer")->start(1); // the count comes back
        QTRY_COMPARE(f.text("lblDSOstats"), QStringLiteral("5 of 10 objects available."));
    }
};

QTEST_MAIN(TestMainWindowUse)
#include "test_mainwindow_use.moc"
