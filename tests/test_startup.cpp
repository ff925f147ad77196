#include "startup/loadingwindow.h"
#include "startup/startup.h"
#include "support/catalogfiles.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

void WriteFile(const QString& path, const QStringList& lines) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write((lines.join("\r\n") + "\r\n").toLatin1());
}

// Two Messier objects, two flagged and one plain SAC object, three NGC and one IC object.
void WriteDataFiles(const QString& dir) {
    const QString messier = MessierLine(" 31", "GX", {{55, " 224"}});
    WriteFile(dir + "/messier.txt", {"Messier catalogue", messier, messier});
    WriteFile(dir + "/Sac72.txt", {At({{2, "OBJECT"}}), SacLine("NGC 253", "B  "),
                                   SacLine("NGC 40", "  H"), SacLine("IC 1", "   ")});
    const auto revised = [](const QString& number) { return RevisedLine(number, " 1", "10.0"); };
    WriteFile(dir + "/revngc.txt", {revised(" 224"), revised(" 225"), revised(" 226")});
    WriteFile(dir + "/revic.txt", {"IC header", revised("  10")});
    WriteFile(dir + "/locations.txt", {"Zenitor locations", "Lat Lon Zone DST Horizon Primary Name",
                                       "45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 N Field",
                                       "51 28 38 0 0 0 0 N 0 0 0 0 0 0 0 0 Y Back yard"});
}

QList<QWidget*> VisibleWindows() {
    QList<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) shown << w;
    return shown;
}

bool AnyMainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (QByteArray(w->metaObject()->className()) == "MainWindow") return true;
    return false;
}

void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void CloseAllWindows() {
    for (QWidget* w : QApplication::topLevelWidgets())
        w->close();
    DeleteClosedWindows();
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CloseAllWindows(); }

    void loadsEverythingWithTheButtonsDisabledUntilTheEnd() {
        QTemporaryDir dir;
        WriteDataFiles(dir.path());
        AppState state;
        state.dataDir = dir.path();

        QStringList messages;
        bool buttonsStayedDisabled = true;
        QString captionWhileLoading;
        LoadingWindow* loading = RunStartup(state, nullptr, [&](LoadingWindow& window) {
            messages << window.progress()->text();
            buttonsStayedDisabled = buttonsStayedDisabled && window.isVisible() &&
                                    !window.startButton()->isEnabled() &&
                                    !window.aboutButton()->isEnabled();
            captionWhileLoading = window.startButton()->text();
        });
        QVERIFY(loading);
        QCOMPARE(messages, QStringList({"Setting up environment", "Loading Locations",
                                        "Loading Messier Catalog", "Loading SAC Database",
                                        "Loading NGC Catalog", "Loading IC Catalog"}));
        QVERIFY(buttonsStayedDisabled);
        QCOMPARE(captionWhileLoading, QStringLiteral("Please Wait"));

        QCOMPARE(loading->objectName(), QStringLiteral("Loading"));
        QCOMPARE(loading->windowTitle(), QStringLiteral("Zenitor Version 0.0.1 Beta"));
        QVERIFY(loading->progress()->text().isEmpty());
        QCOMPARE(loading->startButton()->text(), QStringLiteral("Start Program"));
        QVERIFY(loading->startButton()->isEnabled() && loading->aboutButton()->isEnabled());
        QCOMPARE(loading->findChild<QPushButton*>("cmdAbout")->text(),
                 QStringLiteral("About the Program"));

        const ObjectStore& store = state.store;
        QCOMPARE(int(store.MessierEnd), 2);
        QCOMPARE(int(store.ListedEnd), 4);
        QCOMPARE(int(store.SacEnd), 503);
        QCOMPARE(int(store.NgcEnd), 506);
        QCOMPARE(int(store.IcEnd), 507);
        QCOMPARE(int(store.ObjectCount), 9);
        QCOMPARE(store.objects.size(), std::size_t(507));
        QVERIFY(store.objects[506].Catalog.Is(u"I"));
        QCOMPARE(int(GetCurrentSiteIndex(state)), 1);
        QVERIFY(state.sky.UseNow);
        QVERIFY(!AnyMainWindow());
    }

    void startProgramReplacesTheLoadingWindowByTheMainWindow() {
        QTemporaryDir dir;
        WriteDataFiles(dir.path());
        AppState state;
        state.dataDir = dir.path();
        LoadingWindow* loading = RunStartup(state, nullptr);
        QVERIFY(loading);
        QTest::mouseClick(loading->startButton(), Qt::LeftButton);
        DeleteClosedWindows();
        const QList<QWidget*> shown = VisibleWindows();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(QByteArray(shown[0]->metaObject()->className()), QByteArray("MainWindow"));
    }

    void aboutThenQuitEndsWithoutTheMainWindow() {
        QTemporaryDir dir;
        WriteDataFiles(dir.path());
        AppState state;
        state.dataDir = dir.path();
        LoadingWindow* loading = RunStartup(state, nullptr);
        QVERIFY(loading);

        QTest::mouseClick(loading->aboutButton(), Qt::LeftButton);
        DeleteClosedWindows();
        QList<QWidget*> shown = VisibleWindows();
        QCOMPARE(shown.size(), 1);
        QWidget* about = shown[0];
        QCOMPARE(about->objectName(), QStringLiteral("About"));
        QCOMPARE(about->windowTitle(), QStringLiteral("About Zenitor Version 0.0"));
        QCOMPARE(about->findChild<QPushButton*>("cmdStart")->text(),
                 QStringLiteral("Start Program"));
        auto* quit = about->findChild<QPushButton*>("cmdAbort");
        QVERIFY(quit);
        QCOMPARE(quit->text(), QStringLiteral("Quit"));

        QTest::mouseClick(quit, Qt::LeftButton);
        DeleteClosedWindows();
        // With no window left open the program ends.
        QVERIFY(VisibleWindows().isEmpty());
        QVERIFY(!AnyMainWindow());
    }

    void failureEndsWithAMessageAndNoWindow_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("content"); // empty: the file is removed
        QTest::newRow("no locations") << "locations.txt"
                                      << "";
        QTest::newRow("no Messier catalogue") << "messier.txt"
                                              << "";
        QTest::newRow("no SAC database") << "Sac72.txt"
                                         << "";
        QTest::newRow("no NGC catalogue") << "revngc.txt"
                                          << "";
        QTest::newRow("no IC catalogue") << "revic.txt"
                                         << "";
        QTest::newRow("degrees beyond 16 bits")
            << "revic.txt" << At({{1, "   1"}, {8, " 1"}, {18, "00"}, {29, "9E9"}, {41, "10.0"}});
    }
    void failureEndsWithAMessageAndNoWindow() {
        QFETCH(QString, file);
        QFETCH(QString, content);
        QTemporaryDir dir;
        WriteDataFiles(dir.path());
        if (content.isEmpty())
            QVERIFY(QFile::remove(dir.filePath(file)));
        else
            WriteFile(dir.filePath(file), {content});
        AppState state;
        state.dataDir = dir.path();

        QString error;
        QVERIFY(!RunStartup(state, &error));
        QVERIFY2(error.contains(file), qPrintable(error));
        DeleteClosedWindows();
        QVERIFY(VisibleWindows().isEmpty());
        QVERIFY(!AnyMainWindow());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
