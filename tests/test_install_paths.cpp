#include "sites/locationsfile.h"
#include "startup/appstate.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kProgramSites = "All\r\n\r\n45 30 0 -122 -40 0 -8 Y 0 0 0 0 0 0 0 0 Y Yard\r\n";
const QByteArray kUserSites = "Mine\r\n\r\n10 0 0 20 0 0 1 N 0 0 0 0 0 0 0 0 Y Balcony\r\n";

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<none>");
}

void Put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace

class TestInstallPaths : public QObject {
    Q_OBJECT
private slots:
    void sitesSurviveARestart_data() {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("userCopy");
        QTest::addColumn<QString>("userDir");
        QTest::addColumn<QString>("firstSite"); // empty: the save fails
        const QString home = QStringLiteral("home/.local/share/zenitor");
        QTest::newRow("writable: user copy ignored") << true << true << home << "Yard";
        QTest::newRow("read-only, first save") << false << false << home << "Yard";
        QTest::newRow("read-only, user copy wins") << false << true << home << "Balcony";
        QTest::newRow("user folder not made") << false << false << "file/zenitor"
                                              << "";
    }
    void sitesSurviveARestart() {
        QFETCH(bool, writable);
        QFETCH(bool, userCopy);
        QFETCH(QString, userDir);
        QFETCH(QString, firstSite);
        QTemporaryDir root;
        const auto installed = [&] { // the program's own folder and the user's data folder
            AppState s;
            s.dataDir = root.filePath(QStringLiteral("usr/lib/zenitor"));
            s.userDataDir = root.filePath(userDir);
            s.canReplaceFile = [writable](const QString&) { return writable; };
            return s;
        };
        AppState state = installed();
        const QString programFile = LocationsFilePath(state.dataDir);
        const QString userFile = LocationsFilePath(state.userDataDir);
        Put(programFile, kProgramSites);
        // Without a user copy, a file stands where the last row's user folder would have to be.
        Put(userCopy ? userFile : root.filePath(QStringLiteral("file")), kUserSites);
        QString error;
        QVERIFY2(ReadLocations(state, &error), qPrintable(error));
        state.sites.push_back(state.sites.at(0)); // Save of a new site writes the whole table
        state.sites.back().Name = QStringLiteral("Added");
        QCOMPARE(WriteLocations(state, &error), !firstSite.isEmpty());
        QCOMPARE(Bytes(programFile) == kProgramSites, !writable);
        if (firstSite.isEmpty()) { // the message names the file that could not be written
            QVERIFY2(error.startsWith(userFile + QStringLiteral(" could not")), qPrintable(error));
            return;
        }
        QCOMPARE(Bytes(userFile) == kUserSites, writable && userCopy);
        AppState restarted = installed();
        QVERIFY2(ReadLocations(restarted, &error), qPrintable(error));
        QCOMPARE(restarted.sites.size(), std::size_t(2));
        QCOMPARE(restarted.sites.at(0).Name, firstSite);
        QCOMPARE(restarted.sites.at(1).Name, QStringLiteral("Added"));
    }
};

QTEST_GUILESS_MAIN(TestInstallPaths)
#include "test_install_paths.moc"
