#pragma once

#include "state/appstate.h"

#include <QString>
#include <QStringList>

// The remembered choices at start-up and on their way back to the file.

// Start-up, before the catalogues: state.remembered from state.settingsPath (the first state
// when the path is empty or the file is missing or unreadable, the reason for the last in
// state.settingsReadError); the rows are checked later. Keys that were ignored are added to
// *ignored.
void ReadRememberedChoicesAtStart(AppState& state, QStringList* ignored);

// Start-up, once the catalogues are in the store: drops the remembered rows whose object is gone
// (noting them in *ignored) and puts the others into their rows of state.listSlots.
void RestoreRememberedRows(AppState& state, QStringList* ignored);

// Start-up, once the sites are read: the remembered site becomes the current one when a site of
// that name is still there (the first such); otherwise the primary site stays current.
void RestoreRememberedSite(AppState& state);

// The one line start-up writes to standard error about values it could not use; empty when
// there were none.
QString IgnoredValuesLine(const AppState& state, const QStringList& ignored);

// The picked rows of state.listSlots as they are remembered.
std::vector<RememberedRow> RememberedRowsOf(const AppState& state);

// Writes state.remembered to state.settingsPath (nothing to do when it is empty). False, with the
// reason in *error, when the file cannot be written or could not be read at start-up.
bool SaveRememberedChoices(const AppState& state, QString* error);

// What the observer is told, once, when the file could not be read at start-up.
QString UnreadableChoicesMessage(const AppState& state);

// A fresh start: the first state in state.remembered, and the file deleted so that the next
// start begins from the first state too.
void ForgetRememberedChoices(AppState& state);
