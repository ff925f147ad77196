#include "sites/locationsfile.h"
#include "startup/appstate.h"
#include "support/testdata.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

Q_DECLARE_METATYPE(SiteLocation)

namespace {

SiteLocation Site(std::array<std::int16_t, 7> position, bool dst,
                  std::array<std::int16_t, 8> horizon, bool primary, const QString& name) {
    SiteLocation s;
    s.LatDeg = position[0];
    s.LatMin = position[1];
    s.LatSec = position[2];
    s.LonDeg = position[3];
    s.LonMin = position[4];
    s.LonSec = position[5];
    s.TimeZone = position[6];
    s.DST = dst ? -1 : 0;
    s.Horizon = horizon;
    s.Primary = primary ? -1 : 0;
    s.Name = name;
    return s;
}

LocationsContent Parse(const QByteArray& bytes) {
    LocationsContent content;
    QString error;
    if (!ParseLocations(bytes, QStringLiteral("locations.txt"), &content, &error))
        qWarning("unexpected parse failure: %s", qPrintable(error));
    return content;
}

QByteArray Format(const SiteTable& sites, const LocationsHeaders& headers) {
    QByteArray bytes;
    QString error;
    if (!FormatLocations(sites, headers, &bytes, &error))
        qWarning("unexpected format failure: %s", qPrintable(error));
    return bytes;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Whether this process can still create a file in dir (true for root whatever the permissions).
bool CanCreateIn(const QString& dir) {
    QFile probe(dir + QStringLiteral("/probe"));
    const bool created = probe.open(QIODevice::WriteOnly);
    if (created) probe.remove();
    return created;
}

const QByteArray kOldFile = "Old header\r\n\r\n45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 Y Back "
                            "yard\r\n";

SiteTable SomeSites() {
    return {Site({1, 2, 3, 4, 5, 6, 7}, true, {1, 2, 3, 4, 5, 6, 7, 8}, true, "New site"),
            Site({-10, -20, -30, 40, 50, 59, -12}, false, {90, 0, 0, 0, 0, 0, 0, 90}, false,
                 "Another site with a longer name")};
}

} // namespace

class TestSitesLocationsFile : public QObject {
    Q_OBJECT
private slots:
    void nextToken_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("rest");
        const auto row = [](const char* name, const QString& line, const QString& word,
                            const QString& rest) { QTest::newRow(name) << line << word << rest; };
        row("two words", "ab cd", "ab", "cd");
        row("mixed separators", "ab \t \tcd ef", "ab", "cd ef");
        row("leading blank", " ab", "", "ab");
        row("trailing blanks", "ab  \t", "ab", "");
        row("empty", "", "", "");
        row("line feed is no separator", "a\nb c", "a\nb", "c");
    }
    void nextToken() {
        QFETCH(QString, line);
        QFETCH(QString, word);
        QFETCH(QString, rest);
        QCOMPARE(NextToken(line), word);
        QCOMPARE(line, rest);
    }

    void lineEnds_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("final CR LF adds no line")
            << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("lone LF stays") << QByteArray("a\nb\r\nc\n") << QStringList{"a\nb", "c\n"};
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << QStringList{"", ""};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("Latin-1") << QByteArray("Caf\xe9 \xc6r\xf8") << QStringList{"Café Ærø"};
    }
    void lineEnds() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(SplitLocationLines(bytes), lines);
    }

    void siteLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<SiteLocation>("site");
        QTest::newRow("example") << "45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 Y Back yard"
                                 << Site({45, 30, 0, -122, -40, -15, -8}, true,
                                         {0, 0, 0, 10, 10, 0, 0, 0}, true, "Back yard");
        QTest::newRow("minus alone") << "-" << SiteLocation{};
        QTest::newRow("tabs, inner and trailing blanks of the name")
            << "1\t2  3 \t4 5 6 7 N 1 2 3 4 5 6 7 8 N \t My \tplace  "
            << Site({1, 2, 3, 4, 5, 6, 7}, false, {1, 2, 3, 4, 5, 6, 7, 8}, false, "My \tplace  ");
        QTest::newRow("only a capital Y alone is true")
            << "0 0 0 0 0 0 0 y 0 0 0 0 0 0 0 0 Yes x"
            << Site({0, 0, 0, 0, 0, 0, 0}, false, {}, false, "x");
        QTest::newRow("halves to even, exponents, trailing letters")
            << "44.5 45.5 -0.5 2.5 -3.5 1.4e1 12abc 0 x 7.49 0.5001 +3 .5 1.5 1D1 -.6 0 N"
            << Site({44, 46, 0, 2, -4, 14, 12}, false, {0, 7, 1, 3, 0, 2, 10, -1}, false, "N");
        QTest::newRow("short line") << "5 10" << Site({5, 10, 0, 0, 0, 0, 0}, false, {}, false, "");
        QTest::newRow("name begun early is read as words")
            << "1 2 3 Home sweet home" << Site({1, 2, 3, 0, 0, 0, 0}, false, {}, false, "");
        QTest::newRow("south below one degree")
            << "0 -30 -15 0 -7 -30 0 N 0 0 0 0 0 0 0 0 N Equator"
            << Site({0, -30, -15, 0, -7, -30, 0}, false, {}, false, "Equator");
        QTest::newRow("16-bit limits")
            << "-32768 32767 -32768.5 32766.5 0 0 0 N 0 0 0 0 0 0 0 0 N"
            << Site({-32768, 32767, -32768, 32766, 0, 0, 0}, false, {}, false, "");
    }
    void siteLine() {
        QFETCH(QString, line);
        QFETCH(SiteLocation, site);
        const LocationsContent content = Parse(line.toLatin1());
        QCOMPARE(content.sites.size(), std::size_t(1));
        const SiteLocation& got = content.sites[0];
        QCOMPARE(got.Name, site.Name);
        QVERIFY2(got == site, qPrintable(QStringLiteral("fields differ for: ") + line));
        QVERIFY(content.headers == LocationsHeaders{});
    }

    void headersAndPrimary_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("header1");
        QTest::addColumn<QString>("header2");
        QTest::addColumn<int>("siteCount");
        QTest::addColumn<int>("primary");
        const QByteArray site = "1 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 N a\r\n";
        const QByteArray primary = "1 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 Y p\r\n";
        QTest::newRow("no headers, no primary") << site + site << ""
                                                << "" << 2 << -1;
        QTest::newRow("blank or tab first makes a header")
            << QByteArray(" 1 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 Y x\r\n\t2\r\n") + site
            << " 1 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 Y x"
            << "\t2" << 1 << -1;
        QTest::newRow("empty first line, then a comment")
            << QByteArray("\r\nComment\r\n") + site << "Comment"
            << "" << 1 << -1;
        QTest::newRow("first non-empty and last header, between sites")
            << QByteArray("H1\r\n") + site + "H2\r\n" + primary + "H3\r\n" + site + "+H4"
            << "H1"
            << "+H4" << 3 << 1;
        QTest::newRow("trailing empty header clears the second")
            << QByteArray("H1\r\nH2\r\n") + site + "\r\n"
            << "H1"
            << "" << 1 << -1;
        QTest::newRow("two primaries: the later wins") << primary + site + primary + site << ""
                                                       << "" << 4 << 2;
    }
    void headersAndPrimary() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, header1);
        QFETCH(QString, header2);
        QFETCH(int, siteCount);
        QFETCH(int, primary);
        const LocationsContent content = Parse(bytes);
        QCOMPARE(content.headers.LocationsHeader1, header1);
        QCOMPARE(content.headers.LocationsHeader2, header2);
        QCOMPARE(int(content.sites.size()), siteCount);
        QCOMPARE(int(content.primaryIndex), primary);
    }

    void writtenForm() {
        const SiteTable sites = {
            Site({45, 30, 0, -122, -40, -15, -8}, true, {0, 0, 0, 10, 10, 0, 0, 0}, true,
                 "Back yard"),
            Site({0, -5, 0, 0, 0, 0, 0}, false, {}, false, ""),
        };
        QCOMPARE(Format(sites, {}),
                 QByteArray("\r\n\r\n45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 Y Back yard\r\n"
                            "0 -5 0 0 0 0 0 N 0 0 0 0 0 0 0 0 N \r\n"));
        SiteLocation oddFlags = sites[1];
        oddFlags.DST = 1;
        oddFlags.Primary = 5;
        QCOMPARE(Format({oddFlags}, {"h1", "h2"}),
                 QByteArray("h1\r\nh2\r\n0 -5 0 0 0 0 0 Y 0 0 0 0 0 0 0 0 Y \r\n"));
    }

    void roundTrip() {
        const LocationsHeaders headers{"Zenitor sites: accents éè kept", "second line"};
        const SiteTable sites = {
            SiteLocation{},
            Site({0, -30, -15, 0, -7, -30, 1}, true, {0, 5, 10, 15, 20, 25, 30, 90}, true,
                 "South of the line, tabs\tand trailing blanks  "),
            Site({-33, -52, -10, 151, 12, 30, 10}, false, {}, true, "Sydney \"Observatory\""),
            Site({90, 60, 60, -180, -60, -60, -12}, false, {}, false, ""),
            Site({-32768, 32767, 0, 0, 0, 0, 0}, true, {}, false, "Château d'Œx"),
            Site({12, 0, 0, 0, 0, 0, 0}, false, {}, false, "-1 line feed\ninside"),
        };
        // Œ is outside Latin-1; the file cannot carry it, so use a name that it can.
        SiteTable storable = sites;
        storable[4].Name = QStringLiteral("Château d'Ærø");

        const QByteArray bytes = Format(storable, headers);
        const LocationsContent back = Parse(bytes);
        QVERIFY(back.headers == headers);
        QCOMPARE(back.sites.size(), storable.size());
        for (std::size_t i = 0; i < storable.size(); ++i) {
            QCOMPARE(back.sites[i].Name, storable[i].Name);
            QVERIFY2(back.sites[i] == storable[i], qPrintable(QString::number(i)));
        }
        QCOMPARE(int(back.primaryIndex), 2);
        // A file the writer produced is written back byte for byte.
        QCOMPARE(Format(back.sites, back.headers), bytes);

        QByteArray refused;
        QString error;
        QVERIFY(!FormatLocations(sites, headers, &refused, &error));
        QVERIFY2(error.contains(QStringLiteral("Œ")), qPrintable(error));
        SiteTable withCr = storable;
        withCr[0].Name = QStringLiteral("a\rb");
        QVERIFY(!FormatLocations(withCr, headers, &refused, &error));
    }

    void outOfRangeWordRefused_data() {
        QTest::addColumn<QString>("word");
        QTest::newRow("too large") << "32768";
        QTest::newRow("rounds up past the top") << "32767.5";
        QTest::newRow("too small") << "-32769";
        QTest::newRow("rounds down past the bottom") << "-32768.6";
        QTest::newRow("huge exponent") << "1E400";
    }
    void outOfRangeWordRefused() {
        QFETCH(QString, word);
        const QByteArray bytes =
            "Header\r\n1 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 N a\r\n1 0 0 0 0 0 0 N 0 0 0 0 " +
            word.toLatin1() + " 0 0 0 N b\r\n";
        LocationsContent content;
        QString error;
        QVERIFY(!ParseLocations(bytes, QStringLiteral("/data/locations.txt"), &content, &error));
        QVERIFY2(error.contains(QStringLiteral("line 3")), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("locations.txt")), qPrintable(error));
        QVERIFY2(error.contains(word), qPrintable(error));
    }

    void readLocationsIntoState() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        AppState state;
        state.dataDir = dir.path();
        state.sky.ObserverLatitude = 1.0;
        state.sky.ObserverLongitude = -1.0;
        SetCurrentSiteIndex(state, 3);

        QString error;
        QVERIFY(!LoadLocationsAtStartup(state, &error));
        QVERIFY2(error.contains(dir.path() + QStringLiteral("/locations.txt")), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("No such file")), qPrintable(error));
        QCOMPARE(GetCurrentSiteIndex(state), std::int16_t(-1));
        QCOMPARE(state.sky.ObserverLatitude, 0.0);
        QCOMPARE(state.sky.ObserverLongitude, 0.0);

        WriteAll(dir.filePath("locations.txt"), kOldFile + "- second\r\n");
        QVERIFY2(LoadLocationsAtStartup(state, &error), qPrintable(error));
        QCOMPARE(state.sites.size(), std::size_t(2));
        QCOMPARE(state.sites[0].Name, QStringLiteral("Back yard"));
        QCOMPARE(state.locationsHeaders.LocationsHeader1, QStringLiteral("Old header"));
        QCOMPARE(GetCurrentSiteIndex(state), std::int16_t(0));
        QCOMPARE(state.sky.ObserverLatitude, 0.0);

        // Written back: the same bytes, with the "-" line in its full 17-word form.
        QVERIFY2(WriteLocations(state, &error), qPrintable(error));
        QCOMPARE(ReadAll(dir.filePath("locations.txt")),
                 kOldFile + "0 0 0 0 0 0 0 N 0 0 0 0 0 0 0 0 N \r\n");
    }

    void bundledFileReadsAndWritesBackUnchanged() {
        AppState state;
        state.dataDir = sourceDataDir();
        QString error;
        QVERIFY2(ReadLocations(state, &error), qPrintable(error));
        QVERIFY(!state.sites.empty());
        QVERIFY(GetCurrentSiteIndex(state) >= 0);
        QCOMPARE(Format(state.sites, state.locationsHeaders),
                 ReadAll(LocationsFilePath(sourceDataDir())));
    }

    // Every failed write must leave the old file exactly as it was.
    void failedWriteKeepsOldFile_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("read-only directory") << "dir";
        QTest::newRow("read-only file") << "file";
        QTest::newRow("disk full part way") << "full";
    }
    void failedWriteKeepsOldFile() {
        QFETCH(QString, how);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("locations.txt");
        WriteAll(path, kOldFile);

        struct rlimit oldLimit {};
        if (how == "dir") {
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
            if (CanCreateIn(dir.path())) {
                QFile::setPermissions(dir.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("permission bits do not stop this user (root) from writing");
            }
        } else if (how == "file") {
            QFile::setPermissions(path, QFile::ReadOwner);
            QFile probe(path);
            if (probe.open(QIODevice::Append)) {
                probe.close();
                QSKIP("permission bits do not stop this user (root) from writing");
            }
        } else {
            // A file size limit makes the write fail the way a full disk does, for any user.
            std::signal(SIGXFSZ, SIG_IGN);
            QCOMPARE(getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
            struct rlimit small = oldLimit;
            small.rlim_cur = 64;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        }

        QString error;
        const bool written = WriteLocationsFile(path, SomeSites(), {"New", ""}, &error);

        if (how == "full") setrlimit(RLIMIT_FSIZE, &oldLimit);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

        QVERIFY(!written);
        QVERIFY2(error.contains(path), qPrintable(error));
        QCOMPARE(ReadAll(path), kOldFile);
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"locations.txt"});
    }
};

QTEST_MAIN(TestSitesLocationsFile)
#include "test_sites_locationsfile.moc"
