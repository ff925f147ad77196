#include "state/sitesstorage.h"

#include "sites/locationsfile.h"
#include "sites/zonenames.h"
#include "sky/coordinates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <sys/stat.h>

namespace {

// Whether this user can replace the file the way WriteLocationsFile does: a new file in the same
// folder renamed over the old one needs a writable folder, and the save refuses to replace an
// existing file that is read-only.
bool CanReplaceFile(const QString& path) {
    const QFileInfo file(path);
    return QFileInfo(file.absolutePath()).isWritable() && (!file.exists() || file.isWritable());
}

bool ProgramCopyWritable(const AppState& state) {
    const QString path = LocationsFilePath(state.dataDir);
    return state.canReplaceFile ? state.canReplaceFile(path) : CanReplaceFile(path);
}

// Makes `folder` and the folders above it that are missing. On failure the message names the
// folder that could not be made and the system's reason (a parent that may not be written gives
// "Permission denied"), not the file that was to go into it.
bool MakeFolder(const QString& folder, QString* error) {
    QStringList missing;
    for (QString at = QDir::cleanPath(QDir(folder).absolutePath()); !QFileInfo::exists(at);
         at = QFileInfo(at).path())
        missing.prepend(at);
    int failure = 0;
    QString failed = folder;
    for (const QString& path : missing) {
        if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0 && errno != EEXIST) {
            failure = errno, failed = path;
            break;
        }
    }
    if (!failure && !QFileInfo(folder).isDir()) failure = ENOTDIR;
    if (failure && error) {
        *error = QStringLiteral("%1 could not be created: %2")
                     .arg(QDir::toNativeSeparators(failed), qt_error_string(failure));
    }
    return !failure;
}

QString UserLocationsPath(const AppState& state) {
    return state.userDataDir.isEmpty() ? QString() : LocationsFilePath(state.userDataDir);
}

// Gives each site its zone name from the file beside the locations file. Anything wrong with
// that file costs only the names: the sites keep their fixed offsets and the notice says why.
void ReadZoneNames(const QString& folder, SiteTable& sites, QString& notice) {
    notice.clear();
    QFile file(ZoneNamesFilePath(folder));
    if (!file.exists()) {
        notice = QStringLiteral("no time-zone names (zonenames.txt missing), fixed offsets in use");
        return;
    }
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        notice = QStringLiteral("time-zone names unreadable (%1), fixed offsets in use")
                     .arg(file.errorString());
        return;
    }
    const ZoneNamesReading reading = ParseZoneNames(bytes, sites);
    for (std::size_t i = 0; i < sites.size(); ++i)
        sites[i].ZoneName = reading.names[i];
    if (reading.damagedLines > 0) {
        notice = QStringLiteral("zonenames.txt damaged at line %1, fixed offsets in use there")
                     .arg(reading.firstDamagedLine);
    }
}

} // namespace

QString LocationsReadPath(const AppState& state) {
    const QString user = UserLocationsPath(state);
    if (!user.isEmpty() && QFileInfo::exists(user) && !ProgramCopyWritable(state)) return user;
    return LocationsFilePath(state.dataDir);
}

QString LocationsWritePath(const AppState& state) {
    const QString user = UserLocationsPath(state);
    if (!user.isEmpty() && !ProgramCopyWritable(state)) return user;
    return LocationsFilePath(state.dataDir);
}

bool ReadLocations(AppState& state, QString* error) {
    SetCurrentSiteIndex(state, -1);
    SetObserverPosition(state.sky, 0.0, 0.0);

    const QString path = LocationsReadPath(state);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = QStringLiteral("The locations file %1 could not be read: %2.")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        }
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) {
            *error = QStringLiteral("The locations file %1 could not be read: %2.")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        }
        return false;
    }
    file.close();

    LocationsContent content;
    if (!ParseLocations(bytes, path, &content, error)) return false;
    ReadZoneNames(QFileInfo(path).absolutePath(), content.sites, state.zoneNamesNotice);
    state.sites = std::move(content.sites);
    state.locationsHeaders = content.headers;
    SetCurrentSiteIndex(state, content.primaryIndex);
    return true;
}

bool LoadLocationsAtStartup(AppState& state, QString* error) {
    return ReadLocations(state, error);
}

bool WriteLocations(const AppState& state, QString* error) {
    const QString path = LocationsWritePath(state);
    // The user's data folder may not exist yet.
    if (path != LocationsFilePath(state.dataDir) &&
        !MakeFolder(QFileInfo(path).absolutePath(), error))
        return false;
    return WriteLocationsFile(path, state.sites, state.locationsHeaders, error) &&
           ReplaceFileContent(ZoneNamesFilePath(QFileInfo(path).absolutePath()),
                              FormatZoneNames(state.sites), error);
}
