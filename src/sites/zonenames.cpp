#include "sites/zonenames.h"

#include <QDir>
#include <QHash>
#include <QTimeZone>

QString ZoneNamesFilePath(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("zonenames.txt"));
}

ZoneNamesReading ParseZoneNames(const QByteArray& bytes, const SiteTable& sites) {
    ZoneNamesReading reading;
    QHash<QString, QByteArray> byName;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith('#')) continue;
        const qsizetype blank = line.indexOf(' ');
        const QByteArray zone = blank > 0 ? line.left(blank) : QByteArray();
        const QString name = QString::fromUtf8(line.mid(blank + 1));
        // Bytes that are not UTF-8 come back as U+FFFD, which no site name written here holds.
        if (zone.isEmpty() || !QTimeZone::isTimeZoneIdAvailable(zone) ||
            name.contains(QChar::ReplacementCharacter)) {
            if (reading.damagedLines++ == 0) reading.firstDamagedLine = int(i) + 1;
            continue;
        }
        if (!byName.contains(name)) byName.insert(name, zone);
    }
    reading.names.reserve(sites.size());
    for (const SiteLocation& site : sites)
        reading.names.push_back(byName.value(site.Name));
    return reading;
}

QByteArray FormatZoneNames(const SiteTable& sites) {
    QByteArray bytes = "# Zenitor: the time-zone names of the sites in locations.txt\n";
    for (const SiteLocation& site : sites) {
        // A name holding a line end (locations.txt keeps a lone LF) cannot be written on one
        // line here; such a site keeps its fixed offset after a restart.
        if (site.ZoneName.isEmpty() || site.Name.contains(u'\n') || site.Name.contains(u'\r'))
            continue;
        bytes += site.ZoneName + ' ' + site.Name.toUtf8() + '\n';
    }
    return bytes;
}
