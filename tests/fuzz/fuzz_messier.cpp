// Feeds arbitrary bytes to the Messier reader as messier.txt.

#include "catalog/catalogreaders.h"
#include "catalog/readingrules.h"
#include "fuzzsupport.h"

namespace {

void ReadFrom(ObjectStore& store, std::int16_t start, const QString& path) {
    store.ObjectCount = 0;
    std::int16_t end = 0;
    try {
        end = ReadMessierCatalog(store, start, path);
    } catch (const CatalogError& e) {
        CheckCatalogError(e, path);
        return;
    }
    FuzzCheck(end >= start && std::size_t(end) <= store.objects.size(),
              "the returned slot lies outside the store");
    FuzzCheck(store.ObjectCount == end - start, "ObjectCount differs from the slots filled");
    for (int slot = start; slot < end; ++slot) {
        const CatalogObject& object = store.objects[std::size_t(slot)];
        FuzzCheck(object.Catalog.Is(u"M"), "a Messier record without the letter M");
        FuzzCheck(object.Designation.Text().startsWith(QLatin1Char('M')),
                  "a Messier designation that does not begin with M", object.Designation.Text());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One store for the whole run: the readers only write the slots they fill.
    static ObjectStore store = [] {
        ObjectStore s;
        SizeStoreForLoading(s);
        return s;
    }();
    const QString path = WriteFuzzInput(MessierFileName(), data, size);
    ReadFrom(store, 0, path);                     // where start-up reads it
    ReadFrom(store, kLastLoadingSlot - 10, path); // close to the end: a full store within reach
    return 0;
}
