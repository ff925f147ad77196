#include "catalog/catalogfile.h"
#include "catalog/catalogreaders.h"
#include "catalog/readingrules.h"
#include "sky/angles.h"

namespace {

// The magnitude is read from column 19 up to column 25, the column before the right ascension
// hours. A wider span would let NumericValue, which skips blanks, run on into the right-ascension
// digits and append them to the magnitude as further decimals (8.4 would read as 8.40042), which
// would then fail a limiting magnitude of 8.4.
constexpr int kMagColumn = 19;
constexpr int kMagWidth = 7;

// Type text for the codes the Messier file uses; empty for any other code.
QString MessierTypeText(QStringView code) {
    if (code == u"GX") return QStringLiteral("Galaxy");
    if (code == u"GC") return QStringLiteral("Globular Cluster");
    if (code == u"OC") return QStringLiteral("Open Cluster");
    if (code == u"PN" || code == u"BN") return QStringLiteral("Nebula");
    if (code == u"MW") return QStringLiteral("Milky Way Patch");
    if (code == u"*2") return QStringLiteral("2 Stars");
    return {};
}

} // namespace

std::int16_t ReadMessierCatalog(ObjectStore& store, std::int16_t start, const QString& path) {
    CatalogFile file(path);
    int slot = start;
    QStringView line;
    while (file.NextLine(&line)) {
        if (Columns(line, 1, 3) != u"[ ]") continue;
        CatalogObject& object = file.Slot(store, slot);
        object.Catalog = QStringLiteral("M");

        QString name = QStringLiteral("M") + NumberText(NumericValue(Columns(line, 5, 3)));
        const double cross = NumericValue(Columns(line, 55, 4));
        // An "IC" mark wins even without a number behind it.
        if (Columns(line, 53, 2) == u"IC")
            name += QStringLiteral("/IC") + NumberText(cross);
        else if (cross > 0)
            name += QStringLiteral("/NGC") + NumberText(cross);
        object.Designation = name;

        object.TypeCode = Columns(line, 10, 2);
        object.RA = DegMinToRadians(file.WholeNumberAt(Columns(line, 26, 2)),
                                    NumericValue(Columns(line, 28, 4)));
        // The sign applies to the whole angle, so -0 deg 30 min stays south.
        object.Dec = DegMinToRadians(file.WholeNumberAt(Columns(line, 34, 2)),
                                     NumericValue(Columns(line, 36, 4)));
        if (Columns(line, 33, 1) == u"-") object.Dec = -object.Dec;
        object.Mag = NumericValue(Columns(line, kMagColumn, kMagWidth));

        const QString typeText = MessierTypeText(Columns(line, 10, 2));
        if (!typeText.isEmpty()) object.Comment = typeText;
        // A common name, even one of blanks only, replaces the type text.
        const QStringView commonName = FromColumn(line, 70);
        if (!commonName.isEmpty()) object.Comment = commonName;

        ++slot;
        ++store.ObjectCount;
    }
    return std::int16_t(slot);
}
