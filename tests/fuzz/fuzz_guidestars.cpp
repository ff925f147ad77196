// Feeds arbitrary bytes to the guide-star list as gdstars.txt, at a mid-northern site and at the
// north pole (where the azimuth formula has no direction to give).

#include "fuzzsupport.h"
#include "objectlist/guidestars.h"
#include "sky/coordinates.h"
#include "sky/skytime.h"

#include <QDir>
#include <memory>

namespace {

SkyState FixedSky(double latitudeDeg) {
    SkyState sky;
    sky.clock = std::make_shared<FixedClock>(QDateTime(QDate(2024, 3, 15), QTime(21, 0), Qt::UTC));
    SetObservingTime(sky, QDateTime(QDate(2024, 3, 15), QTime(21, 0), Qt::UTC));
    SetSiteClock(sky, -5, true);
    SetObserverPosition(sky, DegToRad(latitudeDeg), DegToRad(-77.8));
    return sky;
}

void CheckRows(SkyState& sky, const QString& path) {
    const GuideStarRows result = ComputeGuideStarRows(sky, path);
    FuzzCheck(result.ok, "a readable star file is reported as failing", result.error);
    FuzzCheck(result.error.isEmpty(), "a successful list with an error text", result.error);
    FuzzCheck(result.rows.size() <= GuideStarRowLimit, "more rows than the list has");
    // 15 name characters, two angles of at least 11 characters, a magnitude of at least 4 and
    // three blanks.
    for (const QString& row : result.rows)
        FuzzCheck(row.size() >= 15 + 1 + 11 + 1 + 11 + 1 + 4, "a row shorter than its layout", row);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SkyState midNorth = FixedSky(41.66);
    static SkyState pole = FixedSky(90);
    const QString path = WriteFuzzInput(QString::fromLatin1(GuideStarFileName), data, size);
    CheckRows(midNorth, path);
    CheckRows(pole, path);
    return 0;
}
