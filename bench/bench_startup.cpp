// Times start-up on the bundled data as the observer meets it, from the start of loading to the
// main window's first activation done (chooser filled, rows computed): with no remembered
// choices (the first start) and with a full remembered night (every catalogue, Show All and In
// View Only ticked, 22 picked rows, the night display on). Also times reading the remembered
// choices and putting the rows back on their own. The choices file lives in a temporary folder.

#include "app/startup.h"
#include "kit/nightvision.h"
#include "mainwindow/mainwindow.h"
#include "startwindows/loadingwindow.h"
#include "state/remembering.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 9;

double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// One start; the time in ms, negative when it failed.
double TimedStart(const QString& settings) {
    AppState state;
    state.dataDir = QStringLiteral(ZENITOR_SOURCE_DATA_DIR);
    state.settingsPath = settings;
    QElapsedTimer t;
    t.start();
    LoadingWindow* loading = RunStartup(state, nullptr);
    if (!loading) return -1;
    loading->startButton()->click();
    MainWindow* main = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        main = main ? main : qobject_cast<MainWindow*>(w);
    auto* stats = main->findChild<QLabel*>(QStringLiteral("lblDSOstats"));
    while (!stats->text().endsWith(QLatin1String("available.")))
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    const double ms = t.nsecsElapsed() / 1e6;
    main->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetNightVision(false);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallNightVision();
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("zenitor/zenitor.conf"));

    // The remembered night: the first 22 objects of the store in the rows.
    AppState loaded;
    loaded.dataDir = QStringLiteral(ZENITOR_SOURCE_DATA_DIR);
    if (!RunStartup(loaded, nullptr)) return 1;
    RememberedChoices& night = loaded.remembered;
    night.herschel = night.caldwell = night.bestNgc = night.sac = night.ngc = night.ic = true;
    night.planets = night.showAll = night.nightDisplay = true;
    for (int row = 0; row < 22; ++row)
        loaded.listSlots[std::size_t(row)] = std::int16_t(row + 1);
    night.rows = RememberedRowsOf(loaded);
    for (QWidget* w : QApplication::topLevelWidgets())
        w->close();

    std::vector<double> first, remembered, reading;
    for (int run = 0; run < kRuns; ++run) {
        QFile::remove(settings);
        first.push_back(TimedStart(settings));
        if (!WriteRememberedChoices(settings, night, nullptr)) return 1;
        remembered.push_back(TimedStart(settings));
        QElapsedTimer t;
        t.start();
        loaded.settingsPath = settings;
        ReadRememberedChoicesAtStart(loaded, nullptr);
        RestoreRememberedRows(loaded, nullptr);
        reading.push_back(t.nsecsElapsed() / 1e6);
    }
    if (*std::min_element(first.begin(), first.end()) < 0 ||
        *std::min_element(remembered.begin(), remembered.end()) < 0)
        return 1;
    std::printf("start-up to the first activation, first start:        %8.2f ms median of %d\n",
                Median(first), kRuns);
    std::printf("start-up to the first activation, remembered night:   %8.2f ms median of %d\n",
                Median(remembered), kRuns);
    std::printf("reading the remembered choices, putting 22 rows back: %8.3f ms median of %d\n",
                Median(reading), kRuns);
    std::printf("target: start-up with a remembered state under 100 ms\n");
    return 0;
}
