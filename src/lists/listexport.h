#pragma once

#include "catalog/objectstore.h"

#include <QByteArray>
#include <QString>
#include <vector>

// Writes objects of the store (store indices, in order) as list files that the import reads
// back as the same objects in the same order. Lines end in CR LF.

// A .skylist: the version line, then a block for each object with its common name and
// designations.
QByteArray SkyListText(const ObjectStore& store, const std::vector<int>& objects);

// CSV with the header Name,Designation,RA_J2000_h,Dec_J2000_deg,Magnitude,Type.
QByteArray CsvListText(const ObjectStore& store, const std::vector<int>& objects);

// The text for `path`: CSV for a name ending in .csv, a .skylist otherwise.
QByteArray ListTextFor(const QString& path, const ObjectStore& store,
                       const std::vector<int>& objects);
