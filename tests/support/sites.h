#pragma once

// Sites written in code and the lines of a small locations file, for the tests of the locations
// file and of the Location Editor.

#include "sites/locationsfile.h"

#include <QByteArray>
#include <QString>
#include <array>

inline SiteLocation Site(std::array<std::int16_t, 7> p, bool dst,
                         std::array<std::int16_t, 8> horizon, bool primary, const QString& name) {
    SiteLocation s;
    s.LatDeg = p[0], s.LatMin = p[1], s.LatSec = p[2], s.LonDeg = p[3], s.LonMin = p[4];
    s.LonSec = p[5], s.TimeZone = p[6], s.DST = dst ? -1 : 0, s.Horizon = horizon;
    s.Primary = primary ? -1 : 0, s.Name = name;
    return s;
}

inline const QByteArray kHeaders = "Zenitor sites\r\nLaD LaM LaS LoD LoM LoS TZ DST ... Name\r\n";
inline const QByteArray kYard = "45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 Y Back yard\r\n";
inline const QByteArray kField = "0 -30 0 0 -7 -30 2 N 5 6 7 8 9 10 11 12 N Dark field\r\n";
inline const QString kNoPrimary = "Primary?: You have no primary location.";

inline LocationsContent Parse(const QByteArray& bytes, QString* error = nullptr) {
    LocationsContent content;
    QString ignored;
    ParseLocations(bytes, "/data/locations.txt", &content, error ? error : &ignored);
    return content;
}

inline QByteArray Format(const SiteTable& sites, const LocationsHeaders& headers) {
    QByteArray bytes;
    QString error;
    return FormatLocations(sites, headers, &bytes, &error) ? bytes : error.toLatin1();
}
