// Saving sites when things go wrong: permission bits that forbid the save, a disk that fills up
// part way, the program killed mid-save. Afterwards locations.txt holds, byte for byte, either what
// it held before or the whole new table, and a failed save names the file and the reason.
//
// The saves run in a child program (sites_save_child) so that they can run as another user (root
// writes through any permission bits), under a file size limit, or be killed with SIGKILL.

#include "sites/locationsfile.h"
#include "sites/locationwindow.h"
#include "sites/savereport.h"
#include "startup/appstate.h"
#include "support/locationsdir.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// `count` sites with every field in use and Latin-1 names; `variant` changes every line.
SiteTable ManySites(int count, int variant) {
    SiteTable sites(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        SiteLocation& s = sites[std::size_t(i)];
        s.LatDeg = std::int16_t(i % 90 - 45);
        s.LatMin = std::int16_t(i % 60);
        s.LonDeg = std::int16_t(-(i % 180));
        s.LonSec = std::int16_t(variant);
        s.TimeZone = std::int16_t(i % 12 - 6);
        s.DST = (i % 2) ? -1 : 0;
        for (std::size_t k = 0; k < s.Horizon.size(); ++k)
            s.Horizon[k] = std::int16_t((i + k) % 30);
        s.Primary = (i == count - 1) ? -1 : 0;
        s.Name = QStringLiteral("Site %1 v%2 Fl\u00e4che \u00e0 l'est ").arg(i).arg(variant);
    }
    return sites;
}

QByteArray Format(const SiteTable& sites, const QString& header) {
    QByteArray bytes;
    QString error;
    if (!FormatLocations(sites, {header, QStringLiteral("LaD LaM LaS ... Name")}, &bytes, &error))
        qFatal("cannot format: %s", qPrintable(error));
    return bytes;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

struct ChildResult {
    int status = -1;
    QString output;
};

ChildResult RunChild(const QStringList& args) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(SITES_SAVE_CHILD), args);
    if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit)
        return {-1, QStringLiteral("the child did not finish: ") + child.errorString()};
    return {child.exitCode(), QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed()};
}

QStringList FilesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// Where two byte strings first differ, for failure messages.
QByteArray Describe(const QByteArray& got, const QByteArray& old, const QByteArray& fresh) {
    const auto firstDifference = [&](const QByteArray& want) {
        qsizetype i = 0;
        while (i < got.size() && i < want.size() && got[i] == want[i])
            ++i;
        return i;
    };
    return QByteArray("file has ") + QByteArray::number(got.size()) + " bytes; old " +
           QByteArray::number(old.size()) + " (differs at " +
           QByteArray::number(firstDifference(old)) + "), new " + QByteArray::number(fresh.size()) +
           " (differs at " + QByteArray::number(firstDifference(fresh)) + ")";
}

// Stops the process and waits until it is stopped.
bool StopProcess(pid_t pid) {
    if (::kill(pid, SIGSTOP) != 0) return false;
    for (int i = 0; i < 5000; ++i) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) return false;
        const QByteArray line = stat.readAll();
        const qsizetype end = line.lastIndexOf(')');
        if (end >= 0 && line.mid(end + 2, 1) == "T") return true;
        QTest::qSleep(1);
    }
    return false;
}

// The size of a file under `dir` that the stopped process holds open, or -1 when it holds none.
qint64 BytesInOpenFileUnder(pid_t pid, const QString& dir) {
    const QString prefix = QFileInfo(dir).canonicalFilePath() + QLatin1Char('/');
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& fd : QDir(fds).entryList(QDir::Files | QDir::System)) {
        const QString link = fds + QLatin1Char('/') + fd;
        if (!QFile::symLinkTarget(link).startsWith(prefix)) continue;
        struct stat st {};
        if (::stat(qPrintable(link), &st) == 0) return st.st_size;
    }
    return -1;
}

} // namespace

class TestSitesSaveFaults : public QObject {
    Q_OBJECT

    QTemporaryDir sources; // the tables the child saves, readable by any user
    QByteArray oldBytes, newBytes;
    QString newSource;
    QString permissionSkip; // why permission bits cannot be tested here, if they cannot

    QString writeSource(const QString& name, const QByteArray& bytes) {
        const QString path = sources.filePath(name);
        if (!WriteAll(path, bytes) || ::chmod(qPrintable(path), 0644) != 0)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // A data directory of its own holding the old file, with the given modes.
    bool makeDataDir(QTemporaryDir& dir, int dirMode, int fileMode) {
        const QString file = LocationsFilePath(dir.path());
        return dir.isValid() && WriteAll(file, oldBytes) &&
               ::chmod(qPrintable(file), fileMode) == 0 &&
               ::chmod(qPrintable(dir.path()), dirMode) == 0;
    }

private slots:
    void initTestCase() {
        QVERIFY(sources.isValid());
        QCOMPARE(::chmod(qPrintable(sources.path()), 0755), 0);
        oldBytes = Format(ManySites(3, 0), QStringLiteral("Old header"));
        newBytes = Format(ManySites(40, 1), QStringLiteral("New header"));
        newSource = writeSource(QStringLiteral("new.txt"), newBytes);

        // Permission bits bind the saving user only if a read-only file refuses to open.
        QTemporaryDir probeDir;
        QVERIFY(makeDataDir(probeDir, 0777, 0444));
        const ChildResult probe =
            RunChild({"--as-nobody", "probe", LocationsFilePath(probeDir.path())});
        if (probe.status == 3)
            permissionSkip =
                QStringLiteral("the save cannot run as a user other than root: ") + probe.output;
        else if (probe.status == 0)
            permissionSkip = QStringLiteral("permission bits do not stop the saving user (it has "
                                            "root's file capabilities)");
        else if (probe.status != 1)
            permissionSkip = QStringLiteral("the probe failed: ") + probe.output;
        ::chmod(qPrintable(probeDir.path()), 0700);
    }

    void permissions_data() {
        QTest::addColumn<int>("dirMode");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<QString>("reason"); // part of the error; empty: the save goes through
        const QString denied = QString::fromLocal8Bit(strerror(EACCES));
        QTest::newRow("writable") << 0777 << 0666 << QString();
        QTest::newRow("read-only file") << 0777 << 0444 << QStringLiteral("not writable");
        // The file itself may be written in place; the save must still not touch it.
        QTest::newRow("read-only directory") << 0555 << 0666 << denied;
        QTest::newRow("both read-only") << 0555 << 0444 << QStringLiteral("not writable");
    }
    void permissions() {
        if (!permissionSkip.isEmpty()) QSKIP(qPrintable(permissionSkip));
        QFETCH(int, dirMode);
        QFETCH(int, fileMode);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(makeDataDir(dir, dirMode, fileMode));
        const QString path = LocationsFilePath(dir.path());

        const ChildResult result = RunChild({"--as-nobody", "save", path, newSource});
        ::chmod(qPrintable(dir.path()), 0700);

        if (reason.isEmpty()) {
            QVERIFY2(result.status == 0, qPrintable(result.output));
            QVERIFY(ReadAll(path) == newBytes);
        } else {
            QVERIFY2(result.status == 1, qPrintable(result.output));
            QVERIFY2(result.output.contains(QDir::toNativeSeparators(path)),
                     qPrintable(result.output));
            QVERIFY2(result.output.contains(reason), qPrintable(result.output));
            QVERIFY(ReadAll(path) == oldBytes);
        }
        QCOMPARE(FilesIn(dir.path()), QStringList{"locations.txt"});
    }

    // A file size limit makes write() fail with EFBIG after exactly `limit` bytes, the way a full
    // disk fails with ENOSPC.
    void diskFillsUp_data() {
        QTest::addColumn<qint64>("limit");
        const qint64 headers = newBytes.indexOf("\r\n", newBytes.indexOf("\r\n") + 2) + 2;
        QTest::newRow("no room at all") << qint64(0);
        QTest::newRow("one byte") << qint64(1);
        QTest::newRow("the headers") << headers;
        QTest::newRow("half") << qint64(newBytes.size() / 2);
        QTest::newRow("all but the last byte") << qint64(newBytes.size() - 1);
        QTest::newRow("exactly the new file") << qint64(newBytes.size());
    }
    void diskFillsUp() {
        QFETCH(qint64, limit);
        QTemporaryDir dir;
        QVERIFY(makeDataDir(dir, 0700, 0644));
        const QString path = LocationsFilePath(dir.path());

        const ChildResult result =
            RunChild({"--fsize-limit", QString::number(limit), "save", path, newSource});

        if (limit >= newBytes.size()) {
            QVERIFY2(result.status == 0, qPrintable(result.output));
            QVERIFY(ReadAll(path) == newBytes);
        } else {
            QVERIFY2(result.status == 1, qPrintable(result.output));
            QVERIFY2(result.output.contains(QDir::toNativeSeparators(path)),
                     qPrintable(result.output));
            QVERIFY2(result.output.contains(QString::fromLocal8Bit(strerror(EFBIG))),
                     qPrintable(result.output));
            const QByteArray now = ReadAll(path);
            QVERIFY2(now == oldBytes, Describe(now, oldBytes, newBytes).constData());
        }
        QCOMPARE(FilesIn(dir.path()), QStringList{"locations.txt"});
    }

    // A child saves two large tables in turn without pause and is killed with SIGKILL after a
    // random pause. Every other kill is sure to fall inside a save: the child is stopped at
    // random moments, and let go again, until /proc shows it holding a file open in the data
    // directory (the save's unfinished temporary file).
    void killedMidSave() {
        const QByteArray a = Format(ManySites(3000, 2), QStringLiteral("Table A"));
        const QByteArray b = Format(ManySites(5000, 3), QStringLiteral("Table B"));
        const QString sourceA = writeSource(QStringLiteral("a.txt"), a);
        const QString sourceB = writeSource(QStringLiteral("b.txt"), b);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = LocationsFilePath(dir.path());
        QVERIFY(WriteAll(path, a));

        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        const int kills = 12;
        int endedInA = 0, insideWrite = 0;
        QList<qint64> writtenAtKill;
        for (int round = 0; round < kills; ++round) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(QStringLiteral(SITES_SAVE_CHILD), {"loop", path, sourceA, sourceB});
            while (!child.canReadLine())
                QVERIFY2(child.waitForReadyRead(60000), "the child never finished a first save");
            QCOMPARE(child.readLine().trimmed(), QByteArray("ready"));
            const pid_t pid = pid_t(child.processId());
            qint64 written = -1;
            if (round % 2) QTest::qSleep(int(random.bounded(300)));
            for (int attempt = 0; round % 2 == 0 && attempt < 200 && written < 0; ++attempt) {
                QTest::qSleep(int(random.bounded(20)));
                QVERIFY(StopProcess(pid));
                written = BytesInOpenFileUnder(pid, dir.path());
                if (written < 0) ::kill(pid, SIGCONT);
            }
            ::kill(pid, SIGKILL);
            QVERIFY(child.waitForFinished(30000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);

            const QByteArray now = ReadAll(path);
            QVERIFY2(now == a || now == b,
                     qPrintable(QStringLiteral("seed %1, kill %2: ").arg(seed).arg(round + 1) +
                                Describe(now, a, b)));
            endedInA += now == a;
            if (written >= 0) {
                ++insideWrite;
                writtenAtKill << written;
            }
            QCOMPARE(FilesIn(dir.path()), QStringList{"locations.txt"});
        }
        std::sort(writtenAtKill.begin(), writtenAtKill.end());
        QStringList sizes;
        for (const qint64 n : writtenAtKill)
            sizes << QString::number(n);
        qInfo("seed %u: %d kills, %d of them seen inside a save (bytes written by then: %s); "
              "file left as table A %d times, B %d times",
              seed, kills, insideWrite, qPrintable(sizes.join(' ')), endedInA, kills - endedInA);
        // Without a single kill inside a save this test would prove nothing.
        QVERIFY(insideWrite > 0);
    }

    // Save in the Location Editor on a full disk: the real message box says the sites were not
    // saved, names the file and gives the system's reason; the file and the edit both stay.
    void editorTellsTheUser() {
        LocationsDir dir(oldBytes);
        AppState state;
        QString error;
        QVERIFY2(dir.load(state, &error), qPrintable(error));
        SetCurrentSiteIndex(state, 0);
        LocationWindow w(state);
        w.ask = [](const QString&, const QString&, LocationWindow::Buttons) {
            return LocationWindow::Answer::Ok;
        };
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.findChild<QLineEdit*>(QStringLiteral("txtLocName"))->setText(QStringLiteral("Renamed"));

        rlimit normal{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &normal), 0);
        rlimit small = normal;
        small.rlim_cur = 16;
        std::signal(SIGXFSZ, SIG_IGN);
        QString shown;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                setrlimit(RLIMIT_FSIZE, &normal);
                shown = box->text();
                box->accept();
            }
        });
        watch.start(10);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QTest::mouseClick(w.findChild<QWidget*>(QStringLiteral("cmdSave")), Qt::LeftButton);
        setrlimit(RLIMIT_FSIZE, &normal);
        watch.stop();
        std::signal(SIGXFSZ, SIG_DFL);

        const QString path = QDir::toNativeSeparators(LocationsFilePath(dir.path()));
        const QString reason = QString::fromLocal8Bit(strerror(EFBIG));
        QVERIFY2(shown.contains(path) && shown.contains(reason), qPrintable(shown));
        QVERIFY2(shown.startsWith(SaveFailureText(QString()).section('\n', 0, 0)),
                 qPrintable(shown));
        QVERIFY(dir.bytes() == oldBytes);
        QCOMPARE(state.sites[0].Name, QStringLiteral("Renamed"));
        QCOMPARE(FilesIn(dir.path()), QStringList{"locations.txt"});
    }
};

QTEST_MAIN(TestSitesSaveFaults)
#include "test_sites_savefaults.moc"
