#pragma once

#include "solarsystem/solarsystem.h"
#include "state/appstate.h"

#include <QString>

// The Moon and the seven planets as records of the object store, so that the selection, the
// chooser, the rows and the printed chart take them like any catalogue object. They are appended
// behind the IC run, with the catalogue letter "P" (the Planets box) and the type code "MO" for
// the Moon and "PL" for a planet. Unlike a catalogue record, a body record holds the place of the
// instant it was last placed at: whoever shows it places it again first. The Sun is no record:
// nobody is to be sent to point a telescope at it.

// Appends the eight records (Moon, Mercury .. Neptune) behind the last slot and sets PlanetEnd;
// a store that holds them already is left as it is. ObjectCount does not count them.
void AppendBodyRecords(ObjectStore& store);

// The body in store slot `storeIndex`, or -1 when the slot holds a catalogue object.
int BodyInSlot(const ObjectStore& store, int storeIndex);

// Writes a place into a body record: right ascension in the catalogue unit (a fifteenth of the
// radians), declination, magnitude rounded to a tenth, and as comment the lit part and the
// apparent diameter ("99% lit, 46\""). A place outside the theory's years leaves right
// ascension, declination and magnitude 0 and OutsideRangeText() as the comment.
void WriteBodyPlace(CatalogObject& record, const BodyPlace& place);

// Places the body in slot `storeIndex` at the observing instant of the sky state (one clock
// reading in Now mode) for the site held there. A catalogue record is left alone.
void PlaceBodyRecord(AppState& state, int storeIndex);
// Places all eight bodies at the observing instant: the Earth's place serves them all.
void PlaceBodyRecords(AppState& state);

// What rows, chooser lines and the chart show for a body at an instant the theory does not cover.
QString OutsideRangeText();
// True for a body record last placed outside the theory's years.
bool IsUnplacedBody(const CatalogObject& record);

// The 70 characters a body's chooser line shows behind its designation: type code, magnitude,
// lit part and diameter ("PL  mag -2.7  99% lit, 46\""), or the type code and
// OutsideRangeText().
QString BodyChooserText(const CatalogObject& record);
