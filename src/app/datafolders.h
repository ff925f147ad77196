#pragma once

#include "state/appstate.h"

// The program reads its data files from its own folder, wherever it is installed (a launcher in
// bin/ links to it). Sites fall back to a copy in the user's data folder ($XDG_DATA_HOME/zenitor,
// by default ~/.local/share/zenitor) when the program folder's locations.txt cannot be
// written; see LocationsWritePath. The remembered choices are kept in RememberedChoicesPath(),
// the imported observing lists in lists.json in the user's data folder.
// Needs the application object and its name.
void UseProgramDataFolders(AppState& state);
