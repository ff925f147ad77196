// Feeds arbitrary bytes to the list reader as a .csv and as a file of no known ending, matches
// what it reads to a small store, and requires the matched objects to come back in the same
// order from their export in both formats.

#include "fuzzsupport.h"
#include "lists/listexport.h"
#include "lists/listfile.h"
#include "lists/listimport.h"
#include "lists/objectmatcher.h"
#include "objectlist/bodyrecords.h"
#include "sky/angles.h"

#include <QFileInfo>

namespace {

CatalogObject Object(const char* letter, const char* designation, double raHours, double decDeg,
                     const char* comment, int caldwell = 0) {
    CatalogObject o;
    o.Catalog = QString::fromLatin1(letter), o.Designation = QString::fromLatin1(designation);
    o.RA = raHours * PiValue / 180, o.Dec = decDeg * PiValue / 180, o.Mag = 5;
    o.Comment = QString::fromLatin1(comment), o.Caldwell = std::int16_t(caldwell);
    return o;
}

const ObjectStore& Store() {
    static const ObjectStore store = [] {
        ObjectStore s;
        s.objects = {Object("M", "M 31/NGC 224", 0.71, 41.3, "Andromeda Galaxy"),
                     Object("C", "NGC 869", 2.32, 57.1, "Double Cluster; 14'", 14),
                     Object("N", "NGC 224", 0.71, 41.3, "Galaxy"),
                     Object("I", "IC 434", 5.68, -2.4, "Bright Nebula")};
        s.MessierEnd = 1, s.ListedEnd = s.SacEnd = 2, s.NgcEnd = 3, s.IcEnd = s.ObjectCount = 4;
        AppendBodyRecords(s);
        return s;
    }();
    return store;
}

void ReadAs(const QString& fileName, const std::uint8_t* data, std::size_t size) {
    const QString path = WriteFuzzInput(fileName, data, size);
    KeptLists kept;
    const ListImportResult result = ImportListFile(path, Store(), kept);
    if (!result.ok) {
        FuzzCheck(result.error.contains(QFileInfo(path).fileName()),
                  "a refusal that does not name the file", result.error);
        FuzzCheck(kept.lists.empty(), "a refused file added a list");
        return;
    }
    FuzzCheck(!result.lists.empty(), "a file read without a list");
    for (const KeptList& list : kept.lists) {
        for (const char* exportName : {"back.csv", "back.skylist"}) {
            const QByteArray text =
                ListTextFor(QString::fromLatin1(exportName), Store(), list.objects);
            const QString back = WriteFuzzInput(QString::fromLatin1(exportName),
                                                reinterpret_cast<const std::uint8_t*>(text.data()),
                                                std::size_t(text.size()));
            KeptLists again;
            const ListImportResult reread = ImportListFile(back, Store(), again);
            FuzzCheck(reread.ok && again.lists.size() == 1 &&
                          again.lists[0].objects == list.objects,
                      "an export does not read back as the same objects", QString::fromUtf8(text));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadAs(QStringLiteral("list.csv"), data, size);
    ReadAs(QStringLiteral("list"), data, size);
    return 0;
}
