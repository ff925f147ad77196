#include "catalog/catalogfile.h"
#include "catalog/catalogreaders.h"
#include "catalog/readingrules.h"
#include "sky/angles.h"

#include <cstdlib>

namespace {

struct TypeRow {
    double number;
    const char16_t* code;
    const char16_t* text;
};

// Object type numbers of the revised NGC and IC files.
constexpr TypeRow kTypes[] = {
    {1, u"GX", u"Galaxy"},       {2, u"SN", u"Super Nova"},       {3, u"PN", u"Nebula"},
    {4, u"OC", u"Open Cluster"}, {5, u"GC", u"Globular Cluster"}, {6, u"Gp", u"Part of Galaxy"},
    {7, u"Dp", u"Duplicate"},    {8, u"Dp", u"Duplicate"},        {9, u"St", u"Star(s)"},
    {10, u"NF", u"Not Found"},
};

// (whole + minutes / 60) in radians for a non-negative whole of up to 32768 degrees.
double PositiveDegMinToRadians(int whole, double minutes) {
    if (whole > 32767) // |-32768|: move one degree into the minutes
        return DegMinToRadians(std::int16_t(whole - 1), minutes + 60.0);
    return DegMinToRadians(std::int16_t(whole), minutes);
}

std::int16_t ReadRevisedCatalog(ObjectStore& store, std::int16_t start, const QString& path,
                                const QString& letter, const QString& prefix) {
    CatalogFile file(path);
    int slot = start;
    QStringView line;
    while (file.NextLine(&line)) {
        const double mag = NumericValue(Columns(line, 41, 4));
        if (!(mag > 0)) continue; // header, blank line or an object without a magnitude
        CatalogObject& object = file.Slot(store, slot);
        object.Catalog = letter;
        object.Designation = prefix + NumberText(NumericValue(Columns(line, 1, 4)));

        const double type = NumericValue(Columns(line, 8, 2));
        for (const TypeRow& row : kTypes) {
            if (row.number == type) {
                object.TypeCode = QStringView(row.code);
                object.Comment = QStringView(row.text);
                break;
            }
        }

        const std::int16_t hours = file.WholeNumberAt(Columns(line, 18, 2));
        object.RA = DegMinToRadians(hours, NumericValue(Columns(line, 21, 2)) +
                                               NumericValue(Columns(line, 24, 4)) / 60.0);
        // The sign stands with the degrees but covers minutes and seconds too.
        const QStringView degreeField = Columns(line, 29, 3);
        const int degrees = std::abs(int(file.WholeNumberAt(degreeField)));
        object.Dec =
            PositiveDegMinToRadians(degrees, NumericValue(Columns(line, 33, 2)) +
                                                 NumericValue(Columns(line, 36, 4)) / 60.0);
        if (degreeField.contains(u'-')) object.Dec = -object.Dec;
        object.Mag = mag;

        ++store.ObjectCount;
        ++slot;
    }
    return std::int16_t(slot);
}

} // namespace

std::int16_t ReadNgcCatalog(ObjectStore& store, std::int16_t start, const QString& path) {
    return ReadRevisedCatalog(store, start, path, QStringLiteral("N"), QStringLiteral("NGC"));
}

std::int16_t ReadIcCatalog(ObjectStore& store, std::int16_t start, const QString& path) {
    return ReadRevisedCatalog(store, start, path, QStringLiteral("I"), QStringLiteral("IC"));
}
