// The locations file: reading, writing, saving safely under faults, the user's copy of an
// installed program.

#include <QtTest>

#include "sites/locationsfile.h"
#include "sites/zonenames.h"
#include "state/sitesstorage.h"
#include "support/files.h"
#include "support/sites.h"

#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Saves in a forked child, as nobody when `asNobody` (root writes through permission bits), past
// `limit` bytes (-1: none) killed or failing as on a full disk. 0: saved, 1: refused naming the
// file and `reason`, 2: refused otherwise, 3: cannot become nobody, 128 + a killing signal;
// `probe` only tries to open the file for writing (0: it can); `user`: into the user's folder
// `path` of an installed program.
int SaveInChild(const QString& path, const SiteTable& sites, bool asNobody, long limit, bool killed,
                const char* reason = "", bool probe = false, bool user = false) {
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
        AppState installed;
        installed.dataDir = "/nonexistent", installed.userDataDir = path, installed.sites = sites;
        if (user ? WriteLocations(installed, &error)
                 : WriteLocationsFile(path, sites, {"New header", ""}, &error))
            _exit(0);
        _exit(error.contains(path) && error.contains(reason, Qt::CaseInsensitive) ? 1 : 2);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

class TestSites : public QObject {
    Q_OBJECT

private slots:
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

    // The save stopped at every byte by a full disk or a kill: the old file or the new one, whole.
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
            const int saved =
                          SaveInChild(path, sites, true, -1, false, reason), // and to the user's
                user = SaveInChild(tmp.filePath("zenitor"), sites, true, -1, false, // folder
                                   "could not be created: Permission denied", false, true);
            chmod(qPrintable(tmp.path()), 0700);
            QVERIFY(saved == (*reason ? 1 : 0) && user == (dirMode == 0555 ? 1 : 0));
            QCOMPARE(ReadAll(path), *reason ? old : fresh);
            QCOMPARE(FilesIn(tmp.path()), QStringList{"locations.txt"});
        }
    }

    // The zone names beside the sites, found by the site's name. Missing, damaged or unreadable
    // (a folder where the file should be), the store costs only its names, never a site; the
    // next save writes them, unless nothing can stand there.
    void zoneNamesBesideTheSites() {
        const QByteArray sites = "H1\r\nH2\r\n45 0 0 -75 0 0 -5 Y 0 0 0 0 0 0 0 0 Y Yard\r\n"
                                 "52 0 0 13 0 0 1 N 0 0 0 0 0 0 0 0 N Berlin  club\r\n";
        // clang-format off
        const struct { const char* names; const char *yard, *berlin, *notice; } rows[] = {
            {nullptr, "", "", "no time-zone names (zonenames.txt missing), fixed offsets in use"},
            {"# comment\nAsia/Kolkata Yard\r\nEurope/Berlin Berlin  club\n", "Asia/Kolkata", "Europe/Berlin", ""},
            {"Europe/Berlin Berlin  club\nNo/Such_Zone Yard\nAsia/Kolkata\n\xff\xfe Yard\n", "", "Europe/Berlin",
             "zonenames.txt damaged at line 2, fixed offsets in use there"},
            {"folder", "", "", "time-zone names unreadable"},
        };
        // clang-format on
        for (const auto& r : rows) {
            QTemporaryDir dir;
            AppState s;
            s.dataDir = dir.path();
            WriteAll(LocationsFilePath(dir.path()), sites);
            const QString namesPath = ZoneNamesFilePath(dir.path());
            if (r.names && QByteArray(r.names) == "folder")
                QDir().mkpath(namesPath);
            else if (r.names)
                WriteAll(namesPath, r.names);
            QString error;
            QVERIFY2(ReadLocations(s, &error), qPrintable(error));
            QVERIFY2(s.sites.size() == 2 && s.sites[0].ZoneName == r.yard &&
                         s.sites[1].ZoneName == r.berlin &&
                         (*r.notice ? s.zoneNamesNotice.startsWith(r.notice)
                                    : s.zoneNamesNotice.isEmpty()),
                     qPrintable(s.zoneNamesNotice));
            s.sites[0].ZoneName = "Pacific/Apia";
            const bool written = WriteLocations(s, &error);
            QVERIFY2(written != (r.names && QByteArray(r.names) == "folder") &&
                         (written || error.contains("zonenames.txt")),
                     qPrintable(error));
            if (!written) continue;
            // The locations file keeps its format; the names come back after a restart.
            AppState restarted;
            restarted.dataDir = dir.path();
            QVERIFY(ReadLocations(restarted, &error) &&
                    ReadAll(LocationsFilePath(dir.path())) == sites.mid(0));
            QVERIFY(restarted.sites[0].ZoneName == "Pacific/Apia" &&
                    restarted.sites[1].ZoneName == r.berlin && restarted.zoneNamesNotice.isEmpty());
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
            s.sites.push_back(s.sites.at(0)), s.sites.back().Name = "Added";
            QCOMPARE(WriteLocations(s, &error), *r.first != 0);
            QCOMPARE(ReadAll(programFile) == program, !r.writable);
            if (!*r.first) { // the folder that cannot be made, and why
                QCOMPARE(error,
                         s.userDataDir + " could not be created: " + qt_error_string(ENOTDIR));
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
