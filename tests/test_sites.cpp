// Sites: the locations file (reading, writing, saving safely under faults, the user's copy of an
// installed program) and the Location Editor on a real file in a temporary directory.

#include "sites/locationsfile.h"
#include "sites/locationwindow.h"
#include "sites/savereport.h"
#include "support/files.h"
#include "support/windows.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using Answer = LocationWindow::Answer;

namespace {

SiteLocation Site(std::array<std::int16_t, 7> p, bool dst, std::array<std::int16_t, 8> horizon,
                  bool primary, const QString& name) {
    SiteLocation s;
    s.LatDeg = p[0], s.LatMin = p[1], s.LatSec = p[2], s.LonDeg = p[3], s.LonMin = p[4];
    s.LonSec = p[5], s.TimeZone = p[6], s.DST = dst ? -1 : 0, s.Horizon = horizon;
    s.Primary = primary ? -1 : 0, s.Name = name;
    return s;
}

LocationsContent Parse(const QByteArray& bytes, QString* error = nullptr) {
    LocationsContent content;
    QString ignored;
    ParseLocations(bytes, "/data/locations.txt", &content, error ? error : &ignored);
    return content;
}

QByteArray Format(const SiteTable& sites, const LocationsHeaders& headers) {
    QByteArray bytes;
    QString error;
    return FormatLocations(sites, headers, &bytes, &error) ? bytes : error.toLatin1();
}

// Saves in a forked child, as nobody when `asNobody` (root writes through permission bits), past
// `limit` bytes (-1: none) killed or failing as on a full disk. 0: saved, 1: refused naming the
// file and `reason`, 2: refused otherwise, 3: cannot become nobody, 128 + a killing signal;
// `probe` only tries to open the file for writing (0: it can).
int SaveInChild(const QString& path, const SiteTable& sites, bool asNobody, long limit, bool killed,
                const char* reason = "", bool probe = false) {
    const pid_t pid = fork();
    if (pid == 0) {
        const passwd* pw = asNobody && geteuid() == 0 ? getpwnam("nobody") : nullptr;
        if (asNobody && geteuid() == 0 && (!pw || setgid(pw->pw_gid) || setuid(pw->pw_uid)))
            _exit(3);
        if (probe) _exit(::open(qPrintable(path), O_WRONLY) >= 0 ? 0 : 1);
        std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
        const rlimit small{rlim_t(limit), RLIM_INFINITY};
        if (limit >= 0) setrlimit(RLIMIT_FSIZE, &small);
        QString error;
        if (WriteLocationsFile(path, sites, {"New header", ""}, &error)) _exit(0);
        _exit(error.contains(path) && error.contains(reason, Qt::CaseInsensitive) ? 1 : 2);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

const QByteArray kHeaders = "Zenitor sites\r\nLaD LaM LaS LoD LoM LoS TZ DST ... Name\r\n";
const QByteArray kYard = "45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 Y Back yard\r\n";
const QByteArray kField = "0 -30 0 0 -7 -30 2 N 5 6 7 8 9 10 11 12 N Dark field\r\n";
const QString kNoPrimary = "Primary?: You have no primary location.";

} // namespace

class TestSites : public QObject {
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
        state = AppState{};
        state.dataDir = dir->path();
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
        SetCurrentSiteIndex(state, openedIndex);
        asked.clear(), failures.clear();
        w.reset();
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

    void readingAndWritingTheFile() {
        // clang-format off
        const std::pair<QByteArray, QStringList> splits[] = {{"a\r\nb\r\n", {"a", "b"}}, {"a\rb\r", {"a", "b"}},
            {"a\nb\r\nc\n", {"a\nb", "c\n"}}, {"a\r\r\nb", {"a", "", "b"}}, {"", {}}, {"Caf\xe9", {"Café"}}};
        const std::pair<const char*, SiteLocation> lines[] = {
            {"45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 Y Back yard", Site({45, 30, 0, -122, -40, -15, -8}, true, {0, 0, 0, 10, 10, 0, 0, 0}, true, "Back yard")},
            {"-", SiteLocation{}},
            {"1\t2  3 \t4 5 6 7 N 1 2 3 4 5 6 7 8 N \t My \tplace  ", Site({1, 2, 3, 4, 5, 6, 7}, false, {1, 2, 3, 4, 5, 6, 7, 8}, false, "My \tplace  ")},
            {"0 0 0 0 0 0 0 y 0 0 0 0 0 0 0 0 Yes x", Site({0, 0, 0, 0, 0, 0, 0}, false, {}, false, "x")},
            {"44.5 45.5 -0.5 2.5 -3.5 1.4e1 12abc 0 x 7.49 0.5001 +3 .5 1.5 1D1 -.6 0 N", Site({44, 46, 0, 2, -4, 14, 12}, false, {0, 7, 1, 3, 0, 2, 10, -1}, false, "N")},
            {"1 2 3 Home sweet home", Site({1, 2, 3, 0, 0, 0, 0}, false, {}, false, "")}};
        const QByteArray s = "1 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 N a\r\n", p = "1 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 Y p\r\n";
        const struct { QByteArray bytes; const char *h1, *h2; int sites, primary; } headers[] = {
            {s + s, "", "", 2, -1}, {" 1 0 0\r\n\t2\r\n" + s, " 1 0 0", "\t2", 1, -1}, {"\r\nComment\r\n" + s, "Comment", "", 1, -1},
            {"H1\r\n" + s + "H2\r\n" + p + "H3\r\n" + s + "+H4", "H1", "+H4", 3, 1}, {"H1\r\nH2\r\n" + s + "\r\n", "H1", "", 1, -1},
            {p + s + p + s, "", "", 4, 2}};
        // clang-format on
        for (const auto& [bytes, lines] : splits)
            QCOMPARE(SplitLocationLines(bytes), lines);
        for (const auto& [line, site] : lines) {
            const LocationsContent c = Parse(line);
            QVERIFY2(c.sites.size() == 1 && c.sites[0] == site && c.headers == LocationsHeaders{},
                     line);
        }
        for (const auto& h : headers) {
            const LocationsContent c = Parse(h.bytes);
            QCOMPARE(c.headers.LocationsHeader1 + '|' + c.headers.LocationsHeader2,
                     h.h1 + QString('|') + h.h2);
            QVERIFY(int(c.sites.size()) == h.sites && c.primaryIndex == h.primary);
        }
        QString error; // which words fit is the reading rules' own test
        Parse("H\r\n" + s + "1 0 0 0 0 0 0 N 0 0 0 0 32767.5 0 0 0 N b", &error);
        QVERIFY2(error.contains("line 3") && error.contains("/data/locations.txt") &&
                     error.contains("32767.5"),
                 qPrintable(error));
        // Written form; round trips of names and values run through the editor's saves below.
        SiteLocation odd = Site({-32768, 32767, 0, 0, -5, 0, 0}, false, {}, false, "");
        odd.DST = 1, odd.Primary = 5;
        QCOMPARE(Format({odd}, {"hé", "h2"}),
                 QByteArray("h\xe9\r\nh2\r\n-32768 32767 0 0 -5 0 0 Y 0 0 0 0 0 0 0 0 Y \r\n"));
        QByteArray refused;
        for (const QString name : {"Œx", "a\rb"}) { // outside Latin-1; a CR would split the line
            odd.Name = name;
            QVERIFY(!FormatLocations({odd}, {}, &refused, &error));
        }
    }

    // The save stopped at every byte, by a full disk or by the program being killed:
    // locations.txt is the old file or the new one, byte for byte.
    // Permission bits bind only users other than root: that save runs as nobody.
    void saveUnderFaults() {
        const SiteTable sites = {Site({1, 2, 3, 4, 5, 6, 7}, true, {}, true, "New site"),
                                 SiteLocation{}};
        const QByteArray old = kHeaders + kYard, fresh = Format(sites, {"New header", ""});
        for (bool killed : {false, true}) {
            for (long limit = 0; limit <= fresh.size(); ++limit) {
                QTemporaryDir tmp;
                const QString path = LocationsFilePath(tmp.path());
                WriteAll(path, old);
                const int saved = SaveInChild(path, sites, false, limit, killed, strerror(EFBIG));
                const bool whole = limit == fresh.size();
                const int expected = whole ? 0 : killed ? 128 + SIGXFSZ : 1;
                QVERIFY2(
                    ReadAll(path) == (whole ? fresh : old) && saved == expected &&
                        (killed || FilesIn(tmp.path()) == QStringList{"locations.txt"}),
                    qPrintable(
                        QString("killed %1 at byte %2: %3").arg(killed).arg(limit).arg(saved)));
            }
        }
        for (const auto& [dirMode, fileMode, reason] :
             {std::tuple{0777, 0444, "not writable"}, {0555, 0666, "denied"}, {0777, 0666, ""}}) {
            QTemporaryDir tmp;
            const QString path = LocationsFilePath(tmp.path());
            WriteAll(path, old);
            chmod(qPrintable(path), mode_t(fileMode));
            chmod(qPrintable(tmp.path()), mode_t(dirMode));
            const int probe = SaveInChild(path, sites, true, -1, false, "", true);
            if (probe == 3) QSKIP("the save cannot run as a user other than root");
            if (fileMode == 0444 && probe == 0)
                QSKIP("permission bits do not bind the saving user");
            const int saved = SaveInChild(path, sites, true, -1, false, reason);
            chmod(qPrintable(tmp.path()), 0700);
            QCOMPARE(saved, *reason ? 1 : 0);
            QCOMPARE(ReadAll(path), *reason ? old : fresh);
            QCOMPARE(FilesIn(tmp.path()), QStringList{"locations.txt"});
        }
    }

    void editorTellsOfAFailedSave() {
        edit(kYard, 0);
        w->reportSaveFailure = [this](const QString& why) { ReportSaveFailure(w.get(), why); };
        get("txtLocName")->setText("Renamed");
        QStringList shown; // title, icon and text of each box, answered as soon as it is up
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&shown] {
            if (auto* mb = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                shown << mb->windowTitle() + '/' + QString::number(mb->icon()) + '/' + mb->text(),
                    mb->accept();
        });
        poll.start(5);
        state.dataDir = dir->path() + "/gone";
        click("cmdSave");
        QVERIFY2(
            shown.size() == 1 && shown[0].startsWith("Zenitor/0/The sites were not saved.") &&
                shown[0].contains(LocationsFilePath(state.dataDir) + " could not be written: "),
            qPrintable(shown.join('|')));
        QVERIFY(file() == kHeaders + kYard && state.sites[0].Name == "Renamed");
    }

    // The name box takes, pasted or composed, only what the Latin-1 file can carry on one line.
    void siteNameKeepsWhatTheFileCanCarry() {
        // clang-format off
        const std::pair<QString, bool> rows[] = {{QString::fromLatin1("\xe9\xdf\xff\t1\0 2\n3", 10), true},
            {"a\r\nb", false}, {QString::fromUtf8("\u20ac"), false}, {QString::fromUtf8("\U0001d7d9"), false}};
        // clang-format on
        for (const auto& [pasted, taken] : rows) {
            edit(kYard, 0);
            get("txtLocName")->end(false);
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

    void focusOrderKeysAndEscape() {
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
        get("txtTZ")->setText("5");
        for (const char* name : {"txtTZ", "txtLocName", "cmdSave"}) // Escape never closes
            w->findChild<QWidget*>(name)->setFocus(), QTest::keyClick(focused(), Qt::Key_Escape);
        QVERIFY(w->isVisible() && asked.isEmpty());
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
            open(0);
            get(r.field)->setFocus();
            get(r.field)->setText(r.text);
            QTest::keyClick(focused(), Qt::Key_Tab);
            QTest::keyClick(focused(), Qt::Key_Backtab);
            const QStringList expected =
                r.message.isEmpty() ? QStringList() : QStringList(2, "Zenitor: " + r.message);
            QVERIFY2(asked == expected && (r.message.isEmpty() || focused() == get(r.field)),
                     qPrintable(asked.join('|')));
        }
        // A click refused for a bad value does not act.
        for (const char* button : {"cmdSave", "cmdDel", "CmdAbort"}) {
            edit(kYard + kField, 1);
            get("txtLocName")->setText("Renamed");
            get("txtN")->setFocus();
            get("txtN")->setText("91");
            const SiteTable before = state.sites;
            for (const char* target : {button, "txtS", "chkDST"})
                click(target);
            QVERIFY(asked.size() == 3 && focused() == get("txtN") && w->isVisible() &&
                    !box("chkDST")->isChecked());
            QVERIFY(state.sites == before && file() == kHeaders + kYard + kField);
            get("txtN")->setText("90"); // once valid the same click acts
            click(button);
            QVERIFY(!w->isVisible());
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
        open(0);
        box("chkS")->setChecked(true);
        box("chkW")->setChecked(false);
        click("cmdSave"); // not primary while another site is: written at once
        QVERIFY(asked.isEmpty());
        QCOMPARE(file(), kHeaders + "-45 -30 0 122 40 15 -8 Y 0 0 0 10 10 0 0 0 N Back yard\r\n" +
                             QByteArray(kField).replace(" N Dark", " Y Dark"));
        open(1); // clearing the only primary site asks; Cancel keeps the window and the file
        box("chkPrimary")->setChecked(false);
        const QByteArray written = file();
        answers = {Answer::Cancel};
        click("cmdSave");
        QVERIFY(asked == QStringList{kNoPrimary} && w->isVisible() && state.sites[1].Primary == 0 &&
                file() == written);
        click("cmdSave"); // OK this time
        QVERIFY(!w->isVisible() && file().endsWith("12 N Dark field\r\n"));
    }

    void deleteAbortAndClose() {
        edit(kYard + kField, 0);
        get("txtLocName")->setText("Typed name");
        click("cmdDel"); // Yes, then OK to having no primary site
        QCOMPARE(asked, (QStringList{"Delete Location: Are you sure you want to delete Back yard",
                                     kNoPrimary}));
        QVERIFY(!w->isVisible() && file() == kHeaders + kField);
        edit(kYard + kField, 1); // No removes nothing, closes, and still rewrites the file
        QFile::remove(LocationsFilePath(dir->path()));
        answers = {Answer::No};
        click("cmdDel");
        QVERIFY(!w->isVisible() && file() == kHeaders + kYard + kField);
        edit(kYard, 0); // the only site is kept, and the window stays open
        click("cmdDel");
        QVERIFY(asked.size() == 1 && !asked[0].contains("Are you sure") && w->isVisible() &&
                file() == kHeaders + kYard);
        load(kYard + kField);
        const SiteTable before = state.sites;
        open(0);
        get("txtLocName")->setText("Changed");
        box("chkPrimary")->setChecked(false);
        click("CmdAbort");
        QVERIFY(!w->isVisible() && asked.isEmpty() && state.sites == before);
        open(0, true); // a new record with a primary site elsewhere: removed without a question
        QVERIFY(w->isNew() && w->slot() == 2);
        QFile::remove(LocationsFilePath(dir->path()));
        click("CmdAbort");
        QVERIFY(asked.isEmpty() && state.sites == before && file() == kHeaders + kYard + kField);
        open(-1); // "no site chosen" names slot 1, an existing site: a new record instead
        QVERIFY(w->isNew() && w->slot() == 2 && get("txtLocName")->text().isEmpty());
        QVERIFY(!(w->windowFlags() & Qt::WindowCloseButtonHint));
        w->close(); // the frame closes like Abort!
        QVERIFY(state.sites == before);
        // None primary: a cancelled Save stores the values, Abort! still removes the new record.
        edit(kField, 0, true);
        get("txtLocName")->setText("Hill");
        answers = {Answer::Cancel, Answer::Cancel};
        click("cmdSave");
        QCOMPARE(state.sites[1].Name, QStringLiteral("Hill"));
        click("CmdAbort");
        QVERIFY(asked == QStringList(2, kNoPrimary) && state.sites.size() == 1 &&
                file() == kHeaders + kField);
        for (bool save : {true, false}) { // the first site of an empty table: slot 0, new
            edit("", 0, true);
            QVERIFY(w->isNew() && w->slot() == 0);
            get("txtLocName")->setText("Home");
            box("chkPrimary")->setChecked(true);
            click(save ? "cmdSave" : "CmdAbort");
            QCOMPARE(file(), kHeaders + (save ? "0 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 Y Home\r\n" : ""));
            QCOMPARE(state.sites.size(), std::size_t(save));
        }
    }

    // An installed program's folder that cannot be written: start-up reads the user's copy when
    // there is one, the first save makes it; a user folder that cannot be made fails the save.
    void userCopyOfAReadOnlyProgramFolder() {
        const QByteArray program = "All\r\n\r\n45 30 0 -122 -40 0 -8 Y 0 0 0 0 0 0 0 0 Y Yard\r\n",
                         user = "Mine\r\n\r\n10 0 0 20 0 0 1 N 0 0 0 0 0 0 0 0 Y Balcony\r\n";
        // clang-format off
        const struct { bool writable, userCopy; const char* first; } rows[] = { // "": save fails
            {true, true, "Yard"}, {false, false, "Yard"}, {false, true, "Balcony"}, {false, false, ""}};
        // clang-format on
        for (const auto& r : rows) {
            QTemporaryDir root; // a file stands where the last row's user folder would
            AppState installed, s;
            installed.dataDir = root.filePath("usr/lib/zenitor");
            installed.userDataDir = root.filePath(*r.first ? "home/zenitor" : "file/zenitor");
            installed.canReplaceFile = [&r](const QString&) { return r.writable; };
            s = installed;
            const QString programFile = LocationsFilePath(s.dataDir),
                          userFile = LocationsFilePath(s.userDataDir);
            for (const char* folder : {"usr/lib/zenitor", r.userCopy ? "home/zenitor" : "usr"})
                QDir(root.path()).mkpath(folder);
            WriteAll(programFile, program);
            WriteAll(r.userCopy ? userFile : root.filePath("file"), user);
            QString error;
            QVERIFY2(ReadLocations(s, &error), qPrintable(error));
            s.sites.push_back(s.sites.at(0));
            s.sites.back().Name = "Added";
            QCOMPARE(WriteLocations(s, &error), *r.first != 0);
            QCOMPARE(ReadAll(programFile) == program, !r.writable);
            if (!*r.first) {
                QVERIFY2(error.startsWith(userFile + " could not"), qPrintable(error));
                continue;
            }
            QCOMPARE(ReadAll(userFile) == user, r.writable && r.userCopy);
            AppState restarted = installed;
            QVERIFY2(ReadLocations(restarted, &error), qPrintable(error));
            QVERIFY(restarted.sites.size() == 2 && restarted.sites[0].Name == r.first &&
                    restarted.sites[1].Name == "Added");
        }
    }
};

QTEST_MAIN(TestSites)
#include "test_sites.moc"
