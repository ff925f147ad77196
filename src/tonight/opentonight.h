#pragma once

class QWidget;
struct AppState;

// The Tonight window of the main window: made on the first call, shown and raised on every call.
// It belongs to `owner` and closes with it.
QWidget* ShowTonightWindow(AppState& state, QWidget* owner);

// Brings an open Tonight window up to date with the program state (site, instant, rows); does
// nothing for a null or hidden window and costs little when nothing it shows has changed.
void RefreshTonightWindow(QWidget* window);
