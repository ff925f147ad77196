#include "state/listsstorage.h"

#include <QDir>
#include <QFile>

bool LoadKeptListsAtStartup(AppState& state, QString* error) {
    QString reason;
    if (ReadKeptLists(state.listsPath, &state.lists, &reason)) {
        ResolveKeptLists(state.store, state.lists);
        return true;
    }
    const QString aside = state.listsPath + QStringLiteral(".damaged");
    QFile::remove(aside);
    const bool moved = QFile::rename(state.listsPath, aside);
    if (error) {
        *error = reason + (moved ? QStringLiteral(" It was kept as %1; the program starts without "
                                                  "lists.")
                                       .arg(QDir::toNativeSeparators(aside))
                                 : QStringLiteral(" The program starts without lists."));
    }
    return false;
}

bool SaveKeptLists(const AppState& state, QString* error) {
    if (state.listsPath.isEmpty()) return true;
    return WriteKeptLists(state.listsPath, state.lists, error);
}
