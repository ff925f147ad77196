#include "app/datafolders.h"

#include <QCoreApplication>
#include <QStandardPaths>

void UseProgramDataFolders(AppState& state) {
    state.dataDir = QCoreApplication::applicationDirPath();
    state.userDataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    state.settingsPath = RememberedChoicesPath();
    state.listsPath = KeptListsPath(state.userDataDir);
}
