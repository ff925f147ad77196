#pragma once

#include <QList>
#include <QString>

// The pieces of a Qt date or time format ("d.M.yy", "h:mm:ss AP t", "'г.'"): runs of one field
// letter, and literal text with its quotes taken off ('' stands for one quote). Every reader and
// rewriter of the locale's formats goes through this one split.
struct FormatPiece {
    QChar field;  // the field letter; null for literal text
    int run = 0;  // how many times the letter repeats
    QString text; // the literal text
};

QList<FormatPiece> SplitFormat(const QString& format);
// The format again; literal text that holds a letter or a quote is quoted.
QString JoinFormat(const QList<FormatPiece>& pieces);
