#pragma once

// A small store for the list tests: objects that several catalogues hold, a Caldwell pair, names
// and type texts, and the Moon and the planets behind them.

#include "objectlist/bodyrecords.h"
#include "support/objects.h"

inline CatalogObject Named(CatalogObject object, const char* comment, int caldwell = 0) {
    object.Comment = QString::fromUtf8(comment);
    object.Caldwell = std::int16_t(caldwell);
    return object;
}

inline void FillListStore(ObjectStore& store) {
    // clang-format off
    store.objects = {
        Named(MakeObject("M", "M 31/NGC 224", 0.712, 41.27, 3.4, "GX"), "Andromeda Galaxy"),
        Named(MakeObject("M", "M 42/NGC 1976", 5.588, -5.39, 4.0, "BN"), "Orion Nebula"),
        Named(MakeObject("M", "M 13/NGC 6205", 16.695, 36.46, 5.8, "GC"), "Globular Cluster"),
        Named(MakeObject("M", "M 3/NGC 5272", 13.703, 28.38, 6.2, "GC"), "Globular Cluster"),
        Named(MakeObject("M", "M 2/NGC 7089", 21.558, -0.82, 6.5, "GC"), "Globular Cluster"),
        Named(MakeObject("C", "NGC 869", 2.317, 57.13, 3.8, "OPNCL"), "Double Cluster; 14.4'", 14),
        Named(MakeObject("C", "NGC 884", 2.375, 57.15, 3.8, "OPNCL"), "chi Persei; 10.5'", 14),
        Named(MakeObject("H", "NGC 40", 0.217, 72.52, 10.7, "PLNNB"), "Bow-Tie Nebula; 0.8'", 2),
        Named(MakeObject("N", "NGC 224", 0.712, 41.27, 3.4, "GX"), "Galaxy"),
        Named(MakeObject("N", "NGC 869", 2.317, 57.13, 4.3, "OC"), "Open Cluster"),
        Named(MakeObject("N", "NGC 7000", 20.98, 44.33, 4.0, "BN"), "Bright Nebula"),
        Named(MakeObject("I", "IC 434", 5.683, -2.4, 7.3, "BN"), "Bright Nebula"),
    };
    // clang-format on
    store.MessierEnd = 5, store.ListedEnd = 8, store.SacEnd = 8, store.NgcEnd = 11;
    store.IcEnd = store.ObjectCount = 12;
    AppendBodyRecords(store);
}

// Store index of the first record with this designation (and letter, when given).
inline int IndexOf(const ObjectStore& store, const QString& designation, QChar letter = {}) {
    for (int i = 0; i < int(store.objects.size()); ++i) {
        const CatalogObject& o = store.objects[size_t(i)];
        if (o.Designation.TrimmedText() == designation &&
            (letter.isNull() || o.Catalog.At(0) == letter))
            return i;
    }
    return -1;
}

// The designations of store records, "-" for an index below 0.
inline QStringList Designations(const ObjectStore& store, const std::vector<int>& objects) {
    QStringList out;
    for (int index : objects)
        out << (index < 0 ? QStringLiteral("-")
                          : store.objects[size_t(index)].Designation.TrimmedText());
    return out;
}
