// Feeds arbitrary bytes to the SAC reader as Sac72.txt.

#include "catalog/catalogreaders.h"
#include "catalog/readingrules.h"
#include "fuzzsupport.h"

namespace {

void ReadFrom(ObjectStore& store, std::int16_t start, const QString& path) {
    store.ObjectCount = 0;
    store.ListedEnd = -1;
    // A flagged line that matches no flag leaves the letter as it was; clear the run's letters so
    // that only what this input stores is seen.
    for (int slot = start; slot < start + kListedRunSlots; ++slot)
        store.objects[std::size_t(slot)].Catalog = FixedText<1>();
    std::int16_t end = 0;
    try {
        end = ReadSacDatabase(store, start, path);
    } catch (const CatalogError& e) {
        CheckCatalogError(e, path);
        return;
    }
    const int otherStart = start + kListedRunSlots;
    FuzzCheck(store.ListedEnd >= start && store.ListedEnd <= otherStart,
              "the flagged run leaves its room", QString::number(store.ListedEnd));
    FuzzCheck(end >= otherStart && std::size_t(end) <= store.objects.size(),
              "the returned slot lies outside the unflagged run");
    FuzzCheck(store.ObjectCount == (store.ListedEnd - start) + (end - otherStart),
              "ObjectCount differs from the slots filled");
    for (int slot = start; slot < store.ListedEnd; ++slot) {
        const FixedText<1>& letter = store.objects[std::size_t(slot)].Catalog;
        FuzzCheck(letter.Is(u"B") || letter.Is(u"C") || letter.Is(u"H") || letter.IsUnset(),
                  "a flagged record with a foreign letter", letter.Text());
    }
    for (int slot = otherStart; slot < end; ++slot)
        FuzzCheck(store.objects[std::size_t(slot)].Catalog.Is(u"S"),
                  "an unflagged record without the letter S");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ObjectStore store = [] {
        ObjectStore s;
        SizeStoreForLoading(s);
        return s;
    }();
    const QString path = WriteFuzzInput(SacFileName(), data, size);
    ReadFrom(store, 110, path); // behind the Messier objects, as at start-up
    // Room for ten unflagged objects only, so a full store is within reach of short inputs.
    ReadFrom(store, kLastLoadingSlot - kListedRunSlots - 9, path);
    return 0;
}
