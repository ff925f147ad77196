#pragma once

#include <initializer_list>

// Delta T = TT - UT in seconds at an instant given as days from 2000-01-01 12:00 UT, from the
// Espenak-Meeus polynomials (good to a few seconds over 1950..2100; a parabola far from now).
double DeltaTSeconds(double daysFromJ2000Ut);

// The same instant in TT (treated as TDB; the difference is under 2 ms), days from J2000.0.
inline double TtDaysFromUt(double daysFromJ2000Ut) {
    return daysFromJ2000Ut + DeltaTSeconds(daysFromJ2000Ut) / 86400.0;
}

// c0 + c1 x + c2 x^2 + ...
double Poly(double x, std::initializer_list<double> coefficients);
