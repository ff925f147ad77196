#pragma once

#include "sky/clock.h"
#include "sky/siteclock.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QTimeZone>
#include <cstdint>
#include <memory>

class ApparentSkyCache;

// The one record every sky computation reads and writes: the observing instant, the site's
// position and clock, and the values left by the last position computed.
struct SkyState {
    // The instant the user typed, as the site's civil time: neither the computer's time zone nor
    // its daylight rules can shift it. Until a time is typed it holds the day count zero of this
    // program, 2000-01-01 12:00:00.
    CivilTime ObservingTime{QDate(2000, 1, 1), QTime(12, 0)};
    // True while the observing instant follows the clock.
    bool UseNow = false;

    double ObserverLatitude = 0.0;  // radians, north positive
    double ObserverLongitude = 0.0; // radians, east positive
    std::int16_t SiteTimeZone = 0;  // whole hours from GMT, west negative
    bool SiteDaylight = false;      // daylight saving time in force at the site
    // The site's clock: its named zone's rules, or SiteTimeZone plus the daylight hour. Every
    // turn between civil time and UTC asks it.
    SiteClock siteClock;

    // Left by the last altitude computation.
    double DaysFromJ2000 = 0.0;  // days from 2000-01-01 12:00:00 UT
    double UniversalHours = 0.0; // UT time of day, 0..24 inclusive
    double SiderealAngle = 0.0;  // local sidereal time, radians, not reduced to one turn

    double TargetRightAscension = 0.0; // radians
    double TargetDeclination = 0.0;    // radians
    double TargetHourAngle = 0.0;      // radians, last computed
    double TargetAltitudeValue = 0.0;  // radians, last computed
    double TargetAzimuthValue = 0.0;   // radians from north through east, last computed

    // "Precise": altitude and azimuth are the apparent place of the instant at the site
    // (precession, nutation, aberration, refraction) instead of the quick formulas. Catalogue
    // positions stay J2000; within the years 1000..3000 only, the quick formulas serve outside.
    bool Precise = false;
    // The last altitude was computed as the apparent place, and with it the azimuth.
    bool TargetPrecise = false;
    // The skies of the instants lately placed at, made on first use and shared by copies.
    std::shared_ptr<ApparentSkyCache> apparentSkies;

    // Where "Now" readings come from; tests put a FixedClock here.
    std::shared_ptr<Clock> clock = std::make_shared<SystemClock>();
    // The computer's own time-zone rules. Consulted only to tell whether the tick of a site
    // without a zone name is stale (see CheckDaylightTick), and to propose a new site's zone
    // name; tests set a zone of their own.
    QTimeZone computerZone = QTimeZone::systemTimeZone();
};
