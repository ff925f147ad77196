#pragma once

#include "catalog/objectstore.h"
#include "lists/keptlists.h"

#include <QString>
#include <QStringList>
#include <vector>

// What became of one list of an imported file.
struct ListImportReport {
    QString name;      // the name it is kept under
    int lines = 0;     // lines (or JSON entries) naming an object
    int matched = 0;   // of them, those matched to an object of the store
    bool kept = false; // false when nothing in it matched
    // Each line that did not match: "line 7: Foo", with the reason where there is one.
    QStringList unmatched;
};

struct ListImportResult {
    bool ok = false;
    QString error; // names the file and the reason when !ok
    QString format;
    QStringList notes;
    std::vector<ListImportReport> lists;
};

// Reads the list file at `path`, matches its lines to the store and adds every list in which
// anything matched to `kept` (under a name no kept list has yet), keeping the order of the
// lines. The first list added becomes the offered one. Nothing is written: the caller saves
// the kept lists. On failure `kept` stays as it was.
ListImportResult ImportListFile(const QString& path, const ObjectStore& store, KeptLists& kept);

// The report window's text: the counts of each list, then every unmatched line.
QString ImportReportText(const QString& path, const ListImportResult& result);
