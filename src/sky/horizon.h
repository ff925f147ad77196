#pragma once

#include <array>
#include <cstdint>

// Whole-degree horizon altitudes indexed by azimuth degree 0..360.
using HorizonProfile = std::array<std::int16_t, 361>;
