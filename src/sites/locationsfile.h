#pragma once

#include "sites/sitetable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

// The locations file, locations.txt in the data directory: 8-bit Latin-1 text. Lines that begin
// with "-" or a digit are site lines; every other line is a header line, of which the first
// non-empty one and the last one after it are kept and written back at the top of the file.
//
// A site line holds 17 words separated by blanks or tabs, then the name:
//   LatDeg LatMin LatSec LonDeg LonMin LonSec TimeZone DST N NE E SE S SW W NW Primary Name...
// e.g. "45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 Y Back yard".

// The file name inside the data directory.
QString LocationsFilePath(const QString& dataDir);

// Cuts the first word off `line`: the word is everything before the first blank or tab (empty
// when the line begins with one); the line keeps what follows the word and all the blanks and
// tabs after it.
QString NextToken(QString& line);

// Splits the file's bytes into lines (Latin-1). CR LF or a lone CR ends a line; a lone LF stays
// part of the line. The end of the file ends the last line, so a final line end does not add an
// empty line.
QStringList SplitLocationLines(const QByteArray& bytes);

// What a locations file holds.
struct LocationsContent {
    SiteTable sites;
    LocationsHeaders headers;
    // The last site flagged primary, -1 when none is.
    std::int16_t primaryIndex = -1;
};

// Reads the bytes of a locations file. Fails, with a message naming the line, on a numeric word
// whose rounded value does not fit a 16-bit field, and on more sites than a 16-bit index can
// count. `fileName` is only used in that message.
bool ParseLocations(const QByteArray& bytes, const QString& fileName, LocationsContent* out,
                    QString* error);

// The bytes WriteLocations puts into the file: the two header lines, then one line per site,
// every line ending in CR LF. Fails when a text holds a character that the file cannot carry
// (outside Latin-1, or a CR, which would split the line on reading).
bool FormatLocations(const SiteTable& sites, const LocationsHeaders& headers, QByteArray* out,
                     QString* error);

// The same for an explicit path.
bool WriteLocationsFile(const QString& path, const SiteTable& sites,
                        const LocationsHeaders& headers, QString* error);

// Replaces the file at `path` with `bytes` through a temporary file renamed over it, so that a
// failure at any point leaves the old file whole. The message names the file and the reason.
bool ReplaceFileContent(const QString& path, const QByteArray& bytes, QString* error);
