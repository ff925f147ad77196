#pragma once

#include "catalog/objectstore.h"
#include "lists/keptlists.h"
#include "settings/rememberedchoices.h"
#include "sites/sitetable.h"
#include "sky/clock.h"
#include "sky/horizon.h"
#include "sky/skystate.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

// The 22 rows of the object list use slots 0..21; a slot holds 1 + the store index, 0 when free.
using ListSlots = std::array<std::int16_t, 31>;
constexpr int ListRowCount = 22;

// Everything the running program shares between its windows. Start-up fills one instance and
// hands it to the windows; a test builds a fresh one for each case.
struct AppState {
    ObjectStore store;
    SiteTable sites;
    LocationsHeaders locationsHeaders;
    // Why the sites' time-zone names could not be read, for the status line to say once; empty
    // when they were read.
    QString zoneNamesNotice;
    std::int16_t currentSiteIndex = 0;
    SkyState sky;
    HorizonProfile horizon{};
    ListSlots listSlots{};

    // Directory the data files are read from and locations.txt is written to.
    QString dataDir;
    // The user's own data folder. It holds the user's copy of locations.txt when the one in
    // dataDir cannot be written (the program installed for all users); empty: no such copy.
    QString userDataDir;
    // Whether this user can replace a file; empty: ask the file system. Tests answer "no" here
    // for a read-only folder, since root writes through read-only permissions.
    std::function<bool(const QString& path)> canReplaceFile;

    // The observer's choices kept from one run to the next: start-up reads them from
    // settingsPath, the windows start from them and keep them up to date as they change.
    RememberedChoices remembered;
    // The file they are kept in; empty: nothing is read or written (a test's state).
    QString settingsPath;
    // Why that file could not be read at start-up; while set the file is never written, as it
    // may still hold the observer's choices.
    QString settingsReadError;

    // The observing lists the observer imported, and the file they are kept in (empty: a test's
    // state, nothing is read or written).
    KeptLists lists;
    QString listsPath;
};

void SetCurrentSiteIndex(AppState& state, std::int16_t value);
std::int16_t GetCurrentSiteIndex(const AppState& state);
