#pragma once

#include "night/crossings.h"
#include "night/sunmoon.h"
#include "sky/skystate.h"

#include <QDate>
#include <optional>
#include <vector>

// The night for a site: the one under way at the instant in use (the Sun's centre below
// -0 deg 50'), or else the next one. Its events are looked for between two civil noons of the
// site, which hold one sunset and the following sunrise at every inhabited longitude and zone.
enum class NightKind {
    Ordinary,   // the Sun sets and rises
    PolarDay,   // the Sun stays above the rising altitude from noon to noon
    PolarNight, // the Sun stays below it
};

struct NightEvents {
    NightKind kind = NightKind::Ordinary;
    double windowFrom = 0, windowTo = 0; // the two civil noons, day counts of UT
    double from = 0, to = 0;             // sunset to sunrise, or the whole window without them

    std::optional<double> sunset, civilEnds, nauticalEnds, astronomicalEnds;
    std::optional<double> astronomicalBegins, nauticalBegins, civilBegins, sunrise;
    // The first moonrise and moonset between sunset and sunrise.
    std::optional<double> moonrise, moonset;
    MoonPhase moon; // in the middle of the night

    std::vector<Span> darkness;        // Sun below -18 deg
    std::vector<Span> darkWithoutMoon; // and the Moon below the horizon

    // Altitudes (radians) from `from` to `to`, for the plot: the Sun's centre and the Moon's
    // upper limb, without refraction.
    struct Sample {
        double days = 0;
        double sun = 0;
        double moon = 0;
    };
    std::vector<Sample> samples;
};

// The night for the site held in the sky state and its civil date and time in use.
NightEvents ComputeNightEvents(const SkyState& sky, const CivilTime& civil);

// The civil date on whose noon that night's window opens; cheap, for telling whether the night
// in force has changed.
QDate NightFirstDate(const SkyState& sky, const CivilTime& civil);

// The Sun's altitudes that end and begin the twilights, radians.
constexpr double CivilTwilightAltitude = -6 * 3.14159265358979323846 / 180;
constexpr double NauticalTwilightAltitude = -12 * 3.14159265358979323846 / 180;
constexpr double AstronomicalTwilightAltitude = -18 * 3.14159265358979323846 / 180;

// Steps at which the Sun and the Moon are sampled: every event longer than this is found.
constexpr double SunMoonStepDays = 10.0 / 1440;
