#pragma once

#include "state/appstate.h"

#include <QString>
#include <functional>

class LoadingWindow;

// Called after each status message has been painted; lets a test look at the window mid-load.
using StartupStepHook = std::function<void(LoadingWindow&)>;

// Start-up: opens the Loading window, sets the observing time to the clock, reads the sites and
// the Messier, SAC, NGC and IC catalogues from state.dataDir into state, trims the store and
// enables the window's buttons. Returns the open Loading window (it deletes itself when closed).
// On a failure the window is closed, *error holds the message for the user and the result is
// nullptr.
LoadingWindow* RunStartup(AppState& state, QString* error, const StartupStepHook& afterStatus = {});
