#pragma once

#include "solarsystem/body.h"

// Brightness and phase of a body from two vectors in the J2000 equatorial frame, in au:
// fromSun points from the Sun to the body, fromObserver from the observer to the body.

// The phase angle in radians: the angle at the body between the Sun and the observer.
double PhaseAngle(const double fromSun[3], const double fromObserver[3]);

// Visual magnitude. The planets follow Mallama & Hilton (2018), the expressions of the
// Astronomical Almanac; the Moon the classic phase law scaled from its mean distance.
// centuriesTt (Julian centuries from J2000 TT) moves Saturn's pole and dates Neptune's brightening.
double VisualMagnitude(Body body, const double fromSun[3], const double fromObserver[3],
                       double centuriesTt);
