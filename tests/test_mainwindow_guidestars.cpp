// The Guide Stars button and the two buttons that open the program's other windows.

#include "test_mainwindow_fixture.h"

#include "mainwindow/guidestars.h"
#include "support/testdata.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// The bundled star file cut to its first `lines` lines, so that fewer than 22 stars qualify and
// the rows below the last star can be seen to keep their texts.
bool WriteShortStarFile(const QString& dir, int lines) {
    QFile in(GuideStarFilePath(sourceDataDir()));
    QFile out(GuideStarFilePath(dir));
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return false;
    for (int i = 0; i < lines && !in.atEnd(); ++i)
        out.write(in.readLine());
    return true;
}

void Pick(WindowFixture& f, int entry) {
    auto* chooser = f.get<QComboBox>("cmbDSO");
    chooser->setCurrentIndex(entry);
    emit chooser->activated(entry);
}

QStringList Rows(const WindowFixture& f) {
    QStringList rows;
    for (int i = 0; i < 22; ++i)
        rows << f.row(i);
    return rows;
}

} // namespace

class TestMainWindowGuideStars : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void roundTrip_data();
    void roundTrip();
    void missingFileChangesNothing();
    void otherWindowsOpen();
};

void TestMainWindowGuideStars::roundTrip_data() {
    QTest::addColumn<bool>("nowMode");
    QTest::newRow("Now") << true;
    QTest::newRow("typed time") << false;
}

void TestMainWindowGuideStars::roundTrip() {
    QFETCH(bool, nowMode);
    QTemporaryDir dir;
    QVERIFY(WriteShortStarFile(dir.path(), 40));
    WindowFixture f;
    f.state.dataDir = dir.path();
    auto* timer1 = f.get<QTimer>("Timer1");
    if (!nowMode) f.get<QCheckBox>("chkNow")->click();
    Pick(f, 0);
    Pick(f, 0);
    const QStringList objects = Rows(f);
    // Freed rows carry a marker text of their own; give the lower rows one so that a row the
    // stars leave alone can be told from a cleared one.
    for (int i = 2; i < 22; ++i)
        f.window->objectRow(i)->setText(QStringLiteral("row %1").arg(i));
    const QStringList before = Rows(f);

    SkyState sky = f.state.sky;
    const GuideStarRows expected = ComputeGuideStarRows(sky, GuideStarFilePath(dir.path()));
    QVERIFY(expected.ok);
    const int n = int(expected.rows.size());
    QVERIFY2(n > 2 && n < 22, qPrintable(QString::number(n)));

    f.get<QPushButton>("cmdGuide")->click();
    QVERIFY(f.window->GuideMode());
    QVERIFY(!timer1->isActive());
    const QStringList shown = Rows(f);
    QCOMPARE(shown.mid(0, n), expected.rows);
    QCOMPARE(shown.mid(n), before.mid(n));

    // The way back clears every row and shows the picked objects again.
    f.get<QPushButton>("cmdGuide")->click();
    QVERIFY(!f.window->GuideMode());
    QCOMPARE(timer1->isActive(), nowMode);
    QStringList back = objects.mid(0, 2);
    for (int i = 2; i < 22; ++i)
        back << QString();
    QCOMPARE(Rows(f), back);
}

void TestMainWindowGuideStars::missingFileChangesNothing() {
    QTemporaryDir dir; // holds no star file
    WindowFixture f;
    f.state.dataDir = dir.path();
    Pick(f, 0);
    const QStringList before = Rows(f);
    ModalWatcher watcher;
    f.get<QPushButton>("cmdGuide")->click();
    QCOMPARE(watcher.messages.size(), 1);
    QVERIFY(watcher.messages[0].startsWith(QStringLiteral("The guide stars cannot be shown.")));
    QVERIFY(watcher.messages[0].contains(GuideStarFilePath(dir.path())));
    QVERIFY(!f.window->GuideMode());
    QVERIFY(f.get<QTimer>("Timer1")->isActive());
    QCOMPARE(Rows(f), before);
}

void TestMainWindowGuideStars::otherWindowsOpen() {
    WindowFixture f;
    ModalWatcher watcher;
    f.get<QPushButton>("Command1")->click();
    f.get<QPushButton>("cmdLocEdit")->click();
    QCOMPARE(watcher.dialogs, (QStringList{"Printout", "Location"}));
    // Closing the editor without its buttons left the site table as it was.
    QCOMPARE(int(f.state.sites.size()), 2);
    QCOMPARE(f.state.sites[1].Name, QStringLiteral("Back yard"));
}

QTEST_MAIN(TestMainWindowGuideStars)
#include "test_mainwindow_guidestars.moc"
