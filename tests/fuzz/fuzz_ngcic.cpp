// Feeds arbitrary bytes to the NGC and the IC reader; both read the same line format, so the two
// must agree on every input: the same records but for the letter and the designation prefix, or
// the same failure.

#include "catalog/catalogreaders.h"
#include "catalog/readingrules.h"
#include "fuzzsupport.h"

#include <vector>

namespace {

struct Outcome {
    bool ok = false;
    QString message;
    std::vector<CatalogObject> records;
};

template <typename Read>
Outcome ReadFrom(Read read, ObjectStore& store, std::int16_t start, const QString& path,
                 QStringView letter, const QString& prefix) {
    Outcome outcome;
    store.ObjectCount = 0;
    std::int16_t end = 0;
    try {
        end = read(store, start, path);
    } catch (const CatalogError& e) {
        CheckCatalogError(e, path);
        outcome.message = e.message();
        return outcome;
    }
    FuzzCheck(end >= start && std::size_t(end) <= store.objects.size(),
              "the returned slot lies outside the store");
    FuzzCheck(store.ObjectCount == end - start, "ObjectCount differs from the slots filled");
    for (int slot = start; slot < end; ++slot) {
        const CatalogObject& object = store.objects[std::size_t(slot)];
        FuzzCheck(object.Catalog.Is(letter), "a record with a foreign letter");
        FuzzCheck(object.Designation.Text().startsWith(prefix),
                  "a designation without the catalogue's prefix", object.Designation.Text());
        FuzzCheck(object.Mag > 0, "a record without a positive magnitude");
        outcome.records.push_back(object);
    }
    outcome.ok = true;
    return outcome;
}

QString NumberPart(const CatalogObject& object, int prefixLength) {
    return object.Designation.TrimmedText().mid(prefixLength);
}

void CompareReaders(ObjectStore& store, std::int16_t start, const QString& path) {
    const Outcome ngc = ReadFrom(ReadNgcCatalog, store, start, path, u"N", QStringLiteral("NGC"));
    const Outcome ic = ReadFrom(ReadIcCatalog, store, start, path, u"I", QStringLiteral("IC"));
    FuzzCheck(ngc.ok == ic.ok, "one reader fails where the other succeeds",
              ngc.message + ic.message);
    FuzzCheck(ngc.message == ic.message, "the readers fail with different messages");
    FuzzCheck(ngc.records.size() == ic.records.size(), "the readers store different counts");
    for (std::size_t i = 0; i < ngc.records.size(); ++i) {
        const CatalogObject& n = ngc.records[i];
        const CatalogObject& c = ic.records[i];
        // RA, Dec and Mag come from the same text through the same arithmetic, so they are
        // compared bit for bit (NaN never arises from a fixed-width field).
        FuzzCheck(NumberPart(n, 3) == NumberPart(c, 2) && n.TypeCode == c.TypeCode &&
                      n.Comment == c.Comment && n.RA == c.RA && n.Dec == c.Dec && n.Mag == c.Mag,
                  "the readers store different records", n.Designation.Text());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ObjectStore store = [] {
        ObjectStore s;
        SizeStoreForLoading(s);
        return s;
    }();
    const QString path = WriteFuzzInput(NgcFileName(), data, size);
    CompareReaders(store, 10000, path); // about where the SAC objects end at start-up
    CompareReaders(store, kLastLoadingSlot - 10, path);
    return 0;
}
