#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>

// One value of an INI file as QSettings writes it, with its quotes and escapes resolved.
struct IniValue {
    enum Kind {
        Text, // a plain text ("@@x" stands for "@x")
        List, // texts separated by commas; `text` holds the whole value as written
        Typed // "@Rect(...)" and the like: `text` holds it whole, to be read by its user
    };
    Kind kind = Text;
    QString text;
    int line = 0; // 1-based
};

// The values by their whole key: "catalogues/messier", "rows/3/catalog" (a key written
// "3\catalog" under [rows]); keys before any section, or under [General], have no section part.
using IniValues = std::map<QString, IniValue>;

// Reads the text of an INI file from memory, one line at a time, so that a damaged line costs
// only itself: a line this reader cannot take whole (bytes that are not UTF-8, control
// characters, an unmatched quote, a trailing backslash that would continue it, a key of
// characters QSettings never writes) is left out and named in *damaged as "line 3". A section
// header whose name can still be made out ("[selection" or "[selection]x") is reported in the
// same way but still opens its section; under a header that cannot be made out every line is
// reported, as its keys belong nowhere. A key given twice keeps its later value (the earlier
// line is reported). A UTF-8 byte-order mark at the start is skipped; lines end at LF, CR LF or
// a lone CR; a line starting with ';' is a comment.
IniValues ReadIniText(const QByteArray& text, QStringList* damaged);
