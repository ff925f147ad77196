#include "settings/initext.h"

#include <QRegularExpression>
#include <optional>

// The forms are those QSettings writes: a key escapes '/' as '\' and other characters as %XX
// or %UXXXX; a value escapes control characters, '"' and '\' with a backslash and is quoted
// when it holds ';', ',' or '=' or starts or ends with a blank; an unquoted comma makes a list,
// an unquoted ';' starts a comment, and a value starting with '@' is typed ("@@x" and
// "@String(x)" for a text).

namespace {

const QRegularExpression& KeyForm() {
    static const QRegularExpression form(QStringLiteral(R"(^[A-Za-z0-9_.%\\-]+$)"));
    return form;
}

QString UnescapedKey(const QString& key) {
    QString out;
    for (int i = 0; i < key.size(); ++i) {
        const QChar c = key[i];
        if (c == QLatin1Char('\\')) {
            out += QLatin1Char('/');
            continue;
        }
        const int digits = key.mid(i + 1, 1) == QLatin1String("U") ? 4 : 2;
        const int first = i + 1 + (digits == 4 ? 1 : 0);
        bool ok = false;
        const ushort code = c == QLatin1Char('%') ? key.mid(first, digits).toUShort(&ok, 16) : 0;
        if (ok && first + digits <= key.size()) {
            out += QChar(code);
            i = first + digits - 1;
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(QChar c) {
    const char a = c.toLatin1();
    if (a >= '0' && a <= '9') return a - '0';
    if (a >= 'a' && a <= 'f') return a - 'a' + 10;
    if (a >= 'A' && a <= 'F') return a - 'A' + 10;
    return -1;
}

// Resolves quotes and escapes; the value ends at the line's end or an unquoted ';'.
IniValue UnescapedValue(const QString& s) {
    static const QString kEscaped = QStringLiteral("abfnrtv\"?'\\");
    static const QString kMeaning = QStringLiteral("\a\b\f\n\r\t\v\"?'\\");
    IniValue value;
    QString current;
    bool inQuotes = false, quoted = false, list = false;
    int keep = 0; // trailing blanks before this length stay (they were quoted or escaped)
    int i = 0;
    const auto skipBlanks = [&] {
        while (i < s.size() && (s[i] == QLatin1Char(' ') || s[i] == QLatin1Char('\t')))
            ++i;
        keep = int(current.size());
    };
    const auto chopBlanks = [&] {
        while (!quoted && current.size() > keep &&
               (current.endsWith(QLatin1Char(' ')) || current.endsWith(QLatin1Char('\t'))))
            current.chop(1);
    };
    skipBlanks();
    while (i < s.size()) {
        const QChar c = s[i++];
        if (c == QLatin1Char('\\')) {
            if (i >= s.size()) break;
            const QChar e = s[i++];
            const int simple = e.unicode() < 128 ? int(kEscaped.indexOf(e)) : -1;
            if (simple >= 0) {
                current += kMeaning[simple];
            } else if (e == QLatin1Char('x') || (e >= QLatin1Char('0') && e <= QLatin1Char('7'))) {
                const int base = e == QLatin1Char('x') ? 16 : 8;
                const bool digitsFollow =
                    i < s.size() && HexDigit(s[i]) >= 0 && HexDigit(s[i]) < base;
                ushort code = base == 8 ? ushort(e.unicode() - '0') : 0;
                for (; i < s.size() && HexDigit(s[i]) >= 0 && HexDigit(s[i]) < base; ++i)
                    code = ushort(code * base + HexDigit(s[i]));
                if (base == 8 || digitsFollow) current += QChar(code);
            } // any other escaped character is dropped, as QSettings does
            keep = int(current.size());
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) skipBlanks();
        } else if (c == QLatin1Char(',') && !inQuotes) {
            chopBlanks();
            list = true;
            quoted = false;
            current.clear();
            skipBlanks();
        } else if (c == QLatin1Char(';') && !inQuotes) {
            break;
        } else {
            current += c;
        }
    }
    chopBlanks();
    if (list) {
        value.kind = IniValue::List;
        value.text = s.trimmed();
    } else if (current.startsWith(QLatin1String("@@"))) {
        value.text = current.mid(1);
    } else if (current.startsWith(QLatin1String("@String(")) &&
               current.endsWith(QLatin1Char(')'))) {
        value.text = current.mid(8, current.size() - 9); // how a text holding a NUL is written
    } else {
        value.kind = current.startsWith(QLatin1Char('@')) ? IniValue::Typed : IniValue::Text;
        value.text = current;
    }
    return value;
}

// Whether the line can be read on its own: UTF-8, no control characters, and for a key line an
// even number of unescaped quotes and no backslash that would join the next line to it.
bool ReadsAlone(const QByteArray& bytes, const QString& line) {
    if (line.toUtf8() != bytes.trimmed()) return false;
    for (const QChar c : line)
        if (c.category() == QChar::Other_Control) return false;
    if (line.startsWith(QLatin1Char('['))) return true;
    int quotes = 0, backslashes = 0;
    for (const QChar c : line) {
        if (c == QLatin1Char('"') && backslashes % 2 == 0) ++quotes;
        backslashes = c == QLatin1Char('\\') ? backslashes + 1 : 0;
    }
    return quotes % 2 == 0 && backslashes % 2 == 0;
}

// The section a header opens: "" for [General]; nothing when its name cannot be made out.
std::optional<QString> SectionOf(const QString& header, bool* whole) {
    const int close = int(header.indexOf(QLatin1Char(']')));
    const QString name = header.mid(1, close < 0 ? -1 : close - 1).trimmed();
    *whole = close == header.size() - 1 && name.size() == close - 1;
    if (!KeyForm().match(name).hasMatch()) return std::nullopt;
    if (name.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) return QString();
    if (name.compare(QLatin1String("%general"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("general");
    return UnescapedKey(name);
}

QList<QByteArray> Lines(QByteArray text) {
    if (text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text.split('\n');
}

} // namespace

IniValues ReadIniText(const QByteArray& text, QStringList* damaged) {
    IniValues values;
    std::optional<QString> section = QString();
    const QList<QByteArray> lines = Lines(text);
    const auto report = [damaged](int number) {
        if (damaged) *damaged << QStringLiteral("line %1").arg(number);
    };
    for (int i = 0; i < lines.size(); ++i) {
        const int number = i + 1;
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (!ReadsAlone(lines[i], line)) {
            report(number);
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            bool whole = false;
            section = SectionOf(line, &whole);
            if (!section || !whole) report(number);
            continue;
        }
        const int equals = int(line.indexOf(QLatin1Char('=')));
        const QString key = line.left(equals).trimmed();
        if (!section || equals < 0 || !KeyForm().match(key).hasMatch()) {
            report(number);
            continue;
        }
        const QString whole = section->isEmpty() ? UnescapedKey(key)
                                                 : *section + QLatin1Char('/') + UnescapedKey(key);
        IniValue value = UnescapedValue(line.mid(equals + 1));
        value.line = number;
        if (const auto earlier = values.find(whole); earlier != values.end())
            report(earlier->second.line);
        values[whole] = value;
    }
    return values;
}
