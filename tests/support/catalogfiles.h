#pragma once

// Catalogue lines written in code, in the fixed columns the readers use.

#include <QString>
#include <initializer_list>
#include <utility>

using Fields = std::initializer_list<std::pair<int, QString>>;

// A line with each text placed at its 1-based column (after `line`), blanks between; a later
// text overwrites an earlier one where they overlap.
inline QString At(Fields fields, QString line = QString()) {
    for (const auto& [column, text] : fields) {
        if (line.size() < column - 1) line += QString(column - 1 - line.size(), QLatin1Char(' '));
        line = line.left(column - 1) + text + line.mid(column - 1 + text.size());
    }
    return line;
}

// clang-format off
// A Messier line of the given number (" 31") and type code, magnitude 5.0 at 12h30m +10 deg;
// `more` overwrites columns.
inline QString MessierLine(const QString& number, const QString& type, Fields more = {}) {
    return At(more, At({{1, "[ ]"}, {5, number}, {10, type}, {19, " 5.0v"}, {26, "12"}, {28, "30.0"}, {33, "+"}, {34, "10"}, {36, "00.0"}}));
}
// A SAC line: a galaxy of magnitude 11.2 at 1h30m +20 deg 15', the B/C/H flags at column 158.
inline QString SacLine(const QString& name, const QString& flags, Fields more = {}) {
    return At(more, At({{2, name}, {42, "GALXY"}, {56, "01"}, {59, "30.0"}, {66, "+"}, {67, "20"}, {70, "15"}, {75, "11.2"}, {158, flags}}));
}
// A line of the revised NGC or IC catalogue at 0h40m22s +41 deg 41' 9".
inline QString RevisedLine(const QString& number, const QString& type, const QString& mag, Fields more = {}) {
    return At(more, At({{1, number}, {8, type}, {18, "00"}, {21, "40"}, {24, "22.0"}, {29, "+41"}, {33, "41"}, {36, "09.0"}, {41, mag}}));
}
// clang-format on
