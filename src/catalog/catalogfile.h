#pragma once

#include "catalog/objectstore.h"

#include <QString>
#include <QStringView>

// A catalogue file read whole into memory and handed out line by line.
//
// The files are 8-bit text (Latin-1). A line ends at a carriage return, a carriage return followed
// by a line feed, or a lone line feed: files edited on Linux end their lines with a bare LF, and a
// catalogue line never contains one as data. The terminator is not part of the line, and a
// terminator at the very end of the file does not start a further, empty line.
class CatalogFile {
public:
    // Reads the whole file; throws CatalogError when it is missing or cannot be read.
    explicit CatalogFile(const QString& path);

    // Next line into *line; false at the end of the file.
    bool NextLine(QStringView* line);

    // 1-based number of the line last handed out.
    int LineNumber() const { return lineNumber_; }
    const QString& Path() const { return path_; }

    // An error about the current line, worded for the user.
    [[noreturn]] void Fail(const QString& what) const;

    // The store slot to fill next; throws when it lies beyond the store.
    CatalogObject& Slot(ObjectStore& store, int slot) const;

    // WholeNumber with the file and line added to its error.
    std::int16_t WholeNumberAt(QStringView field) const;

private:
    QString path_;
    QString text_;
    qsizetype pos_ = 0;
    int lineNumber_ = 0;
};
