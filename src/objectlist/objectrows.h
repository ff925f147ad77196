#pragma once

#include "state/appstate.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// The object list: 22 rows, each bound to one ListSlots slot (1 + store index, 0 when free).
constexpr int ObjectListRowCount = ListRowCount;

// Header above the rows; its words sit over the columns of the row texts.
QString ObjectListHeader();

// Text a row shows right after it has been freed by a click.
QString FreedRowText();

// Result of one recomputation. For an occupied row, written is true and text holds the row; a
// free row is not written, so the window leaves whatever it shows (a freed row was blanked when
// it was freed, guide-star texts stay where no object sits).
// behindHorizon marks a written row whose object stands at or below the site's own horizon at
// its azimuth (the test of "In View Only").
struct ObjectListRows {
    std::array<QString, ObjectListRowCount> text;
    std::array<bool, ObjectListRowCount> written{};
    std::array<bool, ObjectListRowCount> behindHorizon{};
};

// Places every object in rows 0..21 at the current observing instant, in row order, and builds
// its row: name and type (15 characters), altitude, azimuth, magnitude, comment. The Moon and the
// planets are placed afresh for the row first. The shared sky state is left holding the last row
// computed. Free rows are skipped.
ObjectListRows ShowObjectList(AppState& state);

// The row text of one store record at the altitude and azimuth given (radians).
QString ObjectRowText(const CatalogObject& object, double altitude, double azimuth);
// The row of a body the theory cannot place: OutsideRangeText() where altitude and azimuth
// stand, no magnitude, no comment; as long as a row with a 4-character magnitude.
QString UnplacedBodyRowText(const CatalogObject& object);

// What a pick in the chooser did.
enum class PickOutcome {
    NoEntry,       // no chooser entry selected (index < 0) or no record carries that ListPos
    Stored,        // the object went into the first free row
    AlreadyListed, // the object already has a row and no free row comes before it
    ListFull,      // all 22 rows are in use by other objects
};

struct PickResult {
    PickOutcome outcome = PickOutcome::NoEntry;
    int storeIndex = -1; // record found for the entry, -1 for none
    int row = -1;        // row stored into, or the row already showing it; -1 otherwise
};

// The chooser pick: finds the first record whose ListPos is entryIndex + 1, then scans rows
// 0..21 for either that object (stop, nothing stored) or a free row (store it there). The window
// recomputes the rows afterwards in every case.
PickResult PickChooserEntry(AppState& state, int entryIndex);

// "Put in rows": the objects (store indices, in order) go into the free rows 0..21, first object
// into the first free row; an object that already has a row is passed over. Returns how many
// were stored; the objects left over when the rows are full are not stored.
int PutObjectsInFreeRows(AppState& state, const std::vector<int>& objects);

// A click on row 0..21 frees its slot; the window then shows FreedRowText() in the row. Rows
// outside 0..21 are ignored.
void FreeListRow(AppState& state, int row);

// Puts store record `storeIndex` into the first free row, unless it already has a row before
// any free one (the pick rule of the chooser).
PickResult PickStoreObject(AppState& state, int storeIndex);
// Puts a freed object back: into `row` when that row is still free, else into the first free
// row. The row used, or -1 when every row is taken.
int PutBackFreedObject(AppState& state, int row, std::int16_t slotValue);
