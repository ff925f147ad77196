#include "support/catalogfiles.h"

QString At(Fields fields) {
    QString line;
    for (const auto& [column, text] : fields) {
        if (line.size() < column - 1) line += QString(column - 1 - line.size(), QLatin1Char(' '));
        line = line.left(column - 1) + text + line.mid(column - 1 + text.size());
    }
    return line;
}

QString MessierLine(const QString& number, const QString& type, Fields more) {
    QString line = At({{1, "[ ]"},
                       {5, number},
                       {10, type},
                       {19, " 5.0v"},
                       {26, "12"},
                       {28, "30.0"},
                       {33, "+"},
                       {34, "10"},
                       {36, "00.0"}});
    for (const auto& [column, text] : more)
        line = At({{1, line}, {column, text}});
    return line;
}

QString SacLine(const QString& name, const QString& flags, Fields more) {
    QString line = At({{2, name},
                       {42, "GALXY"},
                       {56, "01"},
                       {59, "30.0"},
                       {66, "+"},
                       {67, "20"},
                       {70, "15"},
                       {75, "11.2"},
                       {158, flags}});
    for (const auto& [column, text] : more)
        line = At({{1, line}, {column, text}});
    return line;
}

QString RevisedLine(const QString& number, const QString& type, const QString& mag, Fields more) {
    QString line = At({{1, number},
                       {8, type},
                       {18, "00"},
                       {21, "40"},
                       {24, "22.0"},
                       {29, "+41"},
                       {33, "41"},
                       {36, "09.0"},
                       {41, mag}});
    for (const auto& [column, text] : more)
        line = At({{1, line}, {column, text}});
    return line;
}
