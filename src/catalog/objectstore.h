#pragma once

#include "catalog/fixedtext.h"

#include <cstdint>
#include <vector>

// One deep-sky object.
struct CatalogObject {
    // Catalogue letter: M Messier, H Herschel 400, C Caldwell, B Best NGC, S other SAC objects,
    // N NGC, I IC. A SAC line with unknown flags keeps it untouched and is never selected.
    FixedText<1> Catalog;
    // Shown name, e.g. "M 31/NGC 224", "NGC 224", "IC 342" or the name columns of a SAC line.
    FixedText<20> Designation;
    // Right ascension in hours times pi/180 (a fifteenth of the angle in radians).
    double RA = 0;
    // Declination in radians, negative to the south.
    double Dec = 0;
    // Visual magnitude as read.
    double Mag = 0;
    // Common name or notes; the type text when the file gives none.
    FixedText<70> Comment;
    // Object type of a SAC line exactly as given; untouched for the other catalogues.
    FixedText<5> SacType;
    // Two-letter type code of Messier, NGC and IC objects; untouched for SAC objects.
    FixedText<2> TypeCode;
    // 1-based position in the object chooser, 0 when not listed.
    std::int16_t ListPos = 0;
    // Caldwell number of a SAC object on the Caldwell list ("C 14" in its lists column), else 0.
    std::int16_t Caldwell = 0;
};

// Highest slot the store has while the catalogues are read.
constexpr std::int16_t kLastLoadingSlot = 25000;
// Room behind the Messier objects for the SAC objects on the Herschel 400, Caldwell and Best NGC
// lists; the other SAC objects start this many slots behind the Messier run.
constexpr std::int16_t kListedRunSlots = 500;

// The one table of deep-sky objects, filled in runs:
//   0 .. MessierEnd-1                 Messier
//   MessierEnd .. ListedEnd-1         SAC objects on one of the three lists (H, C, B)
//   ListedEnd .. MessierEnd+499       gap of untouched records
//   MessierEnd+500 .. SacEnd-1        other SAC objects (S)
//   SacEnd .. NgcEnd-1                NGC
//   NgcEnd .. IcEnd-1                 IC
//   IcEnd .. PlanetEnd-1              the Moon and the planets (letter P), when appended
struct ObjectStore {
    std::vector<CatalogObject> objects;
    std::int16_t MessierEnd = 0;
    std::int16_t ListedEnd = 0;
    std::int16_t SacEnd = 0;
    std::int16_t NgcEnd = 0;
    std::int16_t IcEnd = 0;
    // First slot after the Moon and the planets, which start-up appends behind the IC run; 0 while
    // the store holds none. Their records are not counted in ObjectCount.
    std::int16_t PlanetEnd = 0;
    // Number of objects stored by the readers (the gap not counted).
    std::int16_t ObjectCount = 0;
};

// Sizes the store to slots 0..kLastLoadingSlot, all untouched records.
void SizeStoreForLoading(ObjectStore& store);

// Shrinks the store to slots 0..count-1, keeping their contents.
void TrimStore(ObjectStore& store, std::int16_t count);
