// The Location Editor on a real locations file in a temporary directory.

#include "locationeditor/locationwindow.h"
#include "locationeditor/savereport.h"
#include "sites/locationsfile.h"
#include "sites/zonenames.h"
#include "state/sitesstorage.h"
#include "support/files.h"
#include "support/sites.h"
#include "support/windows.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QTemporaryDir>

using Answer = LocationWindow::Answer;

class TestLocationEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir; // the data directory, holding locations.txt
    AppState state;
    std::unique_ptr<LocationWindow> w;
    QStringList asked;     // "title: text" of every question, in turn
    QList<Answer> answers; // given in turn; OK or Yes once they run out
    QStringList failures;
    std::int16_t openedIndex = 0;

    QByteArray file() const { return ReadAll(LocationsFilePath(dir->path())); }
    void load(const QByteArray& sites) {
        dir = std::make_unique<QTemporaryDir>();
        WriteAll(LocationsFilePath(dir->path()), kHeaders + sites);
        state = AppState{}, state.dataDir = dir->path();
        QString error;
        QVERIFY2(ReadLocations(state, &error), qPrintable(error));
    }
    void edit(const QByteArray& sites, int index, bool appendNew = false) {
        load(sites);
        open(index, appendNew);
    }
    // Opens the editor as the main window does: on a site, or with `appendNew` on the empty
    // record New Location appends.
    void open(int index, bool appendNew = false) {
        if (appendNew) state.sites.push_back(SiteLocation{});
        openedIndex = std::int16_t(appendNew ? 1 - int(state.sites.size()) : index);
        SetCurrentSiteIndex(state, openedIndex), asked.clear(), failures.clear(), w.reset();
        w = std::make_unique<LocationWindow>(state, nullptr, appendNew);
        w->ask = [this](const QString& text, const QString& title, LocationWindow::Buttons b) {
            asked << title + ": " + text;
            if (!answers.isEmpty()) return answers.takeFirst();
            return b == LocationWindow::Buttons::YesNo ? Answer::Yes : Answer::Ok;
        };
        w->reportSaveFailure = [this](const QString& reason) { failures << reason; };
        QVERIFY(ShowActive(w.get()));
    }
    QLineEdit* get(const QString& name) { return w->findChild<QLineEdit*>(name); }
    QCheckBox* box(const QString& name) { return w->findChild<QCheckBox*>(name); }
    void click(const QString& name) {
        QTest::mouseClick(w->findChild<QWidget*>(name), Qt::LeftButton);
    }
    QWidget* focused() const { return QApplication::focusWidget(); }

private slots:
    void init() { answers.clear(); }
    void cleanup() {
        // Whatever happened, the editor leaves the current site index as it found it.
        if (w) QCOMPARE(GetCurrentSiteIndex(state), openedIndex);
        w.reset();
    }

    // The user's folder cannot be made: the message names it, the cause and the file kept.
    void editorTellsOfAFailedSave() {
        edit(kYard, 0);
        w->reportSaveFailure = [this](const QString& why) {
            ReportSaveFailure(w.get(), why, LocationsReadPath(state));
        };
        get("txtLocName")->setText("Renamed");
        ModalWatcher watcher;
        state.canReplaceFile = [](const QString&) { return false; };
        state.userDataDir = LocationsFilePath(dir->path()) + "/zenitor";
        click("cmdSave");
        const QString shown = watcher.messages.join('|'), cause = qt_error_string(ENOTDIR);
        QVERIFY2(watcher.titles == QStringList{"Zenitor"} &&
                     shown.startsWith("The sites were not saved.\n\n" + state.userDataDir +
                                      " could not be created: " + cause + "\n\n") &&
                     shown.endsWith("On disk, " + LocationsFilePath(dir->path()) +
                                    " keeps its previous content."),
                 qPrintable(shown));
        QVERIFY(file() == kHeaders + kYard && state.sites[0].Name == "Renamed");
    }

    // The name box takes, pasted or composed, only what the Latin-1 file can carry on one line.
    void siteNameKeepsWhatTheFileCanCarry() {
        // clang-format off
        const std::pair<QString, bool> rows[] = {{QString::fromLatin1("\xe9\xdf\xff\t1\0 2\n3", 10), true},
            {"a\r\nb", false}, {QString::fromUtf8("\u20ac"), false}, {QString::fromUtf8("\U0001d7d9"), false}};
        // clang-format on
        for (const auto& [pasted, taken] : rows) {
            edit(kYard, 0), get("txtLocName")->end(false);
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(get("txtLocName"), Qt::Key_V, Qt::ControlModifier);
            QInputMethodEvent composed;
            composed.setCommitString(pasted);
            QApplication::sendEvent(get("txtLocName"), &composed);
            const QString expected = taken ? "Back yard" + pasted + pasted : "Back yard";
            QCOMPARE(get("txtLocName")->text(), expected);
            click("cmdSave");
            QVERIFY(failures.isEmpty() && Parse(file()).sites == state.sites &&
                    state.sites[0].Name == expected);
        }
    }

    void focusOrderAndKeys() {
        edit(kYard, 0);
        QTest::keyClick(focused(), Qt::Key_Tab); // from the name box to the first number
        QCOMPARE(get("txtLaD")->selectedText(), QStringLiteral("45")); // entering selects all
        QTest::keyClicks(get("txtLaD"), "1a2.3 -4+");
        QApplication::clipboard()->setText("77");
        QTest::keyClick(get("txtLaD"), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(get("txtLaD"), Qt::Key_Backspace);
        QCOMPARE(get("txtLaD")->text(), QStringLiteral("123"));
        QTest::mouseClick(get("txtTZ"), Qt::LeftButton, {}, QPoint(3, 5));
        QTRY_COMPARE(get("txtTZ")->selectedText(), QStringLiteral("-8"));
        QTest::keyClicks(get("txtTZ"), "1-2.");
        QCOMPARE(get("txtTZ")->text(), QStringLiteral("1-2"));
    }

    void fieldBoundsAndRefusedClicks() {
        // clang-format off
        const QString hor = "Invalid horizon.  Must be between 0 and 90.", lat = "Invalid Latitude.  Must be between 0 and %1.",
                      tz = "Invalid Time Zone.  Must be between -12 and 12.", lon = "Invalid Longitude.  Must be between 0 and %1.";
        const struct { const char *field, *text; QString message; } rows[] = {
            {"txtN", "90", ""}, {"txtNW", "91", hor}, {"txtLaD", "180", ""}, {"txtLaD", "181", lat.arg(180)}, {"txtLaM", "60", ""},
            {"txtLaS", "61", lat.arg(60)}, {"txtLoD", "181", lon.arg(180)}, {"txtLoM", "61", lon.arg(60)}, {"txtTZ", "-12", ""},
            {"txtTZ", "13", tz}, {"txtTZ", "-13", tz}, {"txtTZ", "5-", tz},
            {"txtE", "", hor}, {"txtLoS", "99999999999999", lon.arg(60)}};
        // clang-format on
        load(kYard);
        for (const auto& r : rows) {
            open(0), get(r.field)->setFocus(), get(r.field)->setText(r.text);
            QTest::keyClick(focused(), Qt::Key_Tab), QTest::keyClick(focused(), Qt::Key_Backtab);
            const QStringList expected =
                r.message.isEmpty() ? QStringList() : QStringList(2, "Zenitor: " + r.message);
            QVERIFY2(asked == expected && (r.message.isEmpty() || focused() == get(r.field)),
                     qPrintable(asked.join('|')));
        }
        // Save or Delete refused for a bad value does not act. Abort!, Escape and the close box
        // leave unchecked: nothing stored or written, a new site's record gone again.
        for (const QByteArray way : {"cmdSave", "cmdDel", "CmdAbort", "Escape", "close"})
            for (const bool isNew : {false, true}) {
                load(kYard + kField);
                const SiteTable before = state.sites;
                open(1, isNew), get("txtLocName")->setText("Renamed");
                get("txtN")->setFocus(), get("txtN")->setText("91");
                const bool refused = way.startsWith("cmd");
                way == "Escape"  ? QTest::keyClick(get("txtN"), Qt::Key_Escape)
                : way == "close" ? void(w->close())
                                 : click(way);
                if (refused) click("txtS"), click("chkDST");
                QVERIFY(asked.size() == (refused ? 3 : 0) && w->isVisible() == refused &&
                        !box("chkDST")->isChecked() && file() == kHeaders + kYard + kField &&
                        (refused ? focused() == get("txtN") : state.sites == before) &&
                        state.sites.size() == before.size() + (refused && isNew));
                if (!refused) continue;
                get("txtN")->setText("90"); // once valid the same click acts
                click(way);
                QVERIFY(!w->isVisible() && (w->windowFlags() & Qt::WindowCloseButtonHint));
            }
    }

    void signsAndPrimaryRule() {
        edit(kYard + kField, 1);
        QStringList shown;
        for (const char* f : {"txtLaD", "txtLaM", "txtLaS", "txtLoD", "txtLoM", "txtLoS", "txtTZ"})
            shown << get(f)->text();
        QCOMPARE(shown.join(' '), QStringLiteral("0 30 0 0 7 30 2"));
        QVERIFY(box("chkS")->isChecked() && box("chkW")->isChecked());
        box("chkPrimary")->setChecked(true); // ticked on another site: that one alone is primary
        click("cmdSave");
        open(0), box("chkS")->setChecked(true), box("chkW")->setChecked(false);
        click("cmdSave"); // not primary while another site is: written at once
        QVERIFY(asked.isEmpty());
        QCOMPARE(file(), kHeaders + "-45 -30 0 122 40 15 -8 Y 0 0 0 10 10 0 0 0 N Back yard\r\n" +
                             QByteArray(kField).replace(" N Dark", " Y Dark"));
        open(1); // clearing the only primary site asks; Cancel keeps the window and the file
        box("chkPrimary")->setChecked(false);
        const QByteArray written = file();
        answers = {Answer::Cancel}, click("cmdSave");
        QVERIFY(asked == QStringList{kNoPrimary} && w->isVisible() && state.sites[1].Primary == 0 &&
                file() == written);
        click("cmdSave"); // OK this time
        QVERIFY(!w->isVisible() && file().endsWith("12 N Dark field\r\n"));
    }

    // Beside the DST box: what the computer's zone says of today, for a site in its region only.
    void computerDaylightBesideTheTick() {
        QStringList seen;
        for (const QDate day : {QDate(2026, 12, 15), QDate(2026, 7, 15)}) {
            load(kYard); // zone -8
            state.sky.computerZone = QTimeZone("America/Los_Angeles");
            state.sky.clock = std::make_shared<FixedClock>(QDateTime(day, {20, 0}, Qt::UTC));
            open(0), seen << w->findChild<QLabel*>("lblDSTHint")->text();
            get("txtTZ")->setText("1"), seen << w->findChild<QLabel*>("lblDSTHint")->text();
        }
        QCOMPARE(seen, (QStringList{"today: standard time", "", "today: daylight time", ""}));
    }

    // The zone name choice: a name fills and locks the zone and DST boxes, Save keeps it beside
    // the file's fixed fields; an unknown name is refused; a new site is offered the computer's.
    void timeZoneName() {
        load(kYard);
        state.sky.clock = std::make_shared<FixedClock>(QDateTime({2026, 7, 15}, {20, 0}, Qt::UTC));
        state.sky.computerZone = QTimeZone("America/New_York"), state.sky.UseNow = true;
        open(0);
        auto* names = w->findChild<QComboBox*>("cmbZoneName");
        QVERIFY(names->accessibleName() == "Time zone name" &&
                names->currentText() == "Fixed offset" && get("txtTZ")->isEnabled());
        names->setCurrentText("Asia/Kolkata");
        QVERIFY(!get("txtTZ")->isEnabled() && !box("chkDST")->isEnabled() &&
                get("txtTZ")->text() == "6" && !box("chkDST")->isChecked() &&
                w->findChild<QLabel*>("lblDSTHint")->text() == "UTC+05:30");
        names->setCurrentText("Asia/Nowhere"), click("cmdSave");
        QVERIFY(w->isVisible() && asked.size() == 1 && asked[0].contains("Unknown time zone name"));
        names->setCurrentText("Europe/Dublin"), click("cmdSave");
        QVERIFY(!w->isVisible() && state.sites[0].ZoneName == "Europe/Dublin" &&
                file().contains(" 0 Y 0 0 0 10 10 0 0 0 Y Back yard\r\n") &&
                ReadAll(ZoneNamesFilePath(dir->path())).endsWith("Europe/Dublin Back yard\n"));
        open(0, true);
        names = w->findChild<QComboBox*>("cmbZoneName");
        get("txtTZ")->setFocus(), get("txtTZ")->setText("-5"),
            QTest::keyClick(get("txtTZ"), Qt::Key_Tab);
        QVERIFY(names->currentText() == "America/New_York" && get("txtTZ")->text() == "-5" &&
                box("chkDST")->isChecked());
        names->setCurrentText("Fixed offset");
        QVERIFY(get("txtTZ")->isEnabled() &&
                w->findChild<QLabel*>("lblDSTHint")->text() == "today: daylight time");
    }

    void deleteAbortAndClose() {
        edit(kYard + kField, 0), get("txtLocName")->setText("Typed name");
        click("cmdDel"); // Yes, then OK to having no primary site
        QCOMPARE(asked, (QStringList{"Delete Location: Are you sure you want to delete Back yard",
                                     kNoPrimary}));
        QVERIFY(!w->isVisible() && file() == kHeaders + kField);
        edit(kYard + kField, 1); // No removes nothing, closes, and still rewrites the file
        QFile::remove(LocationsFilePath(dir->path()));
        answers = {Answer::No}, click("cmdDel");
        QVERIFY(!w->isVisible() && file() == kHeaders + kYard + kField);
        edit(kYard, 0); // the only site is kept, and the window stays open
        click("cmdDel");
        QVERIFY(asked.size() == 1 && !asked[0].contains("Are you sure") && w->isVisible() &&
                file() == kHeaders + kYard);
        load(kYard + kField);
        const SiteTable before = state.sites;
        open(0), get("txtLocName")->setText("Changed");
        box("chkPrimary")->setChecked(false), click("CmdAbort");
        QVERIFY(!w->isVisible() && asked.isEmpty() && state.sites == before);
        open(0, true); // a new record with a primary site elsewhere: removed without a question
        QVERIFY(w->isNew() && w->slot() == 2);
        QFile::remove(LocationsFilePath(dir->path()));
        click("CmdAbort");
        QVERIFY(asked.isEmpty() && state.sites == before && file() == kHeaders + kYard + kField);
        open(-1); // "no site chosen" names slot 1, an existing site: a new record instead
        QVERIFY(w->isNew() && w->slot() == 2 && get("txtLocName")->text().isEmpty());
        // None primary: a cancelled Save stores the values, Abort! still removes the new record.
        edit(kField, 0, true), get("txtLocName")->setText("Hill");
        answers = {Answer::Cancel, Answer::Cancel}, click("cmdSave");
        QCOMPARE(state.sites[1].Name, QStringLiteral("Hill"));
        click("CmdAbort");
        QVERIFY(asked == QStringList(2, kNoPrimary) && state.sites.size() == 1 &&
                file() == kHeaders + kField);
        for (bool save : {true, false}) { // the first site of an empty table: slot 0, new
            edit("", 0, true);
            QVERIFY(w->isNew() && w->slot() == 0);
            get("txtLocName")->setText("Home"), box("chkPrimary")->setChecked(true);
            click(save ? "cmdSave" : "CmdAbort");
            QCOMPARE(file(), kHeaders + (save ? "0 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 Y Home\r\n" : ""));
            QCOMPARE(state.sites.size(), std::size_t(save));
        }
    }
};

QTEST_MAIN(TestLocationEditor)
#include "test_locationeditor.moc"
