#pragma once

#include "startup/appstate.h"

#include <QDialog>

// Stands in for the location editor until it is part of the program. It can neither change nor
// save a site; it only says so.
class PlaceholderLocationDialog : public QDialog {
    Q_OBJECT
public:
    PlaceholderLocationDialog(AppState& state, int slot, bool isNew, QWidget* parent = nullptr);
};

// Shows the stand-in modally on record `slot`. Because it cannot save, a new site's empty record
// appended by New Location is removed again when it closes (whichever way it is closed), so no
// nameless all-zero site is left in the table to be written with the next save. Returns when the
// dialog has closed.
void RunPlaceholderLocationEditor(AppState& state, int slot, bool isNew, QWidget* parent);
