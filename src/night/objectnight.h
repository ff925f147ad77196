#pragma once

#include "night/crossings.h"
#include "night/nightevents.h"
#include "state/appstate.h"

#include <QString>
#include <optional>
#include <vector>

// Each picked row over the night, placed with the same formulas as the rows (so its curve is
// the rows' altitude at every moment), against the site's own horizon profile: an object counts
// as up where it stands strictly above the profile at its azimuth, as "In View Only" counts it.

enum class UpKind { RisesOrSets, AlwaysUp, NeverUp };

struct PathPoint {
    double days = 0;
    double altitude = 0; // radians
    double horizon = 0;  // the profile's altitude at the object's azimuth, radians
};

struct ObjectNight {
    int storeIndex = -1;
    QString designation;
    // Rising and setting around the window's two noons: the first rise in it, and the first set
    // after it (else the first set); for an object already up at the first noon, its last rise in
    // the day before.
    UpKind up = UpKind::RisesOrSets;
    std::optional<double> rises, sets;
    // Highest between sunset and sunrise (the whole window on a polar day or night).
    double highestAt = 0;
    double highestAltitude = 0; // radians
    double highestAzimuth = 0;  // radians
    // Within astronomical darkness, the spans when it stands above the horizon profile.
    std::vector<Span> clearInDarkness;
    // The curve from sunset to sunrise, for the plot.
    std::vector<PathPoint> path;
};

// One entry per occupied row, in row order; rows the theory cannot place are left out.
std::vector<ObjectNight> ComputeObjectNights(const AppState& state, const NightEvents& night);

// Objects are sampled this often; a clearance between two trees shorter than this can be missed.
constexpr double ObjectStepDays = 5.0 / 1440;
