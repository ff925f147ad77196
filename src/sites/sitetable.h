#pragma once

#include <vector>

// Placeholder; the sites code defines the record.
struct SiteLocation {};
using SiteTable = std::vector<SiteLocation>;
