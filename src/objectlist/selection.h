#pragma once

#include "state/appstate.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <vector>

// What the selection pass reads from the main window: the eight catalogue boxes, the two options
// and the limiting magnitude. The window turns the text of its magnitude field into magLimit
// (a text that is not a number counts as 0, like an empty field).
struct SelectionOptions {
    bool messier = false;  // letter M
    bool herschel = false; // letter H
    bool caldwell = false; // letter C
    bool bestNgc = false;  // letter B
    bool sac = false;      // letter S
    bool ngc = false;      // letter N
    bool ic = false;       // letter I
    bool planets = false;  // letter P: the Moon and the planets
    bool showAll = false;  // ignore the magnitude limit
    bool inViewOnly = false;
    double magLimit = 8.0;
    // The objects of the offered list (store indices in the list's order, -1 for an entry the
    // catalogues no longer hold), or null when its box is not ticked. They come first in the
    // chooser, in the list's order and each once, under the same magnitude and horizon tests;
    // the catalogue lines follow without them.
    const std::vector<int>* listObjects = nullptr;
};

// Everything one pass produces for the window. lines[k] is the chooser line of the object whose
// ListPos is k + 1: its 20-character designation followed by its 70-character comment.
struct SelectionResult {
    QStringList lines;
    std::int16_t chosen = 0;
    std::int16_t available = 0; // ObjectCount, and the eight bodies when they are ticked
    QString statsText;          // "<chosen> of <available> objects available."
    int lastSlotExamined = -1;  // highest store index whose ListPos was rewritten, -1 for none
};

// Walks the store from slot 0 to the end of the last run a ticked catalogue needs, rewrites the
// ListPos of every slot it examines and returns the chooser lines in store order. With
// inViewOnly, every object passing the catalogue and magnitude tests is placed at the current
// observing instant (the shared sky state is left holding the last object placed) and kept only
// when it stands above the site's horizon profile. Slots beyond the examined range keep their
// ListPos. The window owns the busy cursor and its own SelectionAge counter.
//
// With planets ticked, the Moon and the planets are placed first, once, at the pass's instant,
// and then meet the same magnitude and horizon tests; a body the theory cannot place at that
// instant is listed with OutsideRangeText() whatever the limit or the horizon.
SelectionResult SelectObjects(AppState& state, const SelectionOptions& options);

// The lines of every store record the chooser does not list (after a pass that examined slots
// up to lastSlotExamined): its chooser line, right-trimmed, followed by its box's name in
// brackets ("NGC 7000 ... (Herschel 400)"), in store order. The Moon and the planets are placed
// at the observing instant first.
struct UnlistedLines {
    QStringList lines;
    QVector<int> storeIndexes;
};
UnlistedLines UnlistedObjectLines(AppState& state, int lastSlotExamined);

// The caption of the box that offers records of a catalogue letter ("Messier", "Planets").
QString CatalogueBoxName(QChar letter);

// The objects of `list` (store indices) that pass the magnitude and horizon tests of `options`
// at the observing instant, in the list's order, each once. The Moon and planets among them are
// placed first.
std::vector<int> ListObjectsPassing(AppState& state, const SelectionOptions& options,
                                    const std::vector<int>& list);

// The count line shown under the list, e.g. "12 of 950 objects available.".
QString SelectionStatsText(std::int16_t chosen, std::int16_t available);
