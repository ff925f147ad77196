#pragma once

#include "catalog/objectstore.h"

#include <QByteArray>
#include <QString>
#include <vector>

// An object of a kept list, by its catalogue letter and designation (as the remembered rows
// are), so that the list survives a change of the catalogue files for the objects still there.
struct KeptEntry {
    QString catalog;
    QString designation;
};

struct KeptList {
    QString name;
    std::vector<KeptEntry> entries;
    // The store index of each entry, -1 where the catalogues no longer hold it; filled by
    // ResolveKeptLists.
    std::vector<int> objects;
};

// The lists the observer imported, which one the chooser offers and whether its box is ticked.
struct KeptLists {
    std::vector<KeptList> lists;
    int offered = -1; // index into lists, -1 for none
    bool ticked = false;

    const KeptList* offeredList() const {
        return offered >= 0 && offered < int(lists.size()) ? &lists[size_t(offered)] : nullptr;
    }
};

// The entry that stands for store record `index`.
KeptEntry EntryFor(const ObjectStore& store, int index);
// Fills the objects of every list from its entries.
void ResolveKeptLists(const ObjectStore& store, KeptLists& kept);

// `name`, or with " (2)", " (3)" ... behind it when a kept list has that name already.
QString UniqueListName(const KeptLists& kept, const QString& name);

// The file the lists are kept in: lists.json in the user's data folder.
QString KeptListsPath(const QString& userDataDir);

// The kept lists as JSON and back. Parsing fails (with the reason) on a file of another shape.
QByteArray KeptListsJson(const KeptLists& kept);
bool ParseKeptLists(const QByteArray& json, KeptLists* kept, QString* error);

// Reads the kept lists; a missing file gives none. On failure *kept is left empty and *error
// names the file and the reason.
bool ReadKeptLists(const QString& path, KeptLists* kept, QString* error);
// Writes them beside the old file and renames the new one over it, so the file on disk is always
// a whole old or a whole new one; makes the folder when it is missing.
bool WriteKeptLists(const QString& path, const KeptLists& kept, QString* error);
// The same write for any file the lists go to (exports).
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error);
