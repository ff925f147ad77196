#pragma once

#include "sky/skystate.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// Guide stars: bright stars at a convenient altitude for setting the scope's altitude and azimuth
// indicators. The star file is read afresh at every request; the program keeps no table of stars.
// Nothing here touches a widget: the main window writes the returned rows into its list.

// Name of the guide-star file in the data directory.
inline constexpr const char* GuideStarFileName = "gdstars.txt";

// Number of rows of the object list, and so the most guide stars shown at once.
inline constexpr int GuideStarRowLimit = 22;

// One star line while it is processed.
struct GuideStar {
    QString Name;   // columns 20 to 33, blank-padded to 20 characters
    double Mag = 0; // visual magnitude
    double RA = 0;  // right ascension in hours multiplied by pi/180 (as CatalogObject::RA)
    double Dec = 0; // declination in radians, negative south of the equator
    double Alt = 0; // altitude in radians for the site and instant in force
    double Az = 0;  // azimuth in radians, north 0, through east
};

// The outcome of one guide-star request: the texts for rows 0 .. rows.size()-1 (at most 22), or,
// when the file cannot be read, ok == false and an error text naming the file and the reason.
struct GuideStarRows {
    bool ok = false;
    QString error;
    QStringList rows;
};

// Full path of the guide-star file in the given data directory.
QString GuideStarFilePath(const QString& dataDir);

// Reads the catalogue fields of one line (name, magnitude, RA, Dec; Alt and Az stay 0). Returns
// false, leaving `star` untouched, for a line that is not a star line (its first character is not
// a digit: headings, blank lines).
bool ReadGuideStarLine(QStringView line, GuideStar& star);

// True for an altitude strictly between 20 and 60 degrees.
bool IsGuideStarAltitude(double altitudeRad);

// The row text of a star whose Alt and Az are computed: the first 15 characters of the name, a
// blank, the altitude, a blank, the azimuth, a blank and the magnitude.
QString GuideStarRowText(const GuideStar& star);

// Reads the file at `filePath` from start to end (Latin-1; lines end at CR, CR LF or LF) and
// returns the rows of the first 22 stars, in file order, whose altitude at the site and instant in
// force in `sky` lies strictly between 20 and 60 degrees. Every star line is placed on `sky` in
// turn, so its target fields are left at the last star of the file.
GuideStarRows ComputeGuideStarRows(SkyState& sky, const QString& filePath);
