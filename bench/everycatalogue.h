#pragma once

// The set-up the main-window benches share: the bundled data loaded as at start-up and the main
// window shown over it with every catalogue and "Show All" ticked (the longest chooser).

#include "app/startup.h"
#include "mainwindow/mainwindow.h"
#include "startwindows/loadingwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

// Null (with the reason printed) when the data cannot be loaded.
inline std::unique_ptr<MainWindow> OpenWithEveryCatalogue(AppState& state) {
    state.dataDir = QStringLiteral(ZENITOR_SOURCE_DATA_DIR);
    QString error;
    LoadingWindow* loading = RunStartup(state, &error);
    if (!loading) {
        std::printf("start-up failed: %s\n", qPrintable(error));
        return nullptr;
    }
    loading->hide();
    auto window = std::make_unique<MainWindow>(state);
    window->show();
    QApplication::processEvents();
    for (const char* name :
         {"chkMess", "chkHer", "chkCal", "chkBNGC", "chkSAC", "chkNGC", "chkIC", "chkShowAll"}) {
        auto* box = window->findChild<QCheckBox*>(QLatin1String(name));
        if (box && !box->isChecked()) box->click();
    }
    return window;
}

inline void SetInViewOnly(MainWindow& window, bool on) {
    auto* inView = window.findChild<QCheckBox*>(QStringLiteral("chkInView"));
    if (inView->isChecked() != on) inView->click();
}

inline double Median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0 : ms[ms.size() / 2];
}
