// Start-up: the Loading and About windows over data files written in code.

#include "app/startup.h"
#include "startwindows/loadingwindow.h"
#include "support/catalogfiles.h"
#include "support/files.h"

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

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    AppState state_;

private slots:
    void init() {
        WriteDataFiles(dir_.path());
        state_ = AppState();
        state_.dataDir = dir_.path();
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
        const QString tooLarge =
            At({{1, "   1"}, {8, " 1"}, {18, "00"}, {29, "9E9"}, {41, "10.0"}});
        const std::pair<const char*, QString> cases[] = {
            {"locations.txt", {}}, {"messier.txt", {}}, {"Sac72.txt", {}},
            {"revngc.txt", {}},    {"revic.txt", {}},   {"revic.txt", tooLarge}};
        for (const auto& [file, content] : cases) {
            init();
            content.isEmpty() ? void(QFile::remove(dir_.filePath(file)))
                              : WriteLines(dir_.filePath(file), {content});
            QString error;
            QVERIFY2(!RunStartup(state_, &error) && error.contains(file), qPrintable(error));
            QCOMPARE(Shown(), QStringList());
        }
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
