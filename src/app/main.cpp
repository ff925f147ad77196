#include "app/datafolders.h"
#include "app/startup.h"
#include "kit/nightvision.h"
#include "kit/programmessage.h"
#include "state/appstate.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The name gives the user's data folder and the window class; the desktop file name ties the
    // windows to the installed menu entry and icon.
    QApplication::setApplicationName(QStringLiteral("zenitor"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.zenitor"));
    InstallNightVision();
    AppState state;
    UseProgramDataFolders(state);

    QString error;
    if (!RunStartup(state, &error)) {
        QMessageBox box(QMessageBox::Critical, ProgramTitle(),
                        QStringLiteral("Zenitor cannot start.\n\n%1").arg(error));
        FitMessageBoxToTitle(box);
        box.exec();
        return 1;
    }
    return app.exec();
}
