#include "startup/appstate.h"
#include "startup/nightvision.h"
#include "startup/startup.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallNightVision();
    AppState state;
    state.dataDir = QCoreApplication::applicationDirPath();

    QString error;
    if (!RunStartup(state, &error)) {
        QMessageBox::critical(nullptr, QStringLiteral("Zenitor"),
                              QStringLiteral("Zenitor cannot start.\n\n%1").arg(error));
        return 1;
    }
    return app.exec();
}
