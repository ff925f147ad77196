#include "app/datafolders.h"

#include "settings/userfolders.h"

#include <QCoreApplication>

void UseProgramDataFolders(AppState& state) {
    state.dataDir = QCoreApplication::applicationDirPath();
    state.userDataDir = UserDataFolder() + QStringLiteral("/zenitor");
    state.settingsPath = RememberedChoicesPath();
    state.listsPath = KeptListsPath(state.userDataDir);
}
