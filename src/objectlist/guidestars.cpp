#include "objectlist/guidestars.h"

#include "catalog/catalogfile.h"
#include "catalog/readingrules.h"
#include "sky/coordinates.h"
#include "sky/textformats.h"

#include <QDir>

namespace {

double ColumnValue(QStringView line, int column, int width) {
    return NumericValue(Columns(line, column, width));
}

QString PadOrCut(const QString& text, int width) {
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}

} // namespace

QString GuideStarFilePath(const QString& dataDir) {
    return QDir(dataDir).filePath(QLatin1String(GuideStarFileName));
}

bool ReadGuideStarLine(QStringView line, GuideStar& star) {
    if (line.isEmpty() || line.at(0) < QLatin1Char('0') || line.at(0) > QLatin1Char('9'))
        return false;

    star.Name = PadOrCut(Columns(line, 20, 14).toString(), 20);
    star.Mag = ColumnValue(line, 35, 5);

    const double ra =
        ColumnValue(line, 41, 2) + ColumnValue(line, 44, 2) / 60 + ColumnValue(line, 47, 4) / 3600;
    double dec =
        ColumnValue(line, 53, 2) + ColumnValue(line, 56, 2) / 60 + ColumnValue(line, 59, 2) / 3600;
    if (Columns(line, 52, 1) == u"-") dec = dec * -1;

    star.Dec = DegToRad(dec);
    star.RA = DegToRad(ra);
    star.Alt = 0;
    star.Az = 0;
    return true;
}

bool IsGuideStarAltitude(double altitudeRad) {
    return DegToRad(20) < altitudeRad && altitudeRad < DegToRad(60);
}

QString GuideStarRowText(const GuideStar& star) {
    const QString name = PadOrCut(star.Name.left(15), 20);
    return name.left(15) + QLatin1Char(' ') + AngleText(star.Alt) + QLatin1Char(' ') +
           AngleText(star.Az) + QLatin1Char(' ') + MagnitudeListText(star.Mag);
}

GuideStarRows ComputeGuideStarRows(SkyState& sky, const QString& filePath) {
    GuideStarRows result;
    try {
        // The file is read whole here and closed before any star is placed.
        CatalogFile file(filePath);

        // Every line is read even after the last row is filled; only the first 22 suitable stars
        // are kept.
        QStringView line;
        while (file.NextLine(&line)) {
            GuideStar star;
            if (!ReadGuideStarLine(line, star)) continue;
            SetTarget(sky, star.RA, star.Dec);
            star.Alt = TargetAltitude(sky);
            if (result.rows.size() >= GuideStarRowLimit || !IsGuideStarAltitude(star.Alt)) continue;
            star.Az = TargetAzimuth(sky);
            result.rows.append(GuideStarRowText(star));
        }
    } catch (const CatalogError& e) {
        result.rows.clear();
        result.error = e.message();
        return result;
    }
    result.ok = true;
    return result;
}
