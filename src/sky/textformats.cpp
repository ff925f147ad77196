#include "sky/textformats.h"

#include "sky/angles.h"
#include "sky/formatpieces.h"

#include <QRegularExpression>
#include <cmath>

namespace {

const QChar DegreeSign(0x00B0);

// Rounds |value| half away from zero to `decimals` places, working on its 15-significant-digit
// decimal form so that a value such as 59.95, which the binary fraction holds as 59.9499...,
// rounds the way it reads. Returns the digits of the integer part (empty for zero) and of the
// fraction separately.
void RoundedDigits(double value, int decimals, QString& intDigits, QString& fracDigits) {
    const QString e = QString::number(std::fabs(value), 'e', 14); // d.dddddddddddddde+XX
    const int ePos = e.indexOf(QLatin1Char('e'));
    QString mantissa = e.left(ePos);
    mantissa.remove(1, 1); // drop the decimal point: 15 digits
    const int exponent = e.mid(ePos + 1).toInt();

    // Place the digits on a scale where the decimal point follows position `point`.
    QString digits = mantissa;
    int point = exponent + 1;
    if (point < 0) {
        digits.prepend(QString(-point, QLatin1Char('0')));
        point = 0;
    }
    const int keep = point + decimals;
    if (digits.size() < keep + 1)
        digits.append(QString(keep + 1 - digits.size(), QLatin1Char('0')));
    const bool up = digits.at(keep) >= QLatin1Char('5');
    digits.truncate(keep);
    if (up) {
        int i = keep - 1;
        for (; i >= 0; --i) {
            if (digits.at(i) == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
            } else {
                digits[i] = QChar(digits.at(i).unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            digits.prepend(QLatin1Char('1'));
            ++point;
        }
    }
    intDigits = digits.left(point);
    fracDigits = digits.mid(point);
    while (intDigits.startsWith(QLatin1Char('0')))
        intDigits.remove(0, 1);
}

// Fixed-decimal text with at least `minIntDigits` integer digits; a value that rounds to zero
// carries no minus sign.
QString DecimalText(double value, int minIntDigits, int decimals) {
    QString intDigits, fracDigits;
    RoundedDigits(value, decimals, intDigits, fracDigits);
    if (intDigits.size() < minIntDigits)
        intDigits.prepend(QString(minIntDigits - intDigits.size(), QLatin1Char('0')));
    const bool zero = !intDigits.contains(QRegularExpression(QStringLiteral("[1-9]"))) &&
                      !fracDigits.contains(QRegularExpression(QStringLiteral("[1-9]")));
    QString text = (value < 0 && !zero) ? QStringLiteral("-") : QString();
    text += intDigits;
    if (decimals > 0) text += QLatin1Char('.') + fracDigits;
    return text;
}

} // namespace

QString AngleText(double radians) {
    const double deg = RadToDeg(radians);
    const double whole = std::floor(deg);
    const double minutes = (deg - whole) * 60;
    return RightAligned4(QString::number(qint64(whole))) + DegreeSign + QLatin1Char(' ') +
           DecimalText(minutes, 2, 1) + QLatin1Char('\'');
}

QString RightAligned4(const QString& text) {
    return text.rightJustified(4, QLatin1Char(' '));
}

QString PlainNumberText(double value) {
    if (value == 0) return QStringLiteral("0");
    return QString::number(value, 'g', 15);
}

QString MagnitudeListText(double magnitude) {
    return RightAligned4(PlainNumberText(magnitude));
}

QString OneDecimalText(double value) {
    return DecimalText(value, 0, 1);
}

QString CountText(int value) {
    return QString::number(value);
}

QString ShortDateText(const CivilTime& value) {
    const QDate d = value.date();
    return QStringLiteral("%1/%2/%3")
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(((d.year() % 100) + 100) % 100, 2, 10, QLatin1Char('0'));
}

QString LongTimeText(const CivilTime& value, const QLocale& locale) {
    return locale.toString(value.time(), LongTimeFormat(locale));
}

QString LongTimeFormat(const QLocale& locale) {
    QList<FormatPiece> pieces = SplitFormat(locale.timeFormat(QLocale::LongFormat));
    pieces.removeIf([](const FormatPiece& p) { return p.field == QLatin1Char('t'); });
    QString out = JoinFormat(pieces);
    // Brackets that held only the zone go with it.
    out.remove(QStringLiteral("()"));
    out.remove(QStringLiteral("[]"));
    return out.simplified();
}
