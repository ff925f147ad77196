#pragma once

#include "state/appstate.h"

class QWidget;

// Creates the main window over the loaded state and shows it (not modal). The window deletes
// itself when closed.
QWidget* OpenMainWindow(AppState& state);
