#pragma once

#include "sites/locationsfile.h"
#include "startup/appstate.h"
#include "support/files.h"

#include <QTemporaryDir>

// A data directory of a test's own, holding locations.txt with the given bytes.
class LocationsDir {
public:
    explicit LocationsDir(const QByteArray& content) {
        WriteAll(LocationsFilePath(path()), content);
    }
    QString path() const { return dir_.path(); }
    // The bytes of the file as it is now, "<missing>" when there is none.
    QByteArray bytes() const { return ReadAll(LocationsFilePath(path())); }
    // Points the state at this directory and reads the file into it, as start-up does.
    bool load(AppState& state, QString* error) const {
        state.dataDir = path();
        return ReadLocations(state, error);
    }

private:
    QTemporaryDir dir_;
};
