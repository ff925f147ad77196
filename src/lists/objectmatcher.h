#pragma once

#include "catalog/objectstore.h"
#include "lists/listfile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The form a designation or name is compared in: blanks dropped and case folded, as the chooser
// search compares, and the common spellings of the catalogue numbers brought to one:
// "M 31", "M31", "Messier 31" -> "M31"; "NGC 224", "NGC0224" -> "NGC224"; "IC 434" -> "IC434";
// "Caldwell 14", "C 14" -> "C14".
QString MatchKey(const QString& text);

// The store's objects by their designations and names, for matching the lines of a list.
class ObjectMatcher {
public:
    // Keys every record of the store: the parts of its designation ("M 31/NGC 224" gives both),
    // its Caldwell number, and the names its comment carries (the parts between semicolons with
    // three letters or more, e.g. "Crab Nebula"). A name that more than two records carry is a
    // type ("Galaxy", "Globular Cluster"), not a name, and matches nothing. The Moon and the
    // planets are found by name. The store must outlive the matcher.
    explicit ObjectMatcher(const ObjectStore& store);

    // The store index of the object the line names, -1 when none. Where several records carry
    // the names (an object in two catalogues), the one that carries most of the line's names
    // wins, then the one whose type is the line's, then the one of the catalogue the first name
    // belongs to (an NGC number: the NGC record before the SAC and Messier ones), then the first
    // in the store. A line that gives a position more than a degree from the object's is not
    // matched; *why then says so (it is left empty for a line that names nothing known).
    int Match(const ListLine& line, QString* why) const;

    // The record's designations as lists write them: "M 31", "NGC 224", "C 14"; none for the
    // Moon and the planets.
    QStringList Designations(int storeIndex) const;
    // The record's common name ("Andromeda Galaxy", "Jupiter"); empty when it has none.
    QString CommonName(int storeIndex) const;

private:
    const ObjectStore& store_;
    QHash<QString, QList<int>> designations_;
    QHash<QString, QList<int>> names_;
};
