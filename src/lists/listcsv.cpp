#include "lists/listfile.h"

#include <QRegularExpression>

// CSV lists: a header row, then one object a row. The object comes from the designation and
// name columns; RA and Dec serve only to check a match.

namespace {

QChar Delimiter(const QString& header) {
    QChar best = u',';
    qsizetype most = 0;
    for (QChar c : {QChar(u','), QChar(u';'), QChar(u'\t')}) {
        if (header.count(c) > most) most = header.count(c), best = c;
    }
    return best;
}

// One row split at the delimiter; a field in double quotes may hold the delimiter and "" for a
// quote.
QStringList Fields(const QString& line, QChar delimiter) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"')
                field += c, ++i;
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == delimiter) {
            fields.append(field.trimmed());
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field.trimmed());
    return fields;
}

struct Columns {
    QList<int> names; // designation-like columns first, then name columns
    int ra = -1;
    int dec = -1;
    bool raInDegrees = false;
    int type = -1;
};

Columns FindColumns(const QStringList& header) {
    static const QRegularExpression designation(
        QStringLiteral("^(designation|object|catalog|catalogue|id$|identifier)"));
    static const QRegularExpression ra(QStringLiteral("^(ra|rightascension)($|j2000|deg|h|_)"));
    static const QRegularExpression dec(QStringLiteral("^(dec|declination)($|j2000|deg|_)"));
    Columns columns;
    QList<int> nameColumns;
    for (int i = 0; i < header.size(); ++i) {
        const QString raw = header[i].toLower();
        QString key = raw;
        key.remove(QRegularExpression(QStringLiteral("[^a-z0-9_]")));
        if (designation.match(key).hasMatch())
            columns.names.append(i);
        else if (key.contains(QLatin1String("name")))
            nameColumns.append(i);
        else if (columns.ra < 0 && ra.match(key).hasMatch())
            columns.ra = i,
            columns.raInDegrees = raw.contains(QLatin1String("deg")) || raw.contains(QChar(0x00B0));
        else if (columns.dec < 0 && dec.match(key).hasMatch())
            columns.dec = i;
        else if (columns.type < 0 && key.startsWith(QLatin1String("type")))
            columns.type = i;
    }
    columns.names += nameColumns;
    return columns;
}

QString FieldAt(const QStringList& fields, int column) {
    return column >= 0 && column < fields.size() ? fields[column] : QString();
}

} // namespace

bool ReadSexagesimal(const QString& text, double* value) {
    static const QRegularExpression decimal(QStringLiteral("^[+-]?\\d+(\\.\\d*)?$"));
    static const QRegularExpression parts(QString::fromUtf8(
        "^([+-]?)\\s*(\\d+)\\s*[:hd°\\s]\\s*(\\d+(?:\\.\\d*)?)\\s*(?:[:m'′\\s]\\s*"
        "(\\d+(?:\\.\\d*)?)\\s*[s\"″]?)?\\s*['′]?$"));
    const QString trimmed = text.trimmed();
    if (decimal.match(trimmed).hasMatch()) {
        *value = trimmed.toDouble();
        return true;
    }
    const QRegularExpressionMatch m = parts.match(trimmed);
    if (!m.hasMatch()) return false;
    const double minutes = m.captured(3).toDouble();
    const double seconds = m.captured(4).isEmpty() ? 0.0 : m.captured(4).toDouble();
    if (minutes >= 60 || seconds >= 60) return false;
    const double magnitude = m.captured(2).toDouble() + minutes / 60 + seconds / 3600;
    *value = m.captured(1) == QLatin1String("-") ? -magnitude : magnitude;
    return true;
}

bool ParseCsvList(const QString& text, ReadList* list, QString* reason) {
    const QStringList lines = SplitLines(text);
    int headerAt = 0;
    while (headerAt < lines.size() && lines[headerAt].trimmed().isEmpty())
        ++headerAt;
    const QChar delimiter = Delimiter(lines.value(headerAt));
    const Columns columns = FindColumns(Fields(lines.value(headerAt), delimiter));
    if (columns.names.isEmpty()) {
        *reason = QStringLiteral("its first line names no column Name, Designation, Object or "
                                 "ID (it reads \"%1\").")
                      .arg(lines.value(headerAt).trimmed().left(80));
        return false;
    }
    for (int i = headerAt + 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty()) continue;
        const QStringList fields = Fields(lines[i], delimiter);
        ListLine line;
        line.number = i + 1;
        line.text = lines[i].trimmed();
        for (int column : columns.names)
            for (const QString& part : FieldAt(fields, column).split(u'/'))
                if (!part.simplified().isEmpty() && !line.names.contains(part.simplified()))
                    line.names.append(part.simplified());
        line.type = FieldAt(fields, columns.type);
        const QString ra = FieldAt(fields, columns.ra);
        const bool raDecimal = !ra.contains(u':') && !ra.contains(u' ') && !ra.contains(u'h');
        line.hasPosition = ReadSexagesimal(ra, &line.raHours) &&
                           ReadSexagesimal(FieldAt(fields, columns.dec), &line.decDegrees);
        if (line.hasPosition && raDecimal && columns.raInDegrees) line.raHours /= 15;
        list->lines.push_back(line);
    }
    if (list->lines.empty()) {
        *reason = QStringLiteral("it holds only its header line.");
        return false;
    }
    return true;
}
