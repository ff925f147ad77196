#include "support/locationsdir.h"

#include "sites/locationsfile.h"
#include "startup/appstate.h"

#include <QFile>

LocationsDir::LocationsDir(const QByteArray& content) {
    QFile file(LocationsFilePath(dir_.path()));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
}

QByteArray LocationsDir::bytes() const {
    QFile file(LocationsFilePath(dir_.path()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : missing();
}

bool LocationsDir::load(AppState& state, QString* error) const {
    state.dataDir = dir_.path();
    return ReadLocations(state, error);
}
