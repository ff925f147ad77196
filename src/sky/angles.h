#pragma once

#include <cstdint>

// (whole + minutes / 60) in radians; the minutes are added even when whole is negative.
double DegMinToRadians(std::int16_t whole, double minutes);
