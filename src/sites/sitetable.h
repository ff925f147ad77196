#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// One observing site. Angles are signed degrees, minutes and seconds; South latitudes and West
// longitudes carry the minus sign on every part (0 deg 7 min 30 sec West is 0, -7, -30), and the
// angle is Deg + (Min + Sec / 60) / 60 with each part taken with its own sign.
// Flags hold -1 for true and 0 for false.
// A default-constructed record (all numbers 0, flags false, empty name) is the empty record that
// New Location appends.
struct SiteLocation {
    std::int16_t LatDeg = 0;
    std::int16_t LatMin = 0;
    std::int16_t LatSec = 0;
    std::int16_t LonDeg = 0;
    std::int16_t LonMin = 0;
    std::int16_t LonSec = 0;
    // Whole hours from GMT, West negative.
    std::int16_t TimeZone = 0;
    // Daylight saving time is in force at the site.
    std::int16_t DST = 0;
    // Altitude of the local horizon in whole degrees, N, NE, E, SE, S, SW, W, NW:
    // entry k faces azimuth 45 * k degrees.
    std::array<std::int16_t, 8> Horizon{};
    // The site selected when the program starts.
    std::int16_t Primary = 0;
    // Shown in the site list; may contain blanks and tabs, also at the end.
    QString Name;
    // The site's time-zone name from the zone database ("Europe/Berlin"); empty: the site's
    // clock is TimeZone plus the DST hour. Kept beside the locations file (see zonenames.h).
    QByteArray ZoneName;
};

inline bool operator==(const SiteLocation& a, const SiteLocation& b) {
    return a.LatDeg == b.LatDeg && a.LatMin == b.LatMin && a.LatSec == b.LatSec &&
           a.LonDeg == b.LonDeg && a.LonMin == b.LonMin && a.LonSec == b.LonSec &&
           a.TimeZone == b.TimeZone && a.DST == b.DST && a.Horizon == b.Horizon &&
           a.Primary == b.Primary && a.Name == b.Name && a.ZoneName == b.ZoneName;
}
inline bool operator!=(const SiteLocation& a, const SiteLocation& b) {
    return !(a == b);
}

// All sites, index 0 first, in the order of the locations file.
using SiteTable = std::vector<SiteLocation>;

// The two lines of the locations file that are not site lines. They are written back as the
// first two lines of the file.
struct LocationsHeaders {
    QString LocationsHeader1;
    QString LocationsHeader2;
};

inline bool operator==(const LocationsHeaders& a, const LocationsHeaders& b) {
    return a.LocationsHeader1 == b.LocationsHeader1 && a.LocationsHeader2 == b.LocationsHeader2;
}
inline bool operator!=(const LocationsHeaders& a, const LocationsHeaders& b) {
    return !(a == b);
}
