#include "objectlist/bodyrecords.h"

#include "sky/skytime.h"

#include <cmath>

namespace {

// A diameter as an observer reads it: tenths of a second for the small disks, whole seconds up to
// a minute and a half, minutes for the Moon.
QString DiameterText(double arcsec) {
    if (arcsec < 10) return QString::number(arcsec, 'f', 1) + u'"';
    if (arcsec < 90) return QString::number(std::lround(arcsec)) + u'"';
    return QString::number(arcsec / 60, 'f', 1) + u'\'';
}

// Days from J2000 to the instant in use; NaN, which places nothing, outside the years the rows
// name ("outside 1000-3000") on the site's own calendar.
double InstantDays(const SkyState& sky) {
    const SiteInstant instant = InstantInUse(sky);
    const int year = instant.civil.date().year();
    return year >= 1000 && year <= 3000 ? DaysFromJ2000At(instant) : std::nan("");
}

} // namespace

void AppendBodyRecords(ObjectStore& store) {
    if (store.PlanetEnd > 0) return;
    for (int i = 0; i < BodyCount; ++i) {
        const auto body = static_cast<Body>(i);
        CatalogObject record;
        record.Catalog = QStringLiteral("P");
        record.Designation = QString::fromLatin1(BodyName(body));
        record.TypeCode = body == Body::Moon ? QStringLiteral("MO") : QStringLiteral("PL");
        store.objects.push_back(record);
    }
    store.PlanetEnd = std::int16_t(store.objects.size());
}

int BodyInSlot(const ObjectStore& store, int storeIndex) {
    const int first = store.PlanetEnd - BodyCount;
    if (store.PlanetEnd <= 0 || storeIndex < first || storeIndex >= store.PlanetEnd) return -1;
    return storeIndex - first;
}

void WriteBodyPlace(CatalogObject& record, const BodyPlace& place) {
    if (!place.inRange) {
        record.RA = record.Dec = record.Mag = 0;
        record.Comment = OutsideRangeText();
        return;
    }
    record.RA = place.rightAscension / 15;
    record.Dec = place.declination;
    // Shown to a tenth everywhere, and the limiting magnitude compares what is shown.
    record.Mag = std::round(place.magnitude * 10) / 10 + 0.0; // no minus zero
    record.Comment = QString::number(std::lround(place.illuminatedFraction * 100)) +
                     QStringLiteral("% lit, ") + DiameterText(place.diameterArcsec);
}

void PlaceBodyRecord(AppState& state, int storeIndex) {
    const int body = BodyInSlot(state.store, storeIndex);
    if (body < 0) return;
    const SkyState& sky = state.sky;
    // Precise positions start from the place seen from the site, with the light time the
    // aberration added later expects.
    const auto place = sky.Precise ? PlaceBodyFromSite : PlaceBody;
    WriteBodyPlace(state.store.objects[std::size_t(storeIndex)],
                   place(static_cast<Body>(body), InstantDays(sky), sky.ObserverLatitude,
                         sky.ObserverLongitude));
}

void PlaceBodyRecords(AppState& state) {
    if (state.store.PlanetEnd < BodyCount) return;
    const SkyState& sky = state.sky;
    const auto placeAll = sky.Precise ? PlaceAllBodiesFromSite : PlaceAllBodies;
    const auto places = placeAll(InstantDays(sky), sky.ObserverLatitude, sky.ObserverLongitude);
    const int first = state.store.PlanetEnd - BodyCount;
    for (int i = 0; i < BodyCount; ++i)
        WriteBodyPlace(state.store.objects[std::size_t(first + i)], places[std::size_t(i)]);
}

QString OutsideRangeText() {
    return QStringLiteral("outside 1000-3000");
}

bool IsUnplacedBody(const CatalogObject& record) {
    return record.Catalog.At(0) == u'P' && record.Comment.TrimmedText() == OutsideRangeText();
}

QString BodyChooserText(const CatalogObject& record) {
    QString text = record.TypeCode.DisplayText() + QStringLiteral("  ");
    if (IsUnplacedBody(record))
        text += OutsideRangeText();
    else
        text += QStringLiteral("mag ") + QString::number(record.Mag, 'f', 1) +
                QStringLiteral("  ") + record.Comment.TrimmedText();
    return text.leftJustified(70, u' ', true);
}
