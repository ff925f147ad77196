#pragma once

#include <vector>

// Placeholder; the catalogue code defines the object record and the store.
struct CatalogObject {};
struct ObjectStore {
    std::vector<CatalogObject> objects;
};
