#include "night/nightevents.h"

#include "night/nightclock.h"

#include <algorithm>
#include <cmath>

namespace {

// The Sun and the Moon are asked at the same sampled moments for every level and span; each
// value is computed once.
using RememberedCurve = Remembered<double>;

struct LevelCrossings {
    std::optional<double> firstFalling, lastRising;
};

LevelCrossings CrossingsOf(const TimeFunction& f, double from, double to) {
    LevelCrossings out;
    for (const Crossing& c : FindCrossings(f, from, to, SunMoonStepDays)) {
        if (!c.rising && !out.firstFalling) out.firstFalling = c.days;
        if (c.rising) out.lastRising = c.days;
    }
    return out;
}

CivilTime Noon(const QDate& date) {
    return CivilTime(date, QTime(12, 0));
}

} // namespace

QDate NightFirstDate(const SkyState& sky, const CivilTime& civil) {
    const double now = CivilToDays(sky, civil);
    const bool underWay =
        SunAltitude(now, sky.ObserverLatitude, sky.ObserverLongitude) < SunriseAltitude;
    return underWay && civil.time() < QTime(12, 0) ? civil.date().addDays(-1) : civil.date();
}

NightEvents ComputeNightEvents(const SkyState& sky, const CivilTime& inUse) {
    NightEvents night;
    const QDate first = NightFirstDate(sky, inUse);
    night.windowFrom = CivilToDays(sky, Noon(first));
    night.windowTo = CivilToDays(sky, Noon(first.addDays(1)));
    const SunMoonTrack track(night.windowFrom, night.windowTo, sky.ObserverLatitude,
                             sky.ObserverLongitude);
    RememberedCurve sun([&track](double t) { return track.sunAltitude(t); });

    const auto below = [&](double level) {
        return [&sun, level](double t) { return level - sun(t); };
    };
    const auto above = [&](double level) {
        return [&sun, level](double t) { return sun(t) - level; };
    };
    const LevelCrossings rising =
        CrossingsOf(above(SunriseAltitude), night.windowFrom, night.windowTo);
    const LevelCrossings civil =
        CrossingsOf(above(CivilTwilightAltitude), night.windowFrom, night.windowTo);
    const LevelCrossings nautical =
        CrossingsOf(above(NauticalTwilightAltitude), night.windowFrom, night.windowTo);
    const LevelCrossings astronomical =
        CrossingsOf(above(AstronomicalTwilightAltitude), night.windowFrom, night.windowTo);
    night.sunset = rising.firstFalling;
    night.sunrise = rising.lastRising;
    night.civilEnds = civil.firstFalling;
    night.civilBegins = civil.lastRising;
    night.nauticalEnds = nautical.firstFalling;
    night.nauticalBegins = nautical.lastRising;
    night.astronomicalEnds = astronomical.firstFalling;
    night.astronomicalBegins = astronomical.lastRising;

    if (!night.sunset && !night.sunrise)
        night.kind =
            sun(night.windowFrom) < SunriseAltitude ? NightKind::PolarNight : NightKind::PolarDay;
    night.from = night.sunset.value_or(night.windowFrom);
    night.to = night.sunrise.value_or(night.windowTo);
    if (night.to <= night.from) {
        // The Sun only dips below (or rises above) the level once in the window: the night runs
        // over the window's edge, and the window is shown whole.
        night.from = night.windowFrom;
        night.to = night.windowTo;
    }

    RememberedCurve moonCurve([&track](double t) { return track.moonAboveRising(t); });
    const auto moonAbove = [&moonCurve](double t) { return moonCurve(t); };
    for (const Crossing& c : FindCrossings(moonAbove, night.from, night.to, SunMoonStepDays)) {
        std::optional<double>& event = c.rising ? night.moonrise : night.moonset;
        if (!event) event = c.days;
    }
    night.moon = MoonPhaseAt((night.from + night.to) / 2);

    if (night.kind != NightKind::PolarDay)
        night.darkness = PositiveSpans(below(AstronomicalTwilightAltitude), night.from, night.to,
                                       SunMoonStepDays);
    const auto moonBelow = [&](double t) { return -moonAbove(t); };
    night.darkWithoutMoon =
        Intersect(night.darkness, PositiveSpans(moonBelow, night.from, night.to, SunMoonStepDays));
    // On the same moments as the searches above, so the values are at hand.
    for (const double t : SampleTimes(night.from, night.to, SunMoonStepDays))
        night.samples.push_back({t, sun(t), moonAbove(t) - HorizonRefraction});
    return night;
}
