#include "catalog/catalogfile.h"
#include "catalog/catalogreaders.h"
#include "catalog/readingrules.h"
#include "sky/angles.h"

#include <QList>

namespace {

// The number of a "C n" entry in the lists column ("H IV 58, C 2, Best NGC"), 0 when none.
std::int16_t CaldwellNumber(QStringView lists) {
    for (QStringView entry : lists.split(u',')) {
        entry = entry.trimmed();
        if (!entry.startsWith(u"C ")) continue;
        bool ok = false;
        const int number = entry.mid(2).trimmed().toInt(&ok);
        if (ok && number > 0 && number < 1000) return std::int16_t(number);
    }
    return 0;
}

} // namespace

std::int16_t ReadSacDatabase(ObjectStore& store, std::int16_t start, const QString& path) {
    CatalogFile file(path);
    int listed = start;
    int other = start + kListedRunSlots;
    QStringView line;
    while (file.NextLine(&line)) {
        if (Columns(line, 2, 6) == u"OBJECT") continue; // header line
        // A line too short to reach the flag columns counts as flagged.
        const bool unflagged = Columns(line, 158, 3) == u"   ";
        int slot = other;
        if (!unflagged) {
            // The flagged run must not reach the first unflagged slot: a file that flags more
            // objects than the run holds is refused rather than overwriting records.
            if (listed >= start + kListedRunSlots)
                file.Fail(QStringLiteral("More than %1 objects are flagged for the Herschel 400, "
                                         "Caldwell and Best NGC lists.")
                              .arg(kListedRunSlots));
            slot = listed;
        }
        CatalogObject& object = file.Slot(store, slot);
        if (unflagged) {
            object.Catalog = QStringLiteral("S");
        } else {
            // Tested in the order B, C, H: the last match wins. No match leaves the letter
            // untouched, and such an object is never selected.
            if (Columns(line, 158, 1) == u"B") object.Catalog = QStringLiteral("B");
            if (Columns(line, 159, 1) == u"C") object.Catalog = QStringLiteral("C");
            if (Columns(line, 160, 1) == u"H") object.Catalog = QStringLiteral("H");
        }

        object.Designation = Columns(line, 2, 16);
        object.Caldwell = CaldwellNumber(Columns(line, 162, 52));
        object.Mag = NumericValue(Columns(line, 75, 4));
        object.SacType = Columns(line, 42, 5);
        object.RA = DegMinToRadians(file.WholeNumberAt(Columns(line, 56, 2)),
                                    NumericValue(Columns(line, 59, 4)));
        object.Dec = DegMinToRadians(file.WholeNumberAt(Columns(line, 67, 2)),
                                     NumericValue(Columns(line, 70, 2)));
        if (Columns(line, 66, 1) == u"-") object.Dec = -object.Dec;
        if (Columns(line, 214, 2) == u"  ")
            object.Comment = object.SacType.Text();
        else
            object.Comment = Columns(line, 214, 70);

        if (unflagged)
            ++other;
        else
            ++listed;
        ++store.ObjectCount;
    }
    store.ListedEnd = std::int16_t(listed);
    return std::int16_t(other);
}
