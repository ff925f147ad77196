#include "startup/appstate.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    AppState state;
    state.dataDir = QCoreApplication::applicationDirPath();
    return 0;
}
