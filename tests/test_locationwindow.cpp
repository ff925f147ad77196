// The Location Editor on a real locations file in a temporary directory: field checks, the
// refused move, the sign boxes, Save with the primary rule, Delete, Abort! and closing.

#include "sites/locationsfile.h"
#include "sites/locationwindow.h"
#include "startup/twips.h"
#include "support/locationsdir.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

using Answer = LocationWindow::Answer;
using Buttons = LocationWindow::Buttons;

static const QByteArray kHeaders = "Zenitor sites\r\nLaD LaM LaS LoD LoM LoS TZ DST ... Name\r\n";
static const QByteArray kYard = "45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 Y Back yard\r\n";
static const QByteArray kField = "0 -30 0 0 -7 -30 2 N 5 6 7 8 9 10 11 12 N Dark field\r\n";
static const QString kNoPrimary = "Primary?: You have no primary location.";
static const QByteArray kNoFile = LocationsDir::missing();

class TestLocationWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<LocationsDir> dir;
    AppState state;
    std::unique_ptr<LocationWindow> w;
    QStringList asked; // "title: text" of every message, in turn
    QList<Buttons> buttons;
    QList<Answer> answers; // given in turn; OK or Yes once they run out
    QStringList failures;
    std::int16_t openedIndex = 0;

    QString path() const { return LocationsFilePath(state.dataDir); }
    QByteArray file() const { return dir->bytes(); }
    void load(const QByteArray& sites) {
        dir = std::make_unique<LocationsDir>(kHeaders + sites);
        state = AppState{};
        QString error;
        QVERIFY2(dir->load(state, &error), qPrintable(error));
    }
    // Opens the window as the main window does: on an existing site, or with `appendNew` on the
    // empty record New Location appends.
    void open(int index, bool appendNew = false) {
        if (appendNew) {
            state.sites.push_back(SiteLocation{});
            index = 1 - int(state.sites.size());
        }
        openedIndex = std::int16_t(index);
        SetCurrentSiteIndex(state, openedIndex);
        asked.clear();
        buttons.clear();
        failures.clear();
        w = std::make_unique<LocationWindow>(state, nullptr, appendNew);
        w->ask = [this](const QString& text, const QString& title, Buttons b) {
            asked << title + ": " + text;
            buttons << b;
            if (!answers.isEmpty()) return answers.takeFirst();
            return b == Buttons::YesNo ? Answer::Yes : Answer::Ok;
        };
        w->reportSaveFailure = [this](const QString& reason) { failures << reason; };
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    template <class T = QLineEdit> T* get(const QString& name) {
        T* c = w->findChild<T*>(name);
        if (!c) qFatal("no control %s", qPrintable(name));
        return c;
    }
    QCheckBox* box(const QString& name) { return get<QCheckBox>(name); }
    void click(const QString& name) { QTest::mouseClick(get<QWidget>(name), Qt::LeftButton); }
    QWidget* focused() const { return QApplication::focusWidget(); }

private slots:
    void init() { answers.clear(); }
    void cleanup() {
        // Whatever happened, the window leaves the current site index as it found it.
        if (w) QCOMPARE(GetCurrentSiteIndex(state), openedIndex);
        w.reset();
    }

    void placesAndFocusOrder() {
        load(kYard);
        open(0);
        const int dx = w->logicalDpiX(), dy = w->logicalDpiY();
        QCOMPARE(w->size(), QSize(TwipsToPixels(4590, dx), TwipsToPixels(8520, dy)));
        QCOMPARE(get("txtE")->geometry(), TwipsRect(w.get(), 3480, 6120, 495, 360));
        QCOMPARE(focused(), get("txtLocName"));
        const QStringList order = QString("txtLaD txtLaM txtLaS chkS txtLoD txtLoM txtLoS chkW "
                                          "txtTZ chkDST txtN txtNE txtE txtSE txtS txtSW txtW "
                                          "txtNW cmdSave cmdDel CmdAbort chkPrimary txtLocName")
                                      .split(' ');
        for (const QString& next : order) {
            QTest::keyClick(focused(), Qt::Key_Tab);
            QCOMPARE(focused()->objectName(), next);
        }
        QVERIFY(asked.isEmpty());
    }

    void fieldBounds_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // empty: accepted
        const QString hor = "Invalid horizon.  Must be between 0 and 90.";
        const QString lat = "Invalid Latitude.  Must be between 0 and %1.";
        const QString lon = "Invalid Longitude.  Must be between 0 and %1.";
        const QString tz = "Invalid Time Zone.  Must be between -12 and 12.";
        const struct {
            const char* field;
            const char* text;
            QString message;
        } rows[] = {
            {"txtN", "90", ""},
            {"txtNW", "91", hor},
            {"txtLaD", "180", ""},
            {"txtLaD", "181", lat.arg(180)},
            {"txtLaM", "60", ""},
            {"txtLaS", "61", lat.arg(60)},
            {"txtLoD", "181", lon.arg(180)},
            {"txtLoM", "61", lon.arg(60)},
            {"txtTZ", "-12", ""},
            {"txtTZ", "12", ""},
            {"txtTZ", "13", tz},
            {"txtTZ", "-13", tz},
            {"txtTZ", "-", tz},
            {"txtTZ", "5-", tz},
            {"txtE", "", hor},
            {"txtLoS", "99999999999999", lon.arg(60)},
        };
        for (const auto& r : rows)
            QTest::addRow("%s %s", r.field, r.text) << r.field << r.text << r.message;
    }
    void fieldBounds() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        load(kYard);
        open(0);
        QLineEdit* f = get(field);
        f->setFocus();
        f->setText(text);
        QTest::keyClick(f, Qt::Key_Tab);
        if (message.isEmpty()) {
            QVERIFY(asked.isEmpty());
            QVERIFY(focused() != f);
            return;
        }
        QTest::keyClick(f, Qt::Key_Backtab);
        QCOMPARE(asked, QStringList() << "Zenitor: " + message << "Zenitor: " + message);
        QCOMPARE(buttons.first(), Buttons::Ok);
        QCOMPARE(focused(), f);
    }

    void refusedClickDoesNotAct_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Save") << "cmdSave";
        QTest::newRow("Delete") << "cmdDel";
        QTest::newRow("Abort") << "CmdAbort";
    }
    void refusedClickDoesNotAct() {
        QFETCH(QString, button);
        load(kYard + kField);
        open(1);
        get("txtLocName")->setText("Renamed");
        get("txtN")->setFocus();
        get("txtN")->setText("91");
        const SiteTable before = state.sites;
        click(button);
        click("txtS");
        click("chkDST");
        QCOMPARE(asked.size(), 3);
        QCOMPARE(focused(), get("txtN"));
        QVERIFY(w->isVisible() && !box("chkDST")->isChecked());
        QVERIFY(state.sites == before);
        QCOMPARE(file(), kHeaders + kYard + kField);
        // Once the value is valid the same click acts.
        get("txtN")->setText("90");
        click(button);
        QVERIFY(!w->isVisible());
    }

    void keyFilterAndSelectAll() {
        load(kYard);
        open(0);
        QTest::keyClick(focused(), Qt::Key_Tab);
        QLineEdit* lad = get("txtLaD");
        QCOMPARE(lad->selectedText(), QStringLiteral("45"));
        QTest::keyClicks(lad, "1a2.3 -4+");
        QTest::keyClick(lad, Qt::Key_Return);
        QApplication::clipboard()->setText("77");
        QTest::keyClick(lad, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(lad, Qt::Key_Backspace);
        QCOMPARE(lad->text(), QStringLiteral("123"));
        QLineEdit* tz = get("txtTZ");
        QTest::mouseClick(tz, Qt::LeftButton, {}, QPoint(3, 5));
        QTRY_COMPARE(tz->selectedText(), QStringLiteral("-8"));
        QTest::keyClicks(tz, "1-2.");
        QCOMPARE(tz->text(), QStringLiteral("1-2"));
        QTest::keyClick(tz, Qt::Key_Escape); // does not close the window
        QVERIFY(w->isVisible());
    }

    void southWestRoundTrip() {
        load(kYard + kField);
        open(1);
        QVERIFY(box("chkS")->isChecked() && box("chkW")->isChecked());
        QStringList shown;
        for (const char* f : {"txtLaD", "txtLaM", "txtLaS", "txtLoD", "txtLoM", "txtLoS", "txtTZ"})
            shown << get(f)->text();
        QCOMPARE(shown.join(' '), QStringLiteral("0 30 0 0 7 30 2"));
        click("cmdSave");
        QCOMPARE(file(), kHeaders + kYard + kField);
        open(0);
        box("chkS")->setChecked(true);
        box("chkW")->setChecked(false);
        click("cmdSave");
        QVERIFY(asked.isEmpty());
        QCOMPARE(file(),
                 kHeaders + "-45 -30 0 122 40 15 -8 Y 0 0 0 10 10 0 0 0 Y Back yard\r\n" + kField);
    }

    void primaryRule() {
        load(kYard + kField);
        // Ticked on another site: that one alone is primary, without a question.
        open(1);
        box("chkPrimary")->setChecked(true);
        click("cmdSave");
        QVERIFY(asked.isEmpty());
        const QByteArray yardNotPrimary = QByteArray(kYard).replace(" Y Back", " N Back");
        QCOMPARE(file(),
                 kHeaders + yardNotPrimary + QByteArray(kField).replace(" N Dark", " Y Dark"));
        // Clear while another site is primary: written at once.
        open(0);
        get("txtLocName")->setText("Yard");
        click("cmdSave");
        QVERIFY(asked.isEmpty() && file().contains("N Yard\r\n"));
        // Clearing the only primary site asks; Cancel keeps the window open and the file as it was.
        open(1);
        box("chkPrimary")->setChecked(false);
        const QByteArray written = file();
        answers = {Answer::Cancel};
        click("cmdSave");
        QCOMPARE(asked, QStringList{kNoPrimary});
        QCOMPARE(buttons.first(), Buttons::OkCancel);
        QVERIFY(w->isVisible());
        QCOMPARE(state.sites[1].Primary, std::int16_t(0)); // stored, not written
        QCOMPARE(file(), written);
        click("cmdSave"); // OK this time
        QVERIFY(!w->isVisible() && file().endsWith("12 N Dark field\r\n"));
    }

    void deleteAsksWithStoredName() {
        load(kYard + kField);
        open(0);
        get("txtLocName")->setText("Typed name");
        click("cmdDel"); // Yes, then OK to having no primary site
        QCOMPARE(asked, (QStringList{"Delete Location: Are you sure you want to delete Back yard",
                                     kNoPrimary}));
        QCOMPARE(buttons.first(), Buttons::YesNo);
        QVERIFY(!w->isVisible());
        QCOMPARE(file(), kHeaders + kField);
        // No removes nothing, closes, and (with a primary site) still rewrites the file.
        load(kYard + kField);
        open(1);
        QFile::remove(path());
        answers = {Answer::No};
        click("cmdDel");
        QCOMPARE(asked, QStringList{"Delete Location: Are you sure you want to delete Dark field"});
        QVERIFY(!w->isVisible());
        QCOMPARE(file(), kHeaders + kYard + kField);
        // The only site is kept, and the window stays open.
        load(kYard);
        open(0);
        click("cmdDel");
        QVERIFY(asked.size() == 1 && !asked[0].contains("Are you sure"));
        QVERIFY(w->isVisible() && state.sites.size() == 1);
        QCOMPARE(file(), kHeaders + kYard);
    }

    void abortExistingKeepsEverything() {
        load(kYard + kField);
        const SiteTable before = state.sites;
        open(0);
        get("txtLocName")->setText("Changed");
        box("chkPrimary")->setChecked(false);
        get("txtN")->setFocus();
        get("txtN")->setText("45");
        click("CmdAbort");
        QVERIFY(!w->isVisible() && asked.isEmpty());
        QVERIFY(state.sites == before);
        QCOMPARE(file(), kHeaders + kYard + kField);
    }

    void abortNewRemovesRecord() {
        // With a primary site: removed without a question, the file rewritten as it was.
        load(kYard + kField);
        open(0, true);
        QVERIFY(w->isNew() && w->slot() == 2);
        get("txtLocName")->setText("Never kept");
        QFile::remove(path());
        click("CmdAbort");
        QVERIFY(asked.isEmpty() && state.sites.size() == 2);
        QCOMPARE(file(), kHeaders + kYard + kField);
        // With none primary the question still comes; Cancel writes nothing, the window closes.
        load(kField);
        open(0, true);
        QFile::remove(path());
        answers = {Answer::Cancel};
        click("CmdAbort");
        QCOMPARE(asked, QStringList{kNoPrimary});
        QVERIFY(!w->isVisible() && state.sites.size() == 1);
        QCOMPARE(file(), kNoFile);
        // A cancelled Save stores the values; Abort! still removes the record without asking.
        load(kField);
        open(0, true);
        get("txtLocName")->setText("Hill");
        answers = {Answer::Cancel};
        click("cmdSave");
        QCOMPARE(state.sites[1].Name, QStringLiteral("Hill"));
        click("CmdAbort");
        QCOMPARE(asked, (QStringList{kNoPrimary, kNoPrimary}));
        QVERIFY(state.sites.size() == 1);
        QCOMPARE(file(), kHeaders + kField);
    }

    void newSiteOutsideTheNegativeIndex() {
        // The first site of an empty table: index 0, marked new by the caller.
        load("");
        open(0, true);
        QVERIFY(w->isNew());
        get("txtLocName")->setText("Home");
        box("chkPrimary")->setChecked(true);
        click("cmdSave");
        QCOMPARE(file(), kHeaders + "0 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 Y Home\r\n");
        load("");
        open(0, true);
        click("CmdAbort");
        QVERIFY(state.sites.empty());
        // -1 ("no site chosen") names slot 1, an existing site: a new record is opened instead.
        load(kYard + kField);
        const SiteTable before = state.sites;
        open(-1);
        QVERIFY(w->isNew() && w->slot() == 2 && get("txtLocName")->text().isEmpty());
        click("CmdAbort");
        QVERIFY(state.sites == before);
        QCOMPARE(file(), kHeaders + kYard + kField);
    }

    void failedWriteKeepsValues() {
        load(kYard + kField);
        state.dataDir = dir->path() + "/missing";
        open(1);
        get("txtLocName")->setText("Kept in memory");
        click("cmdSave");
        QVERIFY(failures.size() == 1 && !failures[0].isEmpty());
        QCOMPARE(state.sites[1].Name, QStringLiteral("Kept in memory"));
        state.dataDir = dir->path();
        QCOMPARE(file(), kHeaders + kYard + kField);
    }

    void closedByFrame() {
        load(kYard + kField);
        open(0, true);
        QVERIFY(!(w->windowFlags() & Qt::WindowCloseButtonHint));
        QFile::remove(path());
        w->close();
        QVERIFY(state.sites.size() == 2 && file() == kNoFile); // the new record is gone
        const SiteTable before = state.sites;
        open(1);
        get("txtLocName")->setText("Typed");
        w->close();
        QVERIFY(state.sites == before && asked.isEmpty());
    }

    void realMessageBoxes() {
        load(kYard);
        LocationWindow plain(state);
        QString seen;
        QTimer::singleShot(0, [&seen] {
            auto* mb = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!mb) return;
            seen = mb->windowTitle() + "/" + mb->text() + "/" + QString::number(mb->icon());
            QVERIFY(mb->button(QMessageBox::Cancel));
            mb->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(plain.ask("Bad", "Zenitor", Buttons::OkCancel), Answer::Ok);
        QCOMPARE(seen, QStringLiteral("Zenitor/Bad/0"));
    }
};

QTEST_MAIN(TestLocationWindow)
#include "test_locationwindow.moc"
