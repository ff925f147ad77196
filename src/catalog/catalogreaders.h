#pragma once

#include "catalog/objectstore.h"

#include <QString>
#include <cstdint>

// File names of the catalogues in the data directory.
inline QString MessierFileName() {
    return QStringLiteral("messier.txt");
}
inline QString SacFileName() {
    return QStringLiteral("Sac72.txt");
}
inline QString NgcFileName() {
    return QStringLiteral("revngc.txt");
}
inline QString IcFileName() {
    return QStringLiteral("revic.txt");
}

// Each reader fills consecutive slots of the store from start, adds every object it stores to
// store.ObjectCount and returns the first free slot behind its objects. Failures (missing or
// unreadable file, a whole-number field outside -32768..32767, a slot beyond the store) throw
// CatalogError with a message that names the file and line.

// Object lines begin with "[ ]"; letter "M", designation "M 31/NGC 224".
std::int16_t ReadMessierCatalog(ObjectStore& store, std::int16_t start, const QString& path);

// Objects flagged B, C or H (columns 158..160) go from start upwards, the others from start + 500
// upwards; sets store.ListedEnd and returns the end of the unflagged run.
std::int16_t ReadSacDatabase(ObjectStore& store, std::int16_t start, const QString& path);

// Lines with a positive magnitude in columns 41..44; letters "N" and "I", "NGC 224", "IC 342".
std::int16_t ReadNgcCatalog(ObjectStore& store, std::int16_t start, const QString& path);
std::int16_t ReadIcCatalog(ObjectStore& store, std::int16_t start, const QString& path);
