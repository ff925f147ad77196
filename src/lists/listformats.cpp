#include "lists/listfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

// The .skylist, JSON and plain text parsers; CSV is in listcsv.cpp.

namespace {

// The text a report shows for an entry: its names joined, the designations first.
QString JoinedNames(const QStringList& names) {
    return names.join(QStringLiteral(" / "));
}

void AddName(QStringList* names, const QString& name) {
    const QString trimmed = name.simplified();
    if (!trimmed.isEmpty() && !names->contains(trimmed, Qt::CaseInsensitive))
        names->append(trimmed);
}

// An object of a JSON list: its designation and name, in that order.
ListLine JsonEntry(const QJsonObject& object, int number) {
    ListLine line;
    line.number = number;
    AddName(&line.names, object.value(QLatin1String("designation")).toString());
    AddName(&line.names, object.value(QLatin1String("name")).toString());
    line.text = JoinedNames(line.names);
    return line;
}

// The objects of one list, an array or a map of objects (whose keys sort, so a map's order is
// that of its keys).
std::vector<ListLine> JsonEntries(const QJsonValue& objects) {
    std::vector<ListLine> lines;
    QJsonArray array = objects.toArray();
    if (objects.isObject())
        for (const QJsonValue& value : objects.toObject())
            array.append(value);
    int number = 0;
    for (const QJsonValue& value : array) {
        ++number;
        if (value.isObject())
            lines.push_back(JsonEntry(value.toObject(), number));
        else if (value.isString())
            lines.push_back(JsonEntry(QJsonObject{{QStringLiteral("designation"), value}}, number));
        else
            lines.push_back(ListLine{number, QStringLiteral("(not an object)"), {}, {}});
    }
    return lines;
}

} // namespace

bool ParseSkyList(const QString& text, ReadList* list, QString* reason) {
    const QStringList lines = SplitLines(text);
    bool inObject = false;
    ListLine entry;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const qsizetype equals = line.indexOf(u'=');
        const QString key = line.left(equals).trimmed();
        const QString value = equals < 0 ? QString() : line.mid(equals + 1).trimmed();
        if (line == QLatin1String("SkyObject=BeginObject")) {
            inObject = true;
            entry = ListLine();
            entry.number = i + 1;
        } else if (line == QLatin1String("EndObject=SkyObject") && inObject) {
            inObject = false;
            entry.text = entry.names.isEmpty() ? QStringLiteral("(an object without a name)")
                                               : JoinedNames(entry.names);
            list->lines.push_back(entry);
        } else if (inObject && key == QLatin1String("CatalogNumber")) {
            AddName(&entry.names, value);
        } else if (inObject && key == QLatin1String("CommonName")) {
            AddName(&entry.names, value);
        }
    }
    if (list->lines.empty()) {
        *reason = QStringLiteral("it holds no object (no block from \"SkyObject=BeginObject\" to "
                                 "\"EndObject=SkyObject\").");
        return false;
    }
    return true;
}

bool ParseJsonLists(const QByteArray& utf8, std::vector<ReadList>* lists, QString* reason) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(utf8, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *reason = QStringLiteral("it is not valid JSON (%1 at character %2).")
                      .arg(parseError.errorString())
                      .arg(parseError.offset);
        return false;
    }
    const QJsonObject root = document.object();
    const QJsonObject observingLists = root.value(QLatin1String("observingLists")).toObject();
    for (auto it = observingLists.begin(); it != observingLists.end(); ++it) {
        const QJsonObject object = it.value().toObject();
        ReadList list;
        list.numberWord = QStringLiteral("entry");
        list.name = object.value(QLatin1String("name")).toString().simplified();
        if (list.name.isEmpty()) list.name = it.key().simplified();
        list.lines = JsonEntries(object.value(QLatin1String("objects")));
        lists->push_back(std::move(list));
    }
    const QJsonValue bookmarks = root.value(QLatin1String("bookmarks"));
    if (bookmarks.isObject() || bookmarks.isArray()) {
        ReadList list;
        list.numberWord = QStringLiteral("entry");
        list.name = QStringLiteral("Bookmarks");
        list.lines = JsonEntries(bookmarks);
        lists->push_back(std::move(list));
    }
    if (lists->empty()) {
        *reason = QStringLiteral("it is JSON but holds no observing list (neither "
                                 "\"observingLists\" nor \"bookmarks\").");
        return false;
    }
    size_t entries = 0;
    for (const ReadList& list : *lists)
        entries += list.lines.size();
    if (entries == 0) {
        *reason = QStringLiteral("its lists hold no object.");
        lists->clear();
        return false;
    }
    return true;
}

bool ParseTextList(const QString& text, ReadList* list, QString* reason) {
    const QStringList lines = SplitLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = lines[i].section(u'#', 0, 0).simplified();
        if (name.isEmpty()) continue;
        ListLine line;
        line.number = i + 1;
        line.text = name;
        // "M 31 / NGC 224" names one object twice.
        for (const QString& part : name.split(u'/'))
            AddName(&line.names, part);
        list->lines.push_back(line);
    }
    if (list->lines.empty()) {
        *reason = QStringLiteral("it holds only comments and blank lines.");
        return false;
    }
    return true;
}
