#include "catalog/objectstore.h"

void SizeStoreForLoading(ObjectStore& store) {
    store.objects.assign(std::size_t(kLastLoadingSlot) + 1, CatalogObject{});
}

void TrimStore(ObjectStore& store, std::int16_t count) {
    const std::size_t n = count < 0 ? 0 : std::size_t(count);
    if (n < store.objects.size()) store.objects.resize(n);
    store.objects.shrink_to_fit();
}
