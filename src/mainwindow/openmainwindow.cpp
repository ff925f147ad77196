#include "mainwindow/openmainwindow.h"

#include "mainwindow/mainwindow.h"

QWidget* OpenMainWindow(AppState& state) {
    auto* window = new MainWindow(state);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}
