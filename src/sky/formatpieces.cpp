#include "sky/formatpieces.h"

namespace {

const QString FieldLetters = QStringLiteral("dMyhHmszaApPt");
const QChar Quote = QLatin1Char('\'');

void AddLiteral(QList<FormatPiece>& pieces, const QString& text) {
    if (text.isEmpty()) return;
    if (!pieces.isEmpty() && pieces.last().field.isNull())
        pieces.last().text += text;
    else
        pieces.append({QChar(), 0, text});
}

} // namespace

QList<FormatPiece> SplitFormat(const QString& format) {
    QList<FormatPiece> pieces;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == Quote) {
            if (i + 1 < format.size() && format.at(i + 1) == Quote) {
                AddLiteral(pieces, Quote);
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
            continue;
        }
        if (quoted || !FieldLetters.contains(c)) {
            AddLiteral(pieces, c);
            ++i;
            continue;
        }
        int run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        pieces.append({c, run, QString()});
        i += run;
    }
    return pieces;
}

QString JoinFormat(const QList<FormatPiece>& pieces) {
    QString format;
    for (const FormatPiece& piece : pieces) {
        if (!piece.field.isNull()) {
            format += QString(piece.run, piece.field);
            continue;
        }
        bool needsQuotes = false;
        for (const QChar c : piece.text)
            needsQuotes = needsQuotes || c.isLetter() || c == Quote;
        QString text = piece.text;
        text.replace(Quote, QStringLiteral("''"));
        // A lone quote needs no enclosing quotes: '' is already one quote.
        format += needsQuotes && piece.text != Quote ? Quote + text + Quote : text;
    }
    return format;
}
