#pragma once

#include <array>
#include <cstdint>

// Whole-degree horizon altitudes indexed by azimuth degree 0..360; 0 and 360 are both north.
using HorizonProfile = std::array<std::int16_t, 361>;

// Fills the whole profile from eight compass-point altitudes N, NE, E, SE, S, SW, W, NW by
// linear interpolation between neighbours, rounded half up to whole degrees.
void BuildHorizonProfile(HorizonProfile& profile,
                         const std::array<std::int16_t, 8>& northToNorthWest);

// The profile's altitude (radians) at an azimuth (radians), read at the nearest whole degree.
double HorizonAltitudeAt(const HorizonProfile& profile, double azRad);

// True when the altitude lies strictly above the profile at the azimuth (both radians).
bool IsInView(const HorizonProfile& profile, double altRad, double azRad);
