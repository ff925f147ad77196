#include "settings/userfolders.h"

#include <QDir>
#include <QFile>

namespace {

QString XdgFolder(const char* variable, const char* underHome) {
    const QString set = QFile::decodeName(qgetenv(variable));
    return QDir::cleanPath(QDir::isAbsolutePath(set)
                               ? set
                               : QDir::homePath() + QLatin1Char('/') + QLatin1String(underHome));
}

} // namespace

QString UserConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

QString UserDataFolder() {
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}
