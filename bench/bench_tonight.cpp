// Times the Tonight window over the bundled data with all 22 rows picked (twenty catalogue
// objects, the Moon and Jupiter) at the primary site on a typed December evening: opening it,
// bringing it up to date after a change of rows and after a change of night, and the check the
// main window's 15-second refresh makes when nothing it shows has changed; then with "Precise".

#include "everycatalogue.h"
#include "objectlist/bodyrecords.h"
#include "sky/skytime.h"
#include "tonight/opentonight.h"
#include "tonight/tonightwindow.h"

#include <QElapsedTimer>

namespace {

template <class F> double MedianMs(int runs, F f) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f(i);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return Median(ms);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    AppState state; // no settings path: nothing of the user's is read or written
    const std::unique_ptr<MainWindow> window = OpenWithEveryCatalogue(state);
    if (!window) return 1;
    window->hide();
    SetObservingTime(state.sky, CivilTime({2026, 12, 10}, {21, 0}));
    for (int row = 0; row < 20; ++row)
        state.listSlots[std::size_t(row)] = std::int16_t(1 + row * 5); // Messier objects
    state.listSlots[20] = std::int16_t(state.store.IcEnd + int(Body::Moon) + 1);
    state.listSlots[21] = std::int16_t(state.store.IcEnd + int(Body::Jupiter) + 1);

    const double open = MedianMs(9, [&](int) {
        TonightWindow tonight(state);
        tonight.show();
        QApplication::processEvents();
    });
    TonightWindow tonight(state);
    tonight.show();
    QApplication::processEvents();
    const double rows = MedianMs(9, [&](int i) {
        state.listSlots[0] = std::int16_t(1 + (i % 2));
        tonight.Refresh();
        QApplication::processEvents();
    });
    const double night = MedianMs(9, [&](int i) {
        SetObservingTime(state.sky, CivilTime({2026, 12, 10 + (i % 2)}, {21, 0}));
        tonight.Refresh();
        QApplication::processEvents();
    });
    const double unchanged = MedianMs(101, [&](int) { RefreshTonightWindow(&tonight); });
    state.sky.Precise = true;
    const double precise = MedianMs(5, [&](int i) {
        state.listSlots[0] = std::int16_t(1 + (i % 2));
        tonight.Refresh();
        QApplication::processEvents();
    });
    std::printf("Tonight, 22 rows: open %7.2f ms, rows changed %7.2f ms, next night %7.2f ms "
                "(median of 9, painting included)\n",
                open, rows, night);
    std::printf("Tonight, 22 rows, Precise: rows changed %7.2f ms (median of 5)\n", precise);
    std::printf("Tonight, nothing changed (each 15-second tick): %7.3f ms median of 101\n",
                unchanged);
    std::printf("target: at most 100 ms to open or update\n");
    return 0;
}
