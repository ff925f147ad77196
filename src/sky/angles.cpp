#include "startup/angles.h"

double DegMinToRadians(std::int16_t whole, double minutes) {
    return (whole + minutes / 60.0) * 3.14159265358979 / 180.0;
}
