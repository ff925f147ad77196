#include "lists/listfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

// Telling a list file's format and decoding its text; the formats' own parsers are in
// listformats.cpp.

namespace {

QString FileText(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString SizeText(qint64 bytes) {
    return QString::number(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
}

// Control characters other than tab, line and page ends do not occur in text; a few may come
// from a damaged line, many mean the file is something else.
bool LooksBinary(const QString& text) {
    qsizetype control = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0) return true;
        if (u < 32 && u != u'\t' && u != u'\n' && u != u'\r' && u != u'\f') ++control;
    }
    return control > 8 && control * 100 > text.size();
}

// UTF-8 (with or without its byte order mark) or UTF-16 with its mark; a file that is not valid
// UTF-8 is read as Latin-1, which any byte sequence is, and the report says so.
QString DecodeText(const QByteArray& bytes, QStringList* notes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringDecoder::Utf16, QStringDecoder::Flag::Default);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        notes->append(QStringLiteral("The file is not UTF-8 text: it was read as Latin-1."));
        return QString::fromLatin1(bytes);
    }
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

QString FirstContentLine(const QStringList& lines) {
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty()) return line.trimmed();
    return QString();
}

// A header of separated fields naming a list column: the first line of a CSV file whatever its
// extension.
bool LooksLikeCsvHeader(const QString& line) {
    static const QRegularExpression header(
        QStringLiteral("^\\W*(name|designation|object|id|ra|dec)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    if (!line.contains(u',') && !line.contains(u';') && !line.contains(u'\t')) return false;
    for (const QString& field : line.split(QRegularExpression(QStringLiteral("[,;\\t]"))))
        if (header.match(field.trimmed()).hasMatch()) return true;
    return false;
}

} // namespace

QStringList SplitLines(const QString& text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool ReadListFile(const QString& path, ListFileContent* content, QString* error) {
    const QFileInfo info(path);
    if (info.isDir()) {
        *error = QStringLiteral("%1 is a folder, not a list file.").arg(FileText(path));
        return false;
    }
    if (info.exists() && info.size() > kMaxListFileBytes) {
        *error = QStringLiteral("%1 was not read: it is %2 large, and a list file may hold at "
                                "most %3.")
                     .arg(FileText(path), SizeText(info.size()), SizeText(kMaxListFileBytes));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("%1 could not be read: %2.").arg(FileText(path), file.errorString());
        return false;
    }
    // A file that grows while it is read is cut at the limit and refused below.
    const QByteArray bytes = file.read(kMaxListFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *error =
            QStringLiteral("%1 could not be read: %2.").arg(FileText(path), file.errorString());
        return false;
    }
    if (bytes.size() > kMaxListFileBytes) {
        *error = QStringLiteral("%1 was not read: it is larger than %2, the most a list file may "
                                "hold.")
                     .arg(FileText(path), SizeText(kMaxListFileBytes));
        return false;
    }
    return ParseListBytes(bytes, path, content, error);
}

bool ParseListBytes(const QByteArray& bytes, const QString& path, ListFileContent* content,
                    QString* error) {
    *content = ListFileContent();
    auto refuse = [&](const QString& reason) {
        *error = QStringLiteral("%1 was not imported: %2").arg(FileText(path), reason);
        *content = ListFileContent();
        return false;
    };
    const QString text = DecodeText(bytes, &content->notes);
    if (LooksBinary(text)) return refuse(QStringLiteral("it is not a text file."));
    const QStringList lines = SplitLines(text);
    const QString first = FirstContentLine(lines);
    if (first.isEmpty()) return refuse(QStringLiteral("it is empty."));

    const QString baseName = QFileInfo(path).completeBaseName();
    const QString suffix = QFileInfo(path).suffix().toLower();
    ReadList list;
    list.name = baseName;
    QString reason;
    bool ok = false;
    if (first.startsWith(QLatin1String("SkySafariObservingListVersion"), Qt::CaseInsensitive)) {
        content->format = QStringLiteral("skylist");
        ok = ParseSkyList(text, &list, &reason);
    } else if (first.startsWith(u'{') || first.startsWith(u'[')) {
        content->format = QStringLiteral("JSON");
        ok = ParseJsonLists(text.toUtf8(), &content->lists, &reason);
        for (ReadList& each : content->lists)
            if (each.name.isEmpty()) each.name = baseName;
    } else if (suffix == QLatin1String("csv") || suffix == QLatin1String("tsv") ||
               LooksLikeCsvHeader(first)) {
        content->format = QStringLiteral("CSV");
        ok = ParseCsvList(text, &list, &reason);
    } else {
        content->format = QStringLiteral("text");
        ok = ParseTextList(text, &list, &reason);
    }
    if (!ok) return refuse(reason);
    if (content->format != QLatin1String("JSON")) content->lists.push_back(std::move(list));
    return true;
}
