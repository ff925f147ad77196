#pragma once

// Catalogue lines written in code, in the fixed columns the readers use.

#include <QString>
#include <initializer_list>
#include <utility>

using Fields = std::initializer_list<std::pair<int, QString>>;

// A line with each text placed at its 1-based column, blanks between; a later text overwrites
// an earlier one where they overlap.
QString At(Fields fields);

// A Messier line of the given number (" 31") and type code, magnitude 5.0 at 12h30m +10 deg;
// `more` overwrites columns.
QString MessierLine(const QString& number, const QString& type, Fields more = {});
// A SAC line: a galaxy of magnitude 11.2 at 1h30m +20 deg 15', with the B/C/H flags at column 158.
QString SacLine(const QString& name, const QString& flags, Fields more = {});
// A line of the revised NGC or IC catalogue at 0h40m22s +41 deg 41' 9".
QString RevisedLine(const QString& number, const QString& type, const QString& mag,
                    Fields more = {});
