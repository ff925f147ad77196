#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// One line of an observing list as read from a file, before it is matched to the store.
struct ListLine {
    // Where it stands: the line number in the file (the first line of a .skylist block), or the
    // entry's number in a JSON list.
    int number = 0;
    // The line as the report shows it.
    QString text;
    // The designations and names it gives, the most telling first ("M 31", "NGC 224",
    // "Andromeda Galaxy").
    QStringList names;
    // The object's type as a CSV file gives it ("GALXY", "GX"); empty when none is given.
    QString type;
    // The position a CSV line gives: J2000 right ascension in hours and declination in degrees.
    bool hasPosition = false;
    double raHours = 0;
    double decDegrees = 0;
};

// One list of a file: a JSON file may hold several, the other formats one.
struct ReadList {
    QString name;
    // "entry" where numbers count entries rather than lines (JSON).
    QString numberWord = QStringLiteral("line");
    std::vector<ListLine> lines;
};

struct ListFileContent {
    QString format; // "skylist", "CSV", "JSON" or "text"
    std::vector<ReadList> lists;
    // Said about the file as a whole, e.g. that it was read as Latin-1.
    QStringList notes;
};

// Lists larger than this are refused unread: a list of a few thousand objects is well under it.
constexpr qint64 kMaxListFileBytes = 5 * 1024 * 1024;

// Reads the list file at `path`, telling its format by its content (a CSV file also by its
// extension). False, with a message that names the file and the reason in *error, for a file
// that cannot be read, is too large, is not text, is empty, or holds no list of a known shape.
bool ReadListFile(const QString& path, ListFileContent* content, QString* error);

// The same for bytes already read; `path` names the file in messages and gives the list its
// name where the file gives none.
bool ParseListBytes(const QByteArray& bytes, const QString& path, ListFileContent* content,
                    QString* error);

// The parsers ParseListBytes chooses between, on text already decoded. Each returns false with
// the reason (without the file's name) in *reason.
bool ParseSkyList(const QString& text, ReadList* list, QString* reason);
bool ParseCsvList(const QString& text, ReadList* list, QString* reason);
bool ParseJsonLists(const QByteArray& utf8, std::vector<ReadList>* lists, QString* reason);
bool ParseTextList(const QString& text, ReadList* list, QString* reason);

// A right ascension or declination as lists write them: decimal ("13.724", "-28.4"), or
// sexagesimal with colons, blanks or unit letters ("13:43:26", "13h 43m 26s", "+28 22 31",
// "-05°23'28\""). False for anything else.
bool ReadSexagesimal(const QString& text, double* value);

// The lines of a text, split at CR LF, LF or a lone CR.
QStringList SplitLines(const QString& text);
