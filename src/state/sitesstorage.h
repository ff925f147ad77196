#pragma once

#include "state/appstate.h"

#include <QString>

// Where the sites are kept. The locations.txt of the data directory (the program's own folder),
// as long as this user can replace it. When it cannot (the program installed for all users), the
// user's own copy in state.userDataDir takes its place: start-up reads it when it exists (else
// the program's copy), and the first Save or Delete creates it from the table in memory.
QString LocationsReadPath(const AppState& state);
QString LocationsWritePath(const AppState& state);

// Reads the locations file (LocationsReadPath) into state.sites and state.locationsHeaders. Sets
// the current site index to -1 and the observer position to latitude 0, longitude 0 first, then
// the current site index to the last primary site. On failure (file missing or unreadable, a bad
// line) returns false with a message naming the file and the reason; the table and headers are
// then left as they were.
bool ReadLocations(AppState& state, QString* error);

// The start-up step "Loading Locations": ReadLocations; a false result ends the program.
bool LoadLocationsAtStartup(AppState& state, QString* error);

// Replaces the locations file (LocationsWritePath; the user's data folder is made when missing)
// with state.sites and the two header lines. The new content goes to a temporary file in the same
// directory that is then renamed over the old one, so on any failure (read-only file or directory,
// full disk, a crash mid-write) the previous file stays as it was. Returns false with the file name
// (or the user's data folder that could not be made) and the operating system's reason on failure;
// the table in memory is not touched either way.
bool WriteLocations(const AppState& state, QString* error);
