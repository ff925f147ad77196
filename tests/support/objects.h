#pragma once

// Objects written in code for the tests of the selection, the rows and the windows.

#include "catalog/objectstore.h"
#include "sky/angles.h"

#include <QByteArray>

inline CatalogObject MakeObject(const char* letter, const char* designation, double raHours,
                                double decDeg, double mag, const char* type = "GX") {
    CatalogObject o;
    o.Catalog = QString::fromLatin1(letter), o.Designation = QString::fromLatin1(designation);
    o.RA = raHours * PiValue / 180.0, o.Dec = decDeg * PiValue / 180.0, o.Mag = mag;
    o.Comment = QStringLiteral("comment of ") + QString::fromLatin1(designation);
    const QString t = QString::fromLatin1(type); // SAC records keep their own type field
    QByteArray("HCBS").contains(letter[0]) ? void(o.SacType = t) : void(o.TypeCode = t);
    return o;
}

// At latitude 45 north objects at declination +89 stay above a flat horizon, those at -89
// (2, 8) never rise; 0 is fainter than 8.0, 7 exactly at it.
inline void FillStore(ObjectStore& store) {
    // clang-format off
    store.objects = {
        MakeObject("M", "M 1", 5.5, 89, 8.4, "SN"), MakeObject("M", "M 2", 21.5, 89, 6.5, "GC"),
        MakeObject("M", "M 3", 13.7, -89, 6.2, "GC"), MakeObject("H", "NGC 40", 0.2, 89, 10.7, "PLNNB"),
        MakeObject("C", "C 1", 0.7, 89, 8.1, "OPNCL"), MakeObject("S", "NGC 50", 0.2, 89, 12.0, "GALXY"),
        MakeObject("N", "NGC 7000", 20.9, 89, 4.0, "OC"), MakeObject("N", "NGC 7001", 21.0, 89, 8.0, "GX"),
        MakeObject("N", "NGC 7002", 21.1, -89, 5.0, "GX"), MakeObject("I", "IC 1", 0.1, 89, 7.0, "GX")};
    // clang-format on
    store.MessierEnd = 3, store.ListedEnd = 5, store.SacEnd = 6, store.NgcEnd = 9;
    store.IcEnd = store.ObjectCount = 10;
}
