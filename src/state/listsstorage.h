#pragma once

#include "state/appstate.h"

#include <QString>

// The observing lists kept in state.listsPath (empty: none are read or written).

// Start-up, once the catalogues and the Moon and planets are in the store: reads the kept lists
// and finds their objects. A file that cannot be read is renamed to "<file>.damaged", so that
// nothing in it is lost and the next save cannot write over it; *error then says so and the
// program starts without lists.
bool LoadKeptListsAtStartup(AppState& state, QString* error);

// Writes state.lists atomically; false with the reason in *error.
bool SaveKeptLists(const AppState& state, QString* error);
