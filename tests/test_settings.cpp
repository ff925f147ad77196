// The remembered choices: every value comes back, each bad value falls back on its own, no
// garbage stops the reading, and a write killed at any moment leaves a whole file.

#include "settings/rememberedchoices.h"
#include "settings/userfolders.h"
#include "support/files.h"
#include "support/objects.h"

#include <QtTest>
#include <climits>
#include <csignal>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Choices = RememberedChoices;

// Every value away from the first state. Rows 1, 3 and 22 hold M 2, NGC 7000 and IC 1 of
// FillStore; the print starts at 02:30 on the night New York's clocks skip that hour.
Choices Changed() {
    Choices c;
    c.messier = c.inViewOnly = false;
    c.herschel = c.caldwell = c.bestNgc = c.sac = c.ngc = c.ic = c.planets = c.showAll = true;
    c.magnitudeTenths = 125, c.nightDisplay = c.precise = true;
    c.rows = {{0, u'M', "M 2"}, {2, u'N', "NGC 7000"}, {21, u'I', "IC 1"}};
    c.printer = "Printer, upstairs", c.pdfFolder = "/tmp/star charts";
    c.printStart = CivilTime({2026, 3, 8}, {2, 30});
    c.printStop = c.printStart.addSecs(3 * 3600), c.printStepMinutes = 15;
    c.windowPlaces = {{"MainWindow", {10, 20, 750, 533}}, {"Printout", {-1200, 0, 300, 200}}};
    return c;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    ObjectStore store_;
    int files_ = 0;

    // A copy under a new name is read from the disk, not from what QSettings keeps of a file
    // this process wrote.
    Choices ReadBack(const QString& path, QStringList* ignored) {
        const QString copy = dir_.filePath(QString("copy%1.conf").arg(files_++));
        return QFile::copy(path, copy) ? ReadRememberedChoices(copy, &store_, ignored) : Choices{};
    }
    QString Written(const Choices& c) {
        const QString path = dir_.filePath(QString("zenitor%1/zenitor.conf").arg(files_++));
        return WriteRememberedChoices(path, c, nullptr) ? path : QString();
    }

private slots:
    void initTestCase() { qputenv("TZ", "America/New_York"), tzset(), FillStore(store_); }

    void everyValueComesBack() {
        QStringList ignored;
        for (const Choices& c : {Changed(), Choices{}})
            QCOMPARE(ReadBack(Written(c), &ignored), c);
        QVERIFY(WriteAll(dir_.filePath("empty.conf"), ""));
        for (const char* file : {"missing.conf", "empty.conf"})
            QCOMPARE(ReadRememberedChoices(dir_.filePath(file), &store_, &ignored), Choices{});
        QCOMPARE(ignored, QStringList());
    }

    void eachBadValueFallsBackAlone() {
        const auto noRow3 = [](Choices& c) { c.rows.erase(c.rows.begin() + 1); };
        const auto noTimes = [](Choices& c) { c.printStart = c.printStop = CivilTime(); };
        const auto limit = [](Choices& c) { c.magnitudeTenths = 80; };
        const auto none = [](Choices&) {};
        // clang-format off
        const struct { const char* key; QVariant bad; std::function<void(Choices&)> fallBack; const char* ignored; } cases[] = {
            {"selection/limitingMagnitude", "abc", limit, nullptr}, {"selection/limitingMagnitude", "99", limit, nullptr},
            {"catalogues/herschel", "yes", [](Choices& c) { c.herschel = false; }, nullptr},
            {"catalogues/ngc", QStringList{"true", "false"}, [](Choices& c) { c.ngc = false; }, nullptr},
            {"display/night", QRect(1, 1, 1, 1), [](Choices& c) { c.nightDisplay = false; }, nullptr},
            {"rows/3/catalog", "", noRow3, "rows/3"}, {"rows/3/designation", "NGC 7000 in Cygnus, too long", noRow3, "rows/3"},
            {"rows/3/designation", "NGC 9999", noRow3, "rows/3 (N NGC 9999: not in the catalogues)"},
            {"rows/05/catalog", "M", none, "rows/05"}, {"rows/23/catalog", "M", none, "rows/23"},
            {"print/start", "2026-02-30T01:00:00", noTimes, "print/start,print/stop"},
            {"print/stop", "2026-03-08T02:29:59", noTimes, "print/start,print/stop"},
            {"print/step", "0", [](Choices& c) { c.printStepMinutes = 0; }, nullptr},
            {"print/pdfFolder", "charts", [](Choices& c) { c.pdfFolder.clear(); }, nullptr},
            {"windows/Printout", "-1200 0 300 200", [](Choices& c) { c.windowPlaces.erase("Printout"); }, nullptr},
            {"windows/MainWindow", QRect(INT_MIN, 0, 10, 10), [](Choices& c) { c.windowPlaces.erase("MainWindow"); }, nullptr}};
        // clang-format on
        for (const auto& c : cases) {
            const QString path = Written(Changed());
            QSettings(path, QSettings::IniFormat).setValue(c.key, c.bad); // written when destroyed
            Choices expected = Changed();
            c.fallBack(expected);
            QStringList ignored;
            QCOMPARE(ReadBack(path, &ignored), expected);
            QCOMPARE(ignored.join(','), QString(c.ignored ? c.ignored : c.key));
        }
    }

    // Random bytes before a whole file (an unmatched quote among them would take in every
    // line after it) cost only their own lines and do not hold up the next write; a file cut in
    // its last value loses only that value.
    void garbageNeverStopsTheReading() {
        const QByteArray whole = ReadAll(Written(Changed()));
        QRandomGenerator random(25);
        for (int i = 0; i < 40; ++i) {
            QByteArray bytes(int(random.bounded(400)), Qt::Uninitialized);
            for (char& b : bytes)
                b = char(random.bounded(256));
            QVERIFY(WriteAll(dir_.filePath("random.conf"), bytes + '\n' + whole));
            QStringList ignored;
            QCOMPARE(ReadRememberedChoices(dir_.filePath("random.conf"), &store_, &ignored),
                     Changed());
            QVERIFY(ignored.filter(QRegularExpression("^line \\d+$")) == ignored &&
                    WriteRememberedChoices(dir_.filePath("random.conf"), Changed(), nullptr));
        }
        QVERIFY(
            WriteAll(dir_.filePath("cut.conf"), whole.left(whole.indexOf("Window=@Rect(1") + 15)));
        Choices expected = Changed();
        expected.windowPlaces.clear();
        QCOMPARE(ReadRememberedChoices(dir_.filePath("cut.conf"), &store_, nullptr), expected);
    }

    // A damaged line costs only itself: a header that lost its bracket still opens its section,
    // a byte-order mark or other line ends change nothing, a key given twice keeps its last value
    // and names the first, and a key this program does not know is named, not dropped unseen.
    void damageCostsOnlyItsOwnLines() {
        const QByteArray whole = ReadAll(Written(Changed()));
        const auto line = [&](const char* text) {
            return QString("line %1").arg(whole.left(whole.indexOf(text)).count('\n') + 1);
        };
        const auto none = [](Choices&) {};
        const auto selectionLost = [](Choices& c) {
            c.showAll = false, c.inViewOnly = true, c.magnitudeTenths = 80;
        };
        // clang-format off
        const struct { QByteArray from, to; std::function<void(Choices&)> fallBack; QStringList ignored; } cases[] = {
            {"[selection]", "[selection", none, {line("[selection]")}},
            {"[selection]", " [ selection ] ", none, {line("[selection]")}},
            {"[selection]", "[selection]]", none, {line("[selection]")}},
            {"[catalogues]", "\xEF\xBB\xBF[catalogues]", none, {}},
            {"\n", "\r\n", none, {}}, {"\n", "\r", none, {}},
            {"[selection]", "[sel ection]", selectionLost,
             {line("[selection]"), line("inViewOnly"), line("limitingMagnitude"), line("showAll")}},
            {"showAll=true", "showAll=true\nlimitingMagnitude=9.5\nfaintest=21",
             [](Choices& c) { c.magnitudeTenths = 95; }, {line("limitingMagnitude"), "selection/faintest"}},
            {"MainWindow=@Rect(10 20 750 533)", "MainWindow=@Rect(0 0 10)\nAbout=@Rect(9999999999 0 10 10)",
             [](Choices& c) { c.windowPlaces.erase("MainWindow"); }, {"windows/About", "windows/MainWindow"}},
            {"[rows]", "[rows]\n2\\designation=M 3\n5=M", none, {"rows/2", "rows/5"}}};
        // clang-format on
        for (const auto& c : cases) {
            QByteArray damaged = whole;
            QVERIFY(WriteAll(dir_.filePath("damaged.conf"), damaged.replace(c.from, c.to)));
            Choices expected = Changed();
            c.fallBack(expected);
            QStringList ignored;
            QCOMPARE(ReadRememberedChoices(dir_.filePath("damaged.conf"), &store_, &ignored),
                     expected);
            ignored.sort();
            QCOMPARE(ignored, c.ignored);
        }
    }

    // Free texts come back exactly through QSettings' quoting and escapes, window names through
    // its key escapes.
    void everyTextComesBackAsWritten() {
        const QString nul(QChar(0));
        for (const QString& text :
             {QString("a;b,c=d"), QString("say \"hi\" \\ there"), QString("  both ends  "),
              QString("tab\tnew\nline\r"), QString("@home"), QString("@@"), QString("#1 ; 2"),
              QString::fromUtf8("Drucker für Sterne 星 \U0001F52D"), "ends in nul" + nul,
              "nul" + nul + "1f then \x01" + "a", QString("\\x41 is no escape")}) {
            Choices c = Changed();
            c.printer = text, c.pdfFolder = "/" + text;
            c.windowPlaces[text.simplified().remove(';').remove('/')] = {1, 2, 300, 400};
            QStringList ignored;
            QCOMPARE(ReadBack(Written(c), &ignored), c);
            QCOMPARE(ignored, QStringList());
        }
    }

    // A settings file that is a link stays one (also when what it leads to is not there yet),
    // and the folders follow the XDG rules: a relative XDG_CONFIG_HOME or XDG_DATA_HOME is
    // ignored, not taken from the current folder.
    void linksAndFoldersAsTheUserSetThem() {
        const QString target = dir_.filePath("kept/zenitor.conf");
        const QString link = dir_.filePath("linked/zenitor.conf");
        QVERIFY(QDir().mkpath(dir_.filePath("kept")) && QDir().mkpath(dir_.filePath("linked")));
        QVERIFY(QFile::link("../kept/zenitor.conf", link));
        for (const Choices& c : {Changed(), Choices{}}) {
            QVERIFY(WriteRememberedChoices(link, c, nullptr));
            QVERIFY(QFileInfo(link).isSymLink() && QFileInfo(link).symLinkTarget() == target);
            QCOMPARE(ReadBack(target, nullptr), c);
        }
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", dir_.path().toUtf8());
        // clang-format off
        const struct { const char* value; QString config, data; } cases[] = {
            {"relative/folder", dir_.filePath(".config/zenitor/zenitor.conf"), dir_.filePath(".local/share")},
            {"", dir_.filePath(".config/zenitor/zenitor.conf"), dir_.filePath(".local/share")},
            {"/xdg//home/", "/xdg/home/zenitor/zenitor.conf", "/xdg/home"}};
        // clang-format on
        for (const auto& c : cases) {
            qputenv("XDG_CONFIG_HOME", c.value), qputenv("XDG_DATA_HOME", c.value);
            QCOMPARE(RememberedChoicesPath(), c.config);
            QCOMPARE(UserDataFolder(), c.data);
        }
        qputenv("HOME", home), qunsetenv("XDG_CONFIG_HOME"), qunsetenv("XDG_DATA_HOME");
    }

    // A child writes two states in turn and is killed at random moments: the file is always
    // one of them, and a later write is not held up by what the killed writer left behind.
    void aWriteIsWholeOrNotAtAll() {
        const QString path = dir_.filePath("killed/zenitor.conf");
        QRandomGenerator random(7);
        for (int kill = 0; kill < 12; ++kill) {
            const pid_t child = fork();
            if (child == 0) {
                for (int i = 0;; ++i)
                    WriteRememberedChoices(path, i % 2 ? Changed() : Choices{}, nullptr);
            }
            usleep(useconds_t(20000 + random.bounded(30000)));
            ::kill(child, SIGKILL), waitpid(child, nullptr, 0);
            QStringList ignored;
            const Choices read = ReadBack(path, &ignored);
            QVERIFY(ignored.isEmpty() && (read == Changed() || read == Choices{}));
        }
        QVERIFY(WriteRememberedChoices(path, Changed(), nullptr));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
