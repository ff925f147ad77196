#include "lists/keptlists.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

QString EntryKey(const QString& catalog, const QString& designation) {
    return catalog + u'|' + designation;
}

QString FileText(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

KeptEntry EntryFor(const ObjectStore& store, int index) {
    const CatalogObject& object = store.objects[size_t(index)];
    return {object.Catalog.TrimmedText(), object.Designation.TrimmedText()};
}

void ResolveKeptLists(const ObjectStore& store, KeptLists& kept) {
    QHash<QString, int> byKey;
    for (int i = int(store.objects.size()) - 1; i >= 0; --i) {
        const KeptEntry entry = EntryFor(store, i);
        if (!entry.catalog.isEmpty()) byKey.insert(EntryKey(entry.catalog, entry.designation), i);
    }
    for (KeptList& list : kept.lists) {
        list.objects.clear();
        for (const KeptEntry& entry : list.entries)
            list.objects.push_back(byKey.value(EntryKey(entry.catalog, entry.designation), -1));
    }
}

QString UniqueListName(const KeptLists& kept, const QString& name) {
    auto taken = [&](const QString& candidate) {
        for (const KeptList& list : kept.lists)
            if (list.name.compare(candidate, Qt::CaseInsensitive) == 0) return true;
        return false;
    };
    const QString base = name.simplified().isEmpty() ? QStringLiteral("List") : name.simplified();
    QString candidate = base;
    for (int n = 2; taken(candidate); ++n)
        candidate = QStringLiteral("%1 (%2)").arg(base).arg(n);
    return candidate;
}

QString KeptListsPath(const QString& userDataDir) {
    return userDataDir.isEmpty() ? QString()
                                 : QDir(userDataDir).filePath(QStringLiteral("lists.json"));
}

QByteArray KeptListsJson(const KeptLists& kept) {
    QJsonArray lists;
    for (const KeptList& list : kept.lists) {
        QJsonArray objects;
        for (const KeptEntry& entry : list.entries)
            objects.append(QJsonObject{{QStringLiteral("catalog"), entry.catalog},
                                       {QStringLiteral("designation"), entry.designation}});
        lists.append(
            QJsonObject{{QStringLiteral("name"), list.name}, {QStringLiteral("objects"), objects}});
    }
    const QJsonObject root{{QStringLiteral("zenitorLists"), 1},
                           {QStringLiteral("offered"), kept.offered},
                           {QStringLiteral("ticked"), kept.ticked},
                           {QStringLiteral("lists"), lists}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool ParseKeptLists(const QByteArray& json, KeptLists* kept, QString* error) {
    *kept = KeptLists();
    QJsonParseError parseError;
    const QJsonObject root = QJsonDocument::fromJson(json, &parseError).object();
    if (parseError.error != QJsonParseError::NoError ||
        root.value(QLatin1String("zenitorLists")).toInt() != 1) {
        *error = parseError.error != QJsonParseError::NoError
                     ? parseError.errorString() + QStringLiteral(" at character ") +
                           QString::number(parseError.offset)
                     : QStringLiteral("not a file of kept lists");
        return false;
    }
    for (const QJsonValue& value : root.value(QLatin1String("lists")).toArray()) {
        const QJsonObject object = value.toObject();
        KeptList list;
        list.name = object.value(QLatin1String("name")).toString();
        for (const QJsonValue& item : object.value(QLatin1String("objects")).toArray()) {
            const QJsonObject entry = item.toObject();
            list.entries.push_back({entry.value(QLatin1String("catalog")).toString(),
                                    entry.value(QLatin1String("designation")).toString()});
        }
        if (!list.name.isEmpty()) kept->lists.push_back(std::move(list));
    }
    kept->offered = root.value(QLatin1String("offered")).toInt(-1);
    if (kept->offered >= int(kept->lists.size())) kept->offered = kept->lists.empty() ? -1 : 0;
    kept->ticked = root.value(QLatin1String("ticked")).toBool() && kept->offered >= 0;
    return true;
}

bool ReadKeptLists(const QString& path, KeptLists* kept, QString* error) {
    *kept = KeptLists();
    if (path.isEmpty() || !QFileInfo::exists(path)) return true;
    QFile file(path);
    QString reason;
    if (!file.open(QIODevice::ReadOnly))
        reason = file.errorString();
    else if (ParseKeptLists(file.readAll(), kept, &reason))
        return true;
    *error =
        QStringLiteral("The kept lists in %1 could not be read: %2.").arg(FileText(path), reason);
    return false;
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("%1 could not be written: its folder %2 could not be created.")
                     .arg(FileText(path), FileText(folder));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error =
            QStringLiteral("%1 could not be written: %2.").arg(FileText(path), file.errorString());
        return false;
    }
    return true;
}

bool WriteKeptLists(const QString& path, const KeptLists& kept, QString* error) {
    return WriteWholeFile(path, KeptListsJson(kept), error);
}
