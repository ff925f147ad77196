#pragma once

#include "sites/sitetable.h"

#include <QByteArray>
#include <QString>

// The sites' time-zone names, kept beside the locations file, whose format has no room for them:
// zonenames.txt in the same folder, UTF-8, one line per named site holding the zone name, one
// blank and the site's name exactly as in locations.txt, e.g. "America/Phoenix Kitt Peak". Lines
// that begin with "#" are comments. A site is found by its name, so the names survive any
// reordering of the sites; sites of the same name share one zone.

QString ZoneNamesFilePath(const QString& folder);

struct ZoneNamesReading {
    // Each site's zone name by the order of `sites`, empty where none is given.
    std::vector<QByteArray> names;
    // Lines that are neither a comment nor "<zone the database knows> <name>"; they are skipped.
    int damagedLines = 0;
    int firstDamagedLine = 0; // 1-based
};

ZoneNamesReading ParseZoneNames(const QByteArray& bytes, const SiteTable& sites);

// The file's bytes for the named sites of the table (LF line ends).
QByteArray FormatZoneNames(const SiteTable& sites);
