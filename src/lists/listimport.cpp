#include "lists/listimport.h"

#include "lists/listfile.h"
#include "lists/objectmatcher.h"

#include <QDir>

ListImportResult ImportListFile(const QString& path, const ObjectStore& store, KeptLists& kept) {
    ListImportResult result;
    ListFileContent content;
    if (!ReadListFile(path, &content, &result.error)) return result;
    result.ok = true;
    result.format = content.format;
    result.notes = content.notes;

    const ObjectMatcher matcher(store);
    for (const ReadList& read : content.lists) {
        ListImportReport report;
        KeptList list;
        for (const ListLine& line : read.lines) {
            ++report.lines;
            QString why;
            const int index = matcher.Match(line, &why);
            if (index >= 0) {
                ++report.matched;
                list.entries.push_back(EntryFor(store, index));
                list.objects.push_back(index);
                continue;
            }
            QString text =
                QStringLiteral("%1 %2: %3").arg(read.numberWord).arg(line.number).arg(line.text);
            if (!why.isEmpty()) text += QStringLiteral(" (") + why + u')';
            report.unmatched.append(text);
        }
        report.name = UniqueListName(kept, read.name);
        report.kept = report.matched > 0;
        if (report.kept) {
            list.name = report.name;
            kept.lists.push_back(std::move(list));
            if (result.lists.empty() || !result.lists.front().kept)
                kept.offered = int(kept.lists.size()) - 1;
        }
        result.lists.push_back(report);
    }
    return result;
}

QString ImportReportText(const QString& path, const ListImportResult& result) {
    if (!result.ok) return result.error;
    QStringList out;
    out << QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(path), result.format);
    out += result.notes;
    for (const ListImportReport& report : result.lists) {
        out << QString();
        const QString counts =
            QStringLiteral("%1 of %2 lines matched").arg(report.matched).arg(report.lines);
        out << (report.kept
                    ? QStringLiteral("\"%1\": %2; kept as \"%1\".").arg(report.name, counts)
                    : QStringLiteral("\"%1\": %2; nothing to keep.").arg(report.name, counts));
        if (!report.unmatched.isEmpty()) {
            out << QStringLiteral("Not matched:");
            for (const QString& line : report.unmatched)
                out << QStringLiteral("  ") + line;
        }
    }
    return out.join(u'\n');
}
