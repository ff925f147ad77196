#include "night/objectnight.h"

#include "apparent/apparentsky.h"
#include "objectlist/bodyrecords.h"
#include "sky/coordinates.h"
#include "solarsystem/solarsystem.h"

#include <cmath>

namespace {

constexpr double HourDays = 1.0 / 24;

// The right ascension (catalogue unit) and declination of an object at a moment. A body is
// placed at fixed steps over the window and followed linearly in between: the Moon every hour,
// over which its path bends by a few seconds of arc, a planet every six hours.
class Track {
public:
    Track(const AppState& state, int storeIndex, const NightEvents& night) {
        const CatalogObject& record = state.store.objects[std::size_t(storeIndex)];
        body_ = BodyInSlot(state.store, storeIndex);
        if (body_ < 0) {
            fixed_ = {record.RA, record.Dec};
            return;
        }
        step_ = body_ == int(Body::Moon) ? HourDays : 6 * HourDays;
        // From a day before the window: a rise before it may be looked for.
        from_ = night.windowFrom - 1 - step_;
        const int steps = int(std::ceil((night.windowTo - from_) / step_)) + 2;
        for (int i = 0; i < steps; ++i) {
            // Precise rows start from the place seen from the site, as the rows do.
            const auto place = state.sky.Precise ? PlaceBodyFromSite : PlaceBody;
            const BodyPlace p = place(static_cast<Body>(body_), from_ + i * step_,
                                      state.sky.ObserverLatitude, state.sky.ObserverLongitude);
            if (!p.inRange) {
                placed_ = false;
                return;
            }
            places_.push_back({p.rightAscension / 15, p.declination});
        }
    }
    bool placed() const { return placed_; }

    std::pair<double, double> at(double days) const {
        if (body_ < 0) return fixed_;
        const double x = std::clamp((days - from_) / step_, 0.0, double(places_.size() - 1));
        const std::size_t i = std::min(std::size_t(x), places_.size() - 2);
        const double f = x - double(i);
        const auto [ra0, dec0] = places_[i];
        auto [ra1, dec1] = places_[i + 1];
        // Right ascension in the catalogue unit runs 0..2pi/15; it may wrap within the hour.
        const double turn = 2 * 3.14159265358979323846 / 15;
        if (ra1 - ra0 > turn / 2) ra1 -= turn;
        if (ra0 - ra1 > turn / 2) ra1 += turn;
        return {ra0 + f * (ra1 - ra0), dec0 + f * (dec1 - dec0)};
    }

private:
    int body_ = -1;
    bool placed_ = true;
    std::pair<double, double> fixed_;
    double from_ = 0, step_ = HourDays;
    std::vector<std::pair<double, double>> places_;
};

// Apparent skies of the night's moments ("Precise"), shared by all objects: they are sampled at
// the same moments, and a sky costs far more than placing an object in it.
using ApparentSkies = Remembered<ApparentSky>;

// Altitude and azimuth by the rows' own formulas, at a moment given as a day count.
struct Sky {
    SkyState sky;
    const HorizonProfile& horizon;
    const Track& track;
    ApparentSkies& skies;

    std::pair<double, double> altAz(double days) {
        const auto [ra, dec] = track.at(days);
        if (sky.Precise) {
            const ApparentSky& apparent = skies(days);
            if (apparent.ok) {
                const HorizontalPlace p = ApparentHorizontal(apparent, ra * 15, dec);
                return {p.altitude, p.azimuth};
            }
        }
        // The two time values the rows read from the instant, set directly.
        sky.DaysFromJ2000 = days;
        sky.UniversalHours = (days + 0.5 - std::floor(days + 0.5)) * 24;
        SetTarget(sky, ra, dec);
        const double alt = TargetAltitudeFromTimeValues(sky);
        return {alt, TargetAzimuth(sky)};
    }
    PathPoint at(double days) {
        const auto [alt, az] = altAz(days);
        return {days, alt, HorizonAltitudeAt(horizon, az)};
    }
    double azimuthAt(double days) { return altAz(days).second; }
};

void FindRiseAndSet(ObjectNight& out, const TimeFunction& margin, const NightEvents& night) {
    const std::vector<Crossing> crossings =
        FindCrossings(margin, night.windowFrom, night.windowTo, ObjectStepDays);
    if (crossings.empty()) {
        out.up = margin(night.windowFrom) > 0 ? UpKind::AlwaysUp : UpKind::NeverUp;
        return;
    }
    // Up already at the first noon: it rose the day before, and that rise is the one that frames
    // its stay above the horizon through the evening (not the next day's, after the night).
    if (margin(night.windowFrom) > 0)
        for (const Crossing& c :
             FindCrossings(margin, night.windowFrom - 1, night.windowFrom, ObjectStepDays))
            if (c.rising) out.rises = c.days;
    for (const Crossing& c : crossings) {
        if (c.rising && !out.rises) out.rises = c.days;
        if (!c.rising && !out.sets && out.rises) out.sets = c.days;
    }
    if (!out.sets)
        for (const Crossing& c : crossings)
            if (!c.rising) {
                out.sets = c.days;
                break;
            }
}

ObjectNight ComputeOne(const AppState& state, int storeIndex, const Track& track,
                       ApparentSkies& skies, const NightEvents& night) {
    ObjectNight out;
    out.storeIndex = storeIndex;
    out.designation = state.store.objects[std::size_t(storeIndex)].Designation.TrimmedText();
    Sky sky{state.sky, state.horizon, track, skies};
    Remembered<PathPoint> point([&sky](double t) { return sky.at(t); });
    const TimeFunction margin = [&point](double t) {
        const PathPoint& p = point(t);
        return p.altitude - p.horizon;
    };
    const TimeFunction altitude = [&point](double t) { return point(t).altitude; };

    FindRiseAndSet(out, margin, night);
    out.highestAt = PeakOf(altitude, night.from, night.to, ObjectStepDays);
    out.highestAltitude = altitude(out.highestAt);
    out.highestAzimuth = sky.azimuthAt(out.highestAt);
    for (const Span& dark : night.darkness) {
        const std::vector<Span> clear = PositiveSpans(margin, dark.from, dark.to, ObjectStepDays);
        out.clearInDarkness.insert(out.clearInDarkness.end(), clear.begin(), clear.end());
    }
    for (const double t : SampleTimes(night.from, night.to, ObjectStepDays))
        out.path.push_back(point(t));
    return out;
}

} // namespace

std::vector<ObjectNight> ComputeObjectNights(const AppState& state, const NightEvents& night) {
    std::vector<ObjectNight> out;
    const double lat = state.sky.ObserverLatitude, lon = state.sky.ObserverLongitude;
    // A whole sky each hour; the moments between only turn it with the Earth.
    ApparentSkies hourly([lat, lon](double hour) { return MakeApparentSky(hour, lat, lon); });
    ApparentSkies skies([&hourly](double t) {
        const ApparentSky& base = hourly(std::round(t / HourDays) * HourDays);
        return base.ok ? TurnedTo(base, t) : MakeApparentSky(t, base.latitude, base.longitude);
    });
    for (int row = 0; row < ListRowCount; ++row) {
        const int slot = state.listSlots[std::size_t(row)];
        if (slot <= 0 || slot > int(state.store.objects.size())) continue;
        const Track track(state, slot - 1, night);
        if (!track.placed()) continue;
        out.push_back(ComputeOne(state, slot - 1, track, skies, night));
    }
    return out;
}
