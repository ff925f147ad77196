// The Location Editor on a real locations file in a temporary directory: field checks, the
// refused move, the sign boxes, Save with the primary rule, Delete, Abort! and closing.

#include "sites/locationsfile.h"
#include "sites/locationwindow.h"
#include "startup/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using Answer = LocationWindow::Answer;
using Buttons = LocationWindow::Buttons;

namespace {

const QByteArray kHeaders = "Zenitor observing sites\r\nLaD LaM LaS LoD LoM LoS TZ DST N NE E SE S "
                            "SW W NW Pri Name\r\n";
const QByteArray kYard = "45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 Y Back yard\r\n";
const QByteArray kField = "0 -30 0 0 -7 -30 2 N 5 6 7 8 9 10 11 12 N Dark field\r\n";
// Back yard as it is written when it is no longer primary.
const QByteArray kYardNotPrimary = "45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 N Back yard\r\n";

struct Asked {
    QString text;
    QString title;
    Buttons buttons;
};

} // namespace

class TestLocationWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    AppState state;
    std::unique_ptr<LocationWindow> w;
    QList<Asked> asked;
    QList<Answer> answers; // given in turn; Ok / Yes once they run out
    QStringList failures;
    std::int16_t openedIndex = 0;

    QString path() const { return LocationsFilePath(state.dataDir); }
    QByteArray file() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
    }
    void load(const QByteArray& sites) {
        dir = std::make_unique<QTemporaryDir>();
        state = AppState{};
        state.dataDir = dir->path();
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(kHeaders + sites);
        f.close();
        QString error;
        QVERIFY2(ReadLocations(state, &error), qPrintable(error));
    }
    // Opens the window as the main window does for an existing site (index >= 0) or, with
    // `appendNew`, for New Location.
    void open(int index, bool appendNew = false) {
        if (appendNew) {
            state.sites.push_back(SiteLocation{});
            index = -(int(state.sites.size()) - 1);
        }
        openedIndex = std::int16_t(index);
        SetCurrentSiteIndex(state, openedIndex);
        asked.clear();
        failures.clear();
        w = std::make_unique<LocationWindow>(state, nullptr, appendNew);
        w->ask = [this](const QString& text, const QString& title, Buttons b) {
            asked.append({text, title, b});
            if (!answers.isEmpty()) return answers.takeFirst();
            return b == Buttons::YesNo ? Answer::Yes : Answer::Ok;
        };
        w->reportSaveFailure = [this](const QString& reason) { failures.append(reason); };
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    template <class T = QWidget> T* get(const char* name) {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        if (!c) qFatal("no control %s", name);
        return c;
    }
    void click(const char* name) { QTest::mouseClick(get(name), Qt::LeftButton); }
    void focus(const char* name) {
        get(name)->setFocus();
        QCOMPARE(QApplication::focusWidget(), get(name));
    }
    QStringList texts() const {
        QStringList t;
        for (const Asked& a : asked)
            t << a.text;
        return t;
    }

private slots:
    void init() { answers.clear(); }
    void cleanup() {
        // Whatever happened, the window leaves the current site index as it found it.
        if (w) QCOMPARE(GetCurrentSiteIndex(state), openedIndex);
        w.reset();
    }

    void placesAndFocusOrder() {
        load(kYard + kField);
        open(0);
        const int dx = w->logicalDpiX(), dy = w->logicalDpiY();
        QCOMPARE(w->size(), QSize(TwipsToPixels(4590, dx), TwipsToPixels(8520, dy)));
        QCOMPARE(get("txtE")->geometry(), TwipsRect(w.get(), 3480, 6120, 495, 360));
        QCOMPARE(get("CmdAbort")->geometry(), TwipsRect(w.get(), 3360, 3240, 975, 495));
        QCOMPARE(QApplication::focusWidget(), get("txtLocName"));
        const QStringList order = {
            "txtLaD", "txtLaM", "txtLaS",  "chkS",   "txtLoD",   "txtLoM",     "txtLoS",    "chkW",
            "txtTZ",  "chkDST", "txtN",    "txtNE",  "txtE",     "txtSE",      "txtS",      "txtSW",
            "txtW",   "txtNW",  "cmdSave", "cmdDel", "CmdAbort", "chkPrimary", "txtLocName"};
        for (const QString& next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
        for (QPushButton* b : w->findChildren<QPushButton*>()) {
            QVERIFY(!b->isDefault() && !b->autoDefault());
            QVERIFY(!b->text().contains(u'&'));
        }
        QVERIFY(asked.isEmpty());
    }

    void fieldBounds_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // empty: accepted
        const QString hor = "Invalid horizon.  Must be between 0 and 90.";
        const QString lat180 = "Invalid Latitude.  Must be between 0 and 180.";
        const QString lat60 = "Invalid Latitude.  Must be between 0 and 60.";
        const QString lon180 = "Invalid Longitude.  Must be between 0 and 180.";
        const QString lon60 = "Invalid Longitude.  Must be between 0 and 60.";
        const QString tz = "Invalid Time Zone.  Must be between -12 and 12.";
        QTest::newRow("N 90") << "txtN"
                              << "90"
                              << "";
        QTest::newRow("N 91") << "txtN"
                              << "91" << hor;
        QTest::newRow("NW 91") << "txtNW"
                               << "91" << hor;
        QTest::newRow("LaD 180") << "txtLaD"
                                 << "180"
                                 << "";
        QTest::newRow("LaD 181") << "txtLaD"
                                 << "181" << lat180;
        QTest::newRow("LaM 60") << "txtLaM"
                                << "60"
                                << "";
        QTest::newRow("LaM 61") << "txtLaM"
                                << "61" << lat60;
        QTest::newRow("LaS 61") << "txtLaS"
                                << "61" << lat60;
        QTest::newRow("LoD 181") << "txtLoD"
                                 << "181" << lon180;
        QTest::newRow("LoM 61") << "txtLoM"
                                << "61" << lon60;
        QTest::newRow("LoS 60") << "txtLoS"
                                << "60"
                                << "";
        QTest::newRow("LoS 61") << "txtLoS"
                                << "61" << lon60;
        QTest::newRow("TZ -12") << "txtTZ"
                                << "-12"
                                << "";
        QTest::newRow("TZ 12") << "txtTZ"
                               << "12"
                               << "";
        QTest::newRow("TZ 13") << "txtTZ"
                               << "13" << tz;
        QTest::newRow("TZ -13") << "txtTZ"
                                << "-13" << tz;
        QTest::newRow("TZ -0") << "txtTZ"
                               << "-0"
                               << "";
        QTest::newRow("TZ lone minus") << "txtTZ"
                                       << "-" << tz;
        QTest::newRow("TZ minus behind") << "txtTZ"
                                         << "5-" << tz;
        QTest::newRow("emptied degrees") << "txtLaD"
                                         << "" << lat180;
        QTest::newRow("emptied horizon") << "txtE"
                                         << "" << hor;
        QTest::newRow("leading zeros") << "txtLaM"
                                       << "0060"
                                       << "";
        QTest::newRow("very long") << "txtLaD"
                                   << "99999999999999" << lat180;
    }
    void fieldBounds() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        load(kYard);
        open(0);
        auto* box = get<QLineEdit>(field.toLatin1().constData());
        box->setFocus();
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Tab);
        if (message.isEmpty()) {
            QVERIFY(asked.isEmpty());
            QVERIFY(QApplication::focusWidget() != box);
        } else {
            QCOMPARE(asked.size(), 1);
            QCOMPARE(asked[0].text, message);
            QCOMPARE(asked[0].title, QStringLiteral("Zenitor"));
            QCOMPARE(int(asked[0].buttons), int(Buttons::Ok));
            QCOMPARE(QApplication::focusWidget(), box);
            // Backwards is refused as well.
            QTest::keyClick(box, Qt::Key_Backtab);
            QCOMPARE(asked.size(), 2);
            QCOMPARE(QApplication::focusWidget(), box);
        }
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
        get<QLineEdit>("txtLocName")->setText("Renamed");
        focus("txtN");
        get<QLineEdit>("txtN")->setText("91");
        const SiteTable before = state.sites;
        QTest::mouseClick(get(button.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(texts(), QStringList{"Invalid horizon.  Must be between 0 and 90."});
        QCOMPARE(QApplication::focusWidget(), get("txtN"));
        QVERIFY(w->isVisible());
        QVERIFY(state.sites == before);
        QCOMPARE(file(), kHeaders + kYard + kField);
        // Clicking another field or a check-box is refused the same way.
        click("txtS");
        click("chkDST");
        QCOMPARE(asked.size(), 3);
        QCOMPARE(QApplication::focusWidget(), get("txtN"));
        QVERIFY(!get<QCheckBox>("chkDST")->isChecked());
        // Once the value is valid the same click acts.
        get<QLineEdit>("txtN")->setText("90");
        QTest::mouseClick(get(button.toLatin1().constData()), Qt::LeftButton);
        QVERIFY(!w->isVisible());
    }

    void keyFilterAndSelectAll() {
        load(kYard);
        open(0);
        QTest::keyClick(get("txtLocName"), Qt::Key_Tab);
        auto* lad = get<QLineEdit>("txtLaD");
        QCOMPARE(lad->selectedText(), QStringLiteral("45"));
        QTest::keyClicks(lad, "1a2.3 -4+");
        QCOMPARE(lad->text(), QStringLiteral("1234"));
        QTest::keyClick(lad, Qt::Key_Backspace);
        QTest::keyClick(lad, Qt::Key_Return);
        QCOMPARE(lad->text(), QStringLiteral("123"));
        QApplication::clipboard()->setText("77");
        QTest::keyClick(lad, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(lad->text(), QStringLiteral("123"));
        lad->setText("12");
        auto* tz = get<QLineEdit>("txtTZ");
        QTest::mouseClick(tz, Qt::LeftButton, {}, QPoint(3, 5));
        QTRY_COMPARE(tz->selectedText(), QStringLiteral("-8"));
        QTest::keyClicks(tz, "1-2.");
        QCOMPARE(tz->text(), QStringLiteral("1-2"));
        // Escape does not close the window.
        QTest::keyClick(tz, Qt::Key_Escape);
        QVERIFY(w->isVisible());
    }

    void southWestRoundTrip() {
        load(kYard + kField);
        open(1);
        QVERIFY(get<QCheckBox>("chkS")->isChecked() && get<QCheckBox>("chkW")->isChecked());
        QStringList shown;
        for (const char* f : {"txtLaD", "txtLaM", "txtLaS", "txtLoD", "txtLoM", "txtLoS", "txtTZ"})
            shown << get<QLineEdit>(f)->text();
        QCOMPARE(shown, (QStringList{"0", "30", "0", "0", "7", "30", "2"}));
        click("cmdSave");
        QVERIFY(asked.isEmpty()); // Back yard is primary
        QCOMPARE(file(), kHeaders + kYard + kField);
        // Ticking South moves Back yard to the southern sky on every part.
        open(0);
        get<QCheckBox>("chkS")->setChecked(true);
        get<QCheckBox>("chkW")->setChecked(false);
        click("cmdSave");
        QCOMPARE(file(),
                 kHeaders + "-45 -30 0 122 40 15 -8 Y 0 0 0 10 10 0 0 0 Y Back yard\r\n" + kField);
    }

    void primaryRule() {
        load(kYard + kField);
        // Ticked on another site: that one alone is primary, without a question.
        open(1);
        get<QCheckBox>("chkPrimary")->setChecked(true);
        click("cmdSave");
        QVERIFY(asked.isEmpty());
        QCOMPARE(file(), kHeaders + kYardNotPrimary +
                             "0 -30 0 0 -7 -30 2 N 5 6 7 8 9 10 11 12 Y Dark field\r\n");
        // Clear on a site while another one is primary: written at once.
        open(0);
        get<QLineEdit>("txtLocName")->setText("Yard");
        click("cmdSave");
        QVERIFY(asked.isEmpty());
        QVERIFY(file().contains("N Yard\r\n"));
        // Clearing the only primary site asks; Cancel keeps the window and the file.
        open(1);
        get<QCheckBox>("chkPrimary")->setChecked(false);
        const QByteArray written = file();
        answers = {Answer::Cancel};
        click("cmdSave");
        QCOMPARE(texts(), QStringList{"You have no primary location."});
        QCOMPARE(asked[0].title, QStringLiteral("Primary?"));
        QCOMPARE(int(asked[0].buttons), int(Buttons::OkCancel));
        QVERIFY(w->isVisible());
        QCOMPARE(state.sites[1].Primary, std::int16_t(0)); // stored, not written
        QCOMPARE(file(), written);
        click("cmdSave"); // OK this time
        QVERIFY(!w->isVisible());
        QVERIFY(file().endsWith("12 N Dark field\r\n"));
    }

    void deleteAsksWithStoredName() {
        load(kYard + kField);
        open(0);
        get<QLineEdit>("txtLocName")->setText("Typed name");
        click("cmdDel"); // Yes, then OK to having no primary site
        QCOMPARE(texts(), (QStringList{"Are you sure you want to delete Back yard",
                                       "You have no primary location."}));
        QCOMPARE(asked[0].title, QStringLiteral("Delete Location"));
        QCOMPARE(int(asked[0].buttons), int(Buttons::YesNo));
        QVERIFY(!w->isVisible());
        QCOMPARE(file(), kHeaders + kField);

        // No removes nothing, closes, and (with a primary site) still rewrites the file.
        load(kYard + kField);
        open(1);
        QFile::remove(path());
        answers = {Answer::No};
        click("cmdDel");
        QCOMPARE(texts(), QStringList{"Are you sure you want to delete Dark field"});
        QVERIFY(!w->isVisible());
        QCOMPARE(file(), kHeaders + kYard + kField);
    }

    void onlySiteIsKept() {
        load(kYard);
        open(0);
        click("cmdDel");
        QCOMPARE(asked.size(), 1);
        QVERIFY(!asked[0].text.startsWith("Are you sure"));
        QVERIFY(w->isVisible());
        QCOMPARE(state.sites.size(), std::size_t(1));
        QCOMPARE(file(), kHeaders + kYard);
    }

    void abortExistingKeepsEverything() {
        load(kYard + kField);
        const SiteTable before = state.sites;
        open(0);
        get<QLineEdit>("txtLocName")->setText("Changed");
        get<QCheckBox>("chkPrimary")->setChecked(false);
        focus("txtN");
        get<QLineEdit>("txtN")->setText("45");
        click("CmdAbort");
        QVERIFY(!w->isVisible());
        QVERIFY(asked.isEmpty());
        QVERIFY(state.sites == before);
        QCOMPARE(file(), kHeaders + kYard + kField);
    }

    void abortNewRemovesRecord() {
        // With a primary site: removed without a question, file rewritten as it was.
        load(kYard + kField);
        open(0, true);
        QVERIFY(w->isNew());
        QCOMPARE(w->slot(), 2);
        get<QLineEdit>("txtLocName")->setText("Never kept");
        QFile::remove(path());
        click("CmdAbort");
        QVERIFY(asked.isEmpty());
        QCOMPARE(state.sites.size(), std::size_t(2));
        QCOMPARE(file(), kHeaders + kYard + kField);

        // With none primary: the question still comes; Cancel writes nothing but still closes.
        load(kField);
        open(0, true);
        QFile::remove(path());
        answers = {Answer::Cancel};
        click("CmdAbort");
        QCOMPARE(texts(), QStringList{"You have no primary location."});
        QVERIFY(!w->isVisible());
        QCOMPARE(state.sites.size(), std::size_t(1));
        QCOMPARE(file(), QByteArray("<no file>"));
    }

    void newSiteCancelledSaveThenAbort() {
        load(kField);
        open(0, true);
        get<QLineEdit>("txtLocName")->setText("Hill");
        answers = {Answer::Cancel};
        click("cmdSave");
        QCOMPARE(state.sites[1].Name, QStringLiteral("Hill"));
        click("CmdAbort"); // OK to the primary question that follows
        QCOMPARE(texts(),
                 (QStringList{"You have no primary location.", "You have no primary location."}));
        QCOMPARE(state.sites.size(), std::size_t(1));
        QCOMPARE(file(), kHeaders + kField);
    }

    void firstSiteOfEmptyTable() {
        load("");
        open(0, true); // the index is 0 here; the window is told the record is new
        QVERIFY(w->isNew());
        get<QLineEdit>("txtLocName")->setText("Home");
        get<QCheckBox>("chkPrimary")->setChecked(true);
        click("cmdSave");
        QVERIFY(asked.isEmpty());
        QCOMPARE(file(), kHeaders + "0 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 Y Home\r\n");

        load("");
        open(0, true);
        click("CmdAbort");
        QVERIFY(state.sites.empty());
        QCOMPARE(file(), kHeaders);
    }

    void noSiteChosenOpensNewRecord() {
        // -1 ("none chosen") would name slot 1, an existing site: it must not be opened as new.
        load(kYard + kField);
        const SiteTable before = state.sites;
        open(-1);
        QVERIFY(w->isNew());
        QCOMPARE(w->slot(), 2);
        QCOMPARE(get<QLineEdit>("txtLocName")->text(), QString());
        click("CmdAbort");
        QVERIFY(state.sites == before);
        QCOMPARE(file(), kHeaders + kYard + kField);
    }

    void failedWriteKeepsValues() {
        load(kYard + kField);
        state.dataDir = dir->path() + "/missing/dir";
        open(1);
        get<QLineEdit>("txtLocName")->setText("Kept in memory");
        click("cmdSave");
        QCOMPARE(failures.size(), 1);
        QVERIFY(!failures[0].isEmpty());
        QCOMPARE(state.sites[1].Name, QStringLiteral("Kept in memory"));
        state.dataDir = dir->path();
        QCOMPARE(file(), kHeaders + kYard + kField);
    }

    void realMessageBoxes() {
        load(kYard);
        LocationWindow plain(state);
        QStringList seen;
        auto answer = [&seen](QMessageBox::StandardButton press) {
            QTimer::singleShot(0, [&seen, press] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box) return;
                seen << box->windowTitle() + "|" + box->text() + "|" +
                            QString::number(int(box->standardButtons())) + "|" +
                            QString::number(int(box->icon()));
                box->button(press)->click();
            });
        };
        answer(QMessageBox::No);
        QCOMPARE(int(plain.ask("Delete it?", "Delete Location", Buttons::YesNo)), int(Answer::No));
        answer(QMessageBox::Ok);
        QCOMPARE(int(plain.ask("Bad", "Zenitor", Buttons::OkCancel)), int(Answer::Ok));
        QCOMPARE(seen, (QStringList{
                           "Delete Location|Delete it?|" +
                               QString::number(int(QMessageBox::Yes | QMessageBox::No)) + "|0",
                           "Zenitor|Bad|" +
                               QString::number(int(QMessageBox::Ok | QMessageBox::Cancel)) + "|0",
                       }));
    }

    void closedByFrame() {
        load(kYard + kField);
        open(0, true);
        get<QLineEdit>("txtLocName")->setText("Typed");
        QFile::remove(path());
        w->close();
        QCOMPARE(state.sites.size(), std::size_t(2)); // the new record is gone
        QCOMPARE(file(), QByteArray("<no file>"));
        QVERIFY(!(w->windowFlags() & Qt::WindowCloseButtonHint));

        load(kYard + kField);
        const SiteTable before = state.sites;
        open(1);
        get<QLineEdit>("txtLocName")->setText("Typed");
        w->close();
        QVERIFY(state.sites == before);
        QVERIFY(asked.isEmpty());
    }
};

QTEST_MAIN(TestLocationWindow)
#include "test_locationwindow.moc"
