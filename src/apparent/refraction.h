#pragma once

// Atmospheric refraction for the one weather the program assumes everywhere: 10 degrees C,
// 1010 hPa, 50 % relative humidity, light of 0.55 micrometres (a site has no height and no
// weather of its own).
//
// From 3.5 degrees up it is ERFA's A tan z + B tan^3 z model for that weather, the model the
// common astronomy libraries apply, so the rows agree with them there. Low down, where that model
// falls apart (it gives 1' instead of 35' at the horizon), the published low-altitude formula of
// Saemundsson (Sky & Telescope 72, 1986), made for the same 10 degrees C and 1010 hPa, rules below
// 2.5 degrees; in between the two are blended. Under the horizon refraction
// is uncertain: for objects that would appear lower than -1 degree it fades out over the next
// degree of true altitude, so that far below the horizon the true altitude is shown, and the shown
// altitude keeps rising with the true one.

// By how much an object at the true (unrefracted) altitude appears higher, in radians; 0 for a
// value that is not finite.
double RefractionAt(double trueAltitudeRad);

inline double RefractedAltitude(double trueAltitudeRad) {
    return trueAltitudeRad + RefractionAt(trueAltitudeRad);
}
