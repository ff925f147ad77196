#pragma once

#include "catalog/objectstore.h"
#include "sky/siteclock.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

// One picked row, kept by what it shows rather than by a store slot, so that a row survives a
// change of the catalogue files as long as its object is still in them.
struct RememberedRow {
    int row = 0;         // 0..21, top row first
    QChar catalog;       // the record's catalogue letter
    QString designation; // the record's designation without its trailing blanks

    friend bool operator==(const RememberedRow& a, const RememberedRow& b) {
        return a.row == b.row && a.catalog == b.catalog && a.designation == b.designation;
    }
};

// What the observer chose and finds again at the next start. A default-made value is the
// program's first state: Messier and In View Only ticked, the limit at 8.0, no rows, day colours,
// the print dialog's own defaults and every window centred. The observing time is not kept: a new
// start follows the clock.
struct RememberedChoices {
    // The catalogue boxes.
    bool messier = true;
    bool herschel = false;
    bool caldwell = false;
    bool bestNgc = false;
    bool sac = false;
    bool ngc = false;
    bool ic = false;
    bool planets = false;
    bool showAll = false;
    bool inViewOnly = true;
    // The limiting magnitude in tenths, 0..200 as on the magnitude scroll bar.
    int magnitudeTenths = 80;
    // In row order, at most one per row.
    std::vector<RememberedRow> rows;
    bool nightDisplay = false;
    // The name of the site last picked; empty (or a name no site has any more): the primary site.
    QString site;
    // Positions are the apparent place of the instant ("Precise") rather than the quick formulas.
    bool precise = false;
    // The print dialog. An empty printer, an invalid start or stop, a step of 0 or an empty
    // folder leave the dialog's own choice. Start and stop are civil times of the site, as the
    // program keeps them (Qt::UTC values used as plain calendar values).
    QString printer;
    CivilTime printStart;
    CivilTime printStop;
    qint64 printStepMinutes = 0;
    QString pdfFolder;
    // Where each window stood (see the kit's WindowPlace), by the window's object name.
    std::map<QString, QRect> windowPlaces;

    friend bool operator==(const RememberedChoices& a, const RememberedChoices& b);
    friend bool operator!=(const RememberedChoices& a, const RememberedChoices& b) {
        return !(a == b);
    }
};

// The remembered place of a window by its object name; an empty rectangle when there is none.
inline QRect RememberedPlace(const RememberedChoices& choices, const QString& window) {
    const auto found = choices.windowPlaces.find(window);
    return found == choices.windowPlaces.end() ? QRect() : found->second;
}

// Longest print step that is kept, in minutes (as long as the print dialog takes).
constexpr qint64 kLongestRememberedStep = 100000000;

// The file the choices are kept in: zenitor/zenitor.conf in the user's configuration folder
// (UserConfigFolder), in QSettings' INI format.
QString RememberedChoicesPath();

// Reads the choices from the text of their file. Every value is checked on its own: one that is
// missing keeps its first-state value silently; one that is there but does not read cleanly (not
// a plain text of the expected kind, a number out of range, a row that names no object of
// `store`) keeps its first-state value and its key ("selection/limitingMagnitude", "rows/5") is
// added to *ignored, as is every key the program does not know. A damaged line is left out and
// named as "line 3" (see ReadIniText), so that it cannot take other lines with it. Without a
// store (nullptr) rows are checked for their form only; DropMissingRows checks them later.
RememberedChoices ReadRememberedChoicesText(const QByteArray& text, const ObjectStore* store,
                                            QStringList* ignored);
// The same from the file at `path`, read whole into memory. A missing or empty file gives the
// first state. So does a file that is there but cannot be read, with the reason in *readError
// (left alone otherwise): such a file must not be saved over.
RememberedChoices ReadRememberedChoices(const QString& path, const ObjectStore* store,
                                        QStringList* ignored, QString* readError = nullptr);

// The store record a row names, -1 when there is none (the first one when several match).
int FindRememberedRow(const RememberedRow& row, const ObjectStore& store);

// Drops the rows whose object `store` does not hold, naming each in *ignored. Returns the store
// index of each row kept, in the rows' order.
std::vector<int> DropMissingRows(RememberedChoices& choices, const ObjectStore& store,
                                 QStringList* ignored);

// Replaces the file with the choices (making its folder when missing). QSettings writes them to
// "<path>.new" (itself through a file of its own, synced to the disk and renamed), which is then
// renamed over the old file, so the file on disk is always a whole old or a whole new one. When
// `path` is a symbolic link, the file it leads to is replaced and the link kept. False,
// with the reason in *error, when the file or its folder cannot be written.
bool WriteRememberedChoices(const QString& path, const RememberedChoices& choices, QString* error);
