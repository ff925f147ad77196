#include "sky/civiltime.h"

#include "sky/formatpieces.h"
#include "sky/textformats.h"

#include <QSet>
#include <QStringList>

namespace {

// The locale's short date format with a two-digit year field widened to four digits.
QString ShortDateFormat(const QLocale& locale) {
    QList<FormatPiece> pieces = SplitFormat(locale.dateFormat(QLocale::ShortFormat));
    for (FormatPiece& piece : pieces)
        if (piece.field == QLatin1Char('y') && piece.run == 2) piece.run = 4;
    return JoinFormat(pieces);
}

enum class Field { Day, Month, Year };

struct DateLayout {
    QList<Field> order;         // numeric and named fields in the order the format writes them
    bool monthIsName = false;   // MMM / MMMM
    bool hasWeekday = false;    // ddd / dddd
    QSet<QString> literalWords; // words the formats write besides their fields
};

// The text by code point, not by 16-bit unit: the digits and letters of some scripts (Chakma,
// Adlam) lie beyond the first 65536 and take two units each.
QList<char32_t> CodePoints(const QString& text) {
    QList<char32_t> points;
    for (const uint u : QStringView(text).toUcs4())
        points.append(char32_t(u));
    return points;
}

QString FoldedText(char32_t c) {
    const char32_t folded = QChar::toCaseFolded(c);
    return QString::fromUcs4(&folded, 1);
}

void CollectWords(const QString& text, QSet<QString>& words) {
    QString word;
    for (const char32_t c : CodePoints(text)) {
        if (QChar::isLetter(c)) {
            word += FoldedText(c);
        } else if (!word.isEmpty()) {
            words.insert(word);
            word.clear();
        }
    }
    if (!word.isEmpty()) words.insert(word);
}

// Walks a date or time format: field runs are noted, literal text is collected as words.
void ScanFormat(const QString& format, bool isDate, DateLayout& layout) {
    QString literal;
    for (const FormatPiece& piece : SplitFormat(format)) {
        if (piece.field.isNull()) {
            literal += piece.text;
            continue;
        }
        literal += QLatin1Char(' ');
        if (!isDate) continue;
        const QChar c = piece.field;
        if (c == QLatin1Char('d')) {
            if (piece.run >= 3)
                layout.hasWeekday = true;
            else if (!layout.order.contains(Field::Day))
                layout.order.append(Field::Day);
        } else if (c == QLatin1Char('M')) {
            if (!layout.order.contains(Field::Month)) layout.order.append(Field::Month);
            if (piece.run >= 3) layout.monthIsName = true;
        } else if (c == QLatin1Char('y')) {
            if (!layout.order.contains(Field::Year)) layout.order.append(Field::Year);
        }
    }
    CollectWords(literal, layout.literalWords);
}

// A format whose text is all digits and separators: no month or weekday names and no literal
// words (the "г." of Bulgarian dates, the "時" of Japanese times). Only such a text can be edited
// where every key but a digit is refused.
bool IsNumericFormat(const QString& format, bool isDate) {
    DateLayout layout;
    ScanFormat(format, isDate, layout);
    return !layout.monthIsName && !layout.hasWeekday && layout.literalWords.isEmpty() &&
           (!isDate || layout.order.size() == 3);
}

// The date and time formats of the civil text: the locale's own where they are numeric, else
// ISO 8601 order (year-month-day) and a 24-hour time.
QString CivilDateFormat(const QLocale& locale) {
    const QString own = ShortDateFormat(locale);
    return IsNumericFormat(own, true) ? own : QStringLiteral("yyyy-MM-dd");
}

QString CivilTimeFormat(const QLocale& locale) {
    const QString own = LongTimeFormat(locale);
    return IsNumericFormat(own, false) ? own : QStringLiteral("HH:mm:ss");
}

DateLayout LayoutOf(const QLocale& locale) {
    DateLayout layout;
    ScanFormat(CivilDateFormat(locale), true, layout);
    ScanFormat(CivilTimeFormat(locale), false, layout);
    return layout;
}

// Finds a morning/afternoon text anywhere in `text` (case-insensitive), blanks it out and
// reports which one it was. Returns 0 for none, 1 for AM, 2 for PM, -1 for more than one.
int TakeLocaleMarker(QString& text, const QLocale& locale) {
    int found = 0;
    const QString marks[2] = {locale.amText(), locale.pmText()};
    // The longer text first, in case one contains the other.
    const int first = marks[0].size() >= marks[1].size() ? 0 : 1;
    for (int n = 0; n < 2; ++n) {
        const int which = n == 0 ? first : 1 - first;
        const QString& mark = marks[which];
        if (mark.isEmpty()) continue;
        int pos;
        while ((pos = text.indexOf(mark, 0, Qt::CaseInsensitive)) >= 0) {
            found = found == 0 ? which + 1 : -1;
            text.replace(pos, mark.size(), QLatin1Char(' '));
        }
    }
    return found;
}

int MonthFromName(const QString& word, const QLocale& locale) {
    for (int m = 1; m <= 12; ++m) {
        for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
            if (locale.monthName(m, type).toCaseFolded() == word ||
                locale.standaloneMonthName(m, type).toCaseFolded() == word)
                return m;
        }
    }
    return 0;
}

bool IsWeekdayName(const QString& word, const QLocale& locale) {
    for (int d = 1; d <= 7; ++d) {
        for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
            if (locale.dayName(d, type).toCaseFolded() == word ||
                locale.standaloneDayName(d, type).toCaseFolded() == word)
                return true;
        }
    }
    return false;
}

struct Number {
    int value;
    int digits;
};

} // namespace

QString CivilSeparators(const QLocale& locale) {
    QString out = QStringLiteral(" ");
    for (const QString& format : {CivilDateFormat(locale), CivilTimeFormat(locale)}) {
        bool quoted = false;
        for (const QChar c : format) {
            if (c == QLatin1Char('\'')) {
                quoted = !quoted;
            } else if ((quoted || !QStringLiteral("dMyhHmszaApPt").contains(c)) &&
                       !c.isLetterOrNumber() && !out.contains(c)) {
                out += c;
            }
        }
    }
    return out;
}

bool CivilTimeHasMarker(const QLocale& locale) {
    const QString format = CivilTimeFormat(locale);
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('a') || c == QLatin1Char('A')))
            return true;
    }
    return false;
}

QString CivilDateTimeText(const CivilTime& civil, const QLocale& locale) {
    const QString date = locale.toString(civil.date(), CivilDateFormat(locale));
    const QTime t = civil.time();
    const QTime whole(t.hour(), t.minute(), t.second());
    if (whole == QTime(0, 0)) return date;
    return date + QLatin1Char(' ') + locale.toString(whole, CivilTimeFormat(locale));
}

std::optional<CivilTime> ParseCivilDateTime(const QString& input, const QLocale& locale) {
    const DateLayout layout = LayoutOf(locale);
    QString text = input;
    int marker = TakeLocaleMarker(text, locale);
    if (marker < 0) return std::nullopt;

    QList<Number> numbers;
    int month = 0;
    QString word;
    int value = 0, digits = 0;
    auto endNumber = [&] {
        if (digits > 0) numbers.append({value, digits});
        value = 0;
        digits = 0;
    };
    bool wordsOk = true;
    auto endWord = [&] {
        if (word.isEmpty()) return;
        if (word == QLatin1String("a") || word == QLatin1String("p") ||
            word == QLatin1String("am") || word == QLatin1String("pm")) {
            const int mark = word.startsWith(QLatin1Char('a')) ? 1 : 2;
            if (marker != 0) wordsOk = false;
            marker = mark;
        } else if (layout.monthIsName && month == 0 && MonthFromName(word, locale) != 0) {
            month = MonthFromName(word, locale);
        } else if (!layout.literalWords.contains(word) &&
                   !(layout.hasWeekday && IsWeekdayName(word, locale))) {
            wordsOk = false;
        }
        word.clear();
    };
    for (const char32_t c : CodePoints(text)) {
        const int dv = QChar::digitValue(c);
        if (dv >= 0) {
            endWord();
            if (digits >= 6) return std::nullopt;
            value = value * 10 + dv;
            ++digits;
        } else if (QChar::isLetter(c)) {
            endNumber();
            word += FoldedText(c);
        } else {
            endNumber();
            endWord();
        }
    }
    endNumber();
    endWord();
    if (!wordsOk) return std::nullopt;

    // Date fields first, in the locale's order; whatever follows is the time of day.
    int day = 0, year = 0, yearDigits = 0;
    int next = 0;
    for (const Field f : layout.order) {
        if (f == Field::Month && layout.monthIsName) {
            if (month == 0) return std::nullopt;
            continue;
        }
        if (next >= numbers.size()) return std::nullopt;
        const Number n = numbers.at(next++);
        // A field with more digits than it can have is two fields run together, most likely
        // after a separator was deleted: refused rather than read as some far-off date.
        if (n.digits > (f == Field::Year ? 4 : 2) || (f == Field::Year && n.digits == 3))
            return std::nullopt;
        if (f == Field::Day)
            day = n.value;
        else if (f == Field::Month)
            month = n.value;
        else {
            year = n.value;
            yearDigits = n.digits;
        }
    }
    // Two-digit years are taken as 1950..2049.
    if (yearDigits <= 2) year += year < 50 ? 2000 : 1900;
    const QDate date(year, month, day);
    if (!date.isValid()) return std::nullopt;

    const int timeCount = int(numbers.size()) - next;
    if (timeCount > 3 || (timeCount == 0 && marker != 0)) return std::nullopt;
    for (int i = next; i < numbers.size(); ++i)
        if (numbers.at(i).digits > 2) return std::nullopt;
    int hour = timeCount > 0 ? numbers.at(next).value : 0;
    const int minute = timeCount > 1 ? numbers.at(next + 1).value : 0;
    const int second = timeCount > 2 ? numbers.at(next + 2).value : 0;
    if (marker != 0) {
        if (hour < 1 || hour > 12) return std::nullopt;
        hour = hour % 12 + (marker == 2 ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    return CivilTime(date, QTime(hour, minute, second));
}
