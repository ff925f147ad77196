#pragma once

// What a closed Location Editor did to the site table: which record it saved or deleted, if any.
struct SiteTableChange {
    enum class Kind { None, Saved, Deleted };
    Kind kind = Kind::None;
    int slot = -1;
};
