// Start-up: the Loading and About windows over data files written in code.

#include "app/startup.h"
#include "kit/nightvision.h"
#include "mainwindow/mainwindow.h"
#include "startwindows/loadingwindow.h"
#include "state/remembering.h"
#include "support/catalogfiles.h"
#include "support/files.h"
#include "support/windows.h"

#include <QtTest>
#include <QtWidgets>

namespace {

void WriteLines(const QString& path, const QStringList& lines) {
    WriteAll(path, (lines.join("\r\n") + "\r\n").toLatin1());
}

// Two Messier objects, two flagged and one plain SAC object, three NGC and one IC object.
void WriteDataFiles(const QString& dir) {
    const QString messier = MessierLine(" 31", "GX", {{55, " 224"}});
    WriteLines(dir + "/messier.txt", {"Messier catalogue", messier, messier});
    WriteLines(dir + "/Sac72.txt", {At({{2, "OBJECT"}}), SacLine("NGC 253", "B  "),
                                    SacLine("NGC 40", "  H"), SacLine("IC 1", "   ")});
    const auto revised = [](const QString& number) { return RevisedLine(number, " 1", "10.0"); };
    WriteLines(dir + "/revngc.txt", {revised(" 224"), revised(" 225"), revised(" 226")});
    WriteLines(dir + "/revic.txt", {"IC header", revised("  10")});
    WriteLines(dir + "/locations.txt",
               {"Zenitor locations", "45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 N Field",
                "51 28 38 0 0 0 0 N 0 0 0 0 0 0 0 0 Y Back yard"});
}

// The visible top-level windows as "class objectName".
QStringList Shown() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) shown << w->metaObject()->className() + (' ' + w->objectName());
    return shown;
}

// Starts as the program does, with the choices kept in `settings`; Start Program, and the main
// window once its first activation has run.
MainWindow* Start(AppState& state, const QString& dataDir, const QString& settings, bool reset) {
    state = AppState(), state.dataDir = dataDir, state.settingsPath = settings;
    if (reset) ForgetRememberedChoices(state); // --reset
    RunStartup(state, nullptr)->startButton()->click();
    MainWindow* main = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        main = main ? main : qobject_cast<MainWindow*>(w);
    auto* stats = main->findChild<QLabel*>("lblDSOstats"); // written by the first activation
    return QTest::qWaitFor([stats] { return stats->text().endsWith("available."); }) ? main
                                                                                     : nullptr;
}

// The boxes, the limit, rows 0 to 2, the night display and the window's place.
QString Remembered(MainWindow* w) {
    QString s;
    for (const char* box : {"chkMess", "chkHer", "chkCal", "chkBNGC", "chkSAC", "chkNGC", "chkIC",
                            "chkPlanet", "chkShowAll", "chkInView"})
        s += w->findChild<QCheckBox*>(box)->isChecked() ? '1' : '0';
    s += ' ' + w->findChild<QLineEdit*>("txtDSOMaxMag")->text();
    for (int row = 0; row < 3; ++row)
        s += '|' + w->objectRow(row)->text().left(8).trimmed();
    return s + (NightVisionOn() ? " night " : " day ") + QString("%1,%2").arg(w->x()).arg(w->y());
}

// Every catalogue object listed, then the NGC and Planets boxes, NGC 224 picked (and M 31,
// freed again) and the limit at 12.5.
void ChangeChoices(MainWindow* w) {
    for (const char* box : {"chkInView", "chkShowAll", "chkNGC", "chkPlanet"})
        w->findChild<QCheckBox*>(box)->click();
    auto* chooser = w->findChild<QComboBox*>("cmbDSO");
    for (int entry : {0, 2, 3}) // M 31, M 31, NGC 224, NGC 225
        chooser->setCurrentIndex(entry), emit chooser->activated(entry);
    QTest::mouseClick(w->objectRow(0), Qt::LeftButton);
    w->findChild<QScrollBar*>("sbDsoMag")->setValue(125);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    AppState state_;

private slots:
    void init() {
        WriteDataFiles(dir_.path());
        state_ = AppState(), state_.dataDir = dir_.path();
    }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        Shown();
    }

    void loadsThenStartsOrQuitsFromAbout() {
        QStringList messages;
        bool disabled = true;
        LoadingWindow* loading = RunStartup(state_, nullptr, [&](LoadingWindow& window) {
            messages << window.progress()->text();
            disabled = disabled && window.isVisible() && !window.startButton()->isEnabled() &&
                       !window.aboutButton()->isEnabled() &&
                       window.startButton()->text() == QStringLiteral("Please Wait");
        });
        QVERIFY(loading && disabled);
        QCOMPARE(messages, QStringList({"Setting up environment", "Loading Locations",
                                        "Loading Messier Catalog", "Loading SAC Database",
                                        "Loading NGC Catalog", "Loading IC Catalog"}));
        QVERIFY(loading->progress()->text().isEmpty() && loading->startButton()->isEnabled() &&
                loading->aboutButton()->isEnabled());
        QCOMPARE(loading->windowTitle() + '|' + loading->startButton()->text(),
                 QStringLiteral("Zenitor Version 0.0.1 Beta|Start Program"));
        const ObjectStore& s = state_.store;
        // The Moon and the seven planets follow the IC run, counted in no catalogue.
        QCOMPARE((QList<int>{s.MessierEnd, s.ListedEnd, s.SacEnd, s.NgcEnd, s.IcEnd, s.ObjectCount,
                             s.PlanetEnd, int(s.objects.size())}),
                 (QList<int>{2, 4, 503, 506, 507, 9, 515, 515}));
        QVERIFY(GetCurrentSiteIndex(state_) == 1 && state_.sky.UseNow);
        QCOMPARE(Shown(), QStringList{"LoadingWindow Loading"});
        QTest::mouseClick(loading->startButton(), Qt::LeftButton);
        QCOMPARE(Shown(), QStringList{"MainWindow MainWindow"});
        cleanup(), init(); // About, then Quit there: the run ends without the main window
        QTest::mouseClick(RunStartup(state_, nullptr)->aboutButton(), Qt::LeftButton);
        QCOMPARE(Shown(), QStringList{"AboutWindow About"});
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                QTest::mouseClick(w->findChild<QWidget*>("cmdAbort"), Qt::LeftButton);
        QCOMPARE(Shown(), QStringList());
    }

    void failureEndsWithAMessageAndNoWindow() {
        for (const char* file :
             {"locations.txt", "messier.txt", "Sac72.txt", "revngc.txt", "revic.txt"}) {
            init(), QFile::remove(dir_.filePath(file));
            QString error;
            QVERIFY2(!RunStartup(state_, &error) && error.contains(file), qPrintable(error));
            QCOMPARE(Shown(), QStringList());
        }
    }

    // Everything listed comes back after the program ended; a bad limit, a vanished object or a
    // place off the screens costs only itself; a reset start is the first state, as the first.
    void remembersTheNight() {
        const QString conf = dir_.filePath("config/zenitor/zenitor.conf");
        MainWindow* w = Start(state_, dir_.path(), conf, false);
        const QString first = Remembered(w);
        QVERIFY2(first.startsWith("1000000001 8.0||| day "), qPrintable(first));
        ChangeChoices(w), SetNightVision(true), w->move(30, 40);
        QCOMPARE(Remembered(w), QStringLiteral("1000010110 12.5||NGC 224|NGC 225 night 30,40"));
        cleanup(), SetNightVision(false); // the program ends
        w = Start(state_, dir_.path(), conf, false);
        QCOMPARE(Remembered(w), QStringLiteral("1000010110 12.5||NGC 224|NGC 225 night 30,40"));
        QCOMPARE(w->objectRow(1)->palette().color(QPalette::WindowText),
                 NightPalette().color(QPalette::WindowText));
        cleanup(), SetNightVision(false);
        QSettings(conf, QSettings::IniFormat).setValue("selection/limitingMagnitude", "abc");
        QSettings(conf, QSettings::IniFormat).setValue("rows/3/designation", "NGC 9999");
        QSettings(conf, QSettings::IniFormat).setValue("windows/MainWindow", QRect(3000, 0, 9, 9));
        w = Start(state_, dir_.path(), conf, false); // off the screen: centred as at first
        QCOMPARE(Remembered(w), "1000010110 8.0||NGC 224| night " + first.section(' ', -1));
        cleanup(), SetNightVision(false);
        QCOMPARE(Remembered(Start(state_, dir_.path(), conf, true)), first);
    }

    // With no temporary file to be had the choices still come back and survive the close; a
    // file that cannot be read (a link to itself) is told once and never written over.
    void choicesSurviveWhatCannotBeRead() {
        const QString conf = dir_.filePath("unusual/zenitor.conf");
        ChangeChoices(Start(state_, dir_.path(), conf, true));
        cleanup();
        // Where the windows stood may move on; the rest must stay.
        const auto saved = [&] {
            RememberedChoices kept = ReadRememberedChoices(conf, nullptr, nullptr);
            return kept.windowPlaces.clear(), kept;
        };
        const RememberedChoices before = saved();
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", "/proc");
        MainWindow* w = Start(state_, dir_.path(), conf, false);
        const QString shown = Remembered(w);
        cleanup();
        qputenv("TMPDIR", tmp);
        QVERIFY2(shown.startsWith("1000010110 12.5||NGC 224|NGC 225 day "), qPrintable(shown));
        QVERIFY(saved() == before && before.rows.size() == 2);

        QVERIFY(QFile::remove(conf) && QFile::link(conf, conf));
        ModalWatcher watcher;
        ChangeChoices(Start(state_, dir_.path(), conf, false));
        QTest::qWait(1500); // past the save a change schedules
        cleanup();
        QCOMPARE(watcher.messages.size(), 1);
        QVERIFY2(watcher.messages[0].startsWith("The file " + conf + " cannot be read ("),
                 qPrintable(watcher.messages[0]));
        QCOMPARE(QFileInfo(conf).symLinkTarget(), conf);
    }

    // A kill -9 a moment after a change: the change was written all the same.
    void aKillAMomentAfterAChangeKeepsIt() {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {"--child", dir_.path()});
        QVERIFY(child.waitForReadyRead(60000));
        // Killed as soon as the change is on disk, however long the save takes on a busy machine;
        // a program that wrote its choices only on the way out never gets there.
        const QString file = dir_.filePath("zenitor.conf");
        const auto saved = [&] { return ReadRememberedChoices(file, nullptr, nullptr).ngc; };
        QTRY_VERIFY_WITH_TIMEOUT(saved(), 60000);
        child.kill(); // SIGKILL
        QVERIFY(child.waitForFinished());
        const RememberedChoices kept = ReadRememberedChoices(file, nullptr, nullptr);
        QVERIFY(kept.ngc && kept.planets && kept.showAll && !kept.inViewOnly &&
                kept.magnitudeTenths == 125 && kept.rows.size() == 2 &&
                kept.rows[0].designation == "NGC 224");
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0) { // the kill test's child: runs until killed
        AppState state;
        ChangeChoices(Start(state, argv[2], argv[2] + QString("/zenitor.conf"), false));
        return std::puts("changed"), std::fflush(stdout), QApplication::exec();
    }
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_startup.moc"
